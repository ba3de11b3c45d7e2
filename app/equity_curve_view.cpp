#include "app/equity_curve_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "app/nice_scale.h"

namespace vorelin {
namespace {

const QColor kBackground(0xFB, 0xFC, 0xFE);
const QColor kPlotBackground(0xFF, 0xFF, 0xFF);
const QColor kFrame(0xB8, 0xC0, 0xCC);
const QColor kGrid(0xE6, 0xE9, 0xEF);
const QColor kAxisText(0x50, 0x58, 0x66);
const QColor kLine(0x1F, 0x6F, 0xC5);
const QColor kStartLine(0xD0, 0x70, 0x20);

constexpr int kTickLength = 4;
constexpr int kPadding = 12;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

EquityCurveView::EquityCurveView(QWidget* parent) : QWidget(parent) {
  setObjectName("chtEquity");
  setMinimumSize(400, 300);
}

void EquityCurveView::SetPoints(std::vector<EquityPoint> points) {
  std::stable_sort(points.begin(), points.end(),
                   [](const EquityPoint& a, const EquityPoint& b) { return a.sno < b.sno; });
  points_ = std::move(points);
  update();
}

// Where the plot lies in the widget and how values map onto it.
struct EquityCurveView::Frame {
  QRect plot;
  NiceScale x, y;
  int label_width = 0;

  double X(double sno) const { return plot.left() + (sno - x.low) / (x.high - x.low) * plot.width(); }
  double Y(double v) const { return plot.bottom() - (v - y.low) / (y.high - y.low) * plot.height(); }
};

EquityCurveView::Frame EquityCurveView::Layout(const QFontMetrics& metrics, int top) const {
  Frame f;
  auto [low, high] = std::minmax_element(
      points_.begin(), points_.end(),
      [](const EquityPoint& a, const EquityPoint& b) { return a.assets < b.assets; });
  const int plot_height = std::max(height() - top - metrics.height() - kTickLength - kPadding, 1);
  f.y = MakeNiceScale(low->assets, high->assets, std::clamp(plot_height / 45, 2, 10));
  for (double tick : f.y.Ticks())
    f.label_width = std::max(f.label_width, metrics.horizontalAdvance(Text(f.y.Label(tick))));
  const int left = kPadding + f.label_width + kTickLength + 4;
  f.plot = QRect(left, top, std::max(width() - kPadding * 2 - left, 1), plot_height);
  // Sequence-number labels are short; one every 70 pixels keeps them apart.
  f.x = MakeNiceScale(points_.front().sno, points_.back().sno, std::clamp(f.plot.width() / 70, 1, 12), 1);
  return f;
}

void EquityCurveView::PaintAxes(QPainter& painter, const Frame& f) const {
  const QFontMetrics metrics(font());
  const QRect& plot = f.plot;
  painter.fillRect(plot, kPlotBackground);
  painter.setPen(QPen(kGrid, 1));
  for (double tick : f.y.Ticks())
    painter.drawLine(QPointF(plot.left(), f.Y(tick)), QPointF(plot.right(), f.Y(tick)));
  for (double tick : f.x.Ticks())
    painter.drawLine(QPointF(f.X(tick), plot.top()), QPointF(f.X(tick), plot.bottom()));
  painter.setPen(QPen(kFrame, 1));
  painter.drawRect(plot);

  painter.setPen(kAxisText);
  for (double tick : f.y.Ticks()) {
    const double y = f.Y(tick);
    painter.drawLine(QPointF(plot.left() - kTickLength, y), QPointF(plot.left(), y));
    const QRectF box(kPadding, y - metrics.height() / 2.0, f.label_width, metrics.height());
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, Text(f.y.Label(tick)));
  }
  for (double tick : f.x.Ticks()) {
    const double x = f.X(tick);
    painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kTickLength));
    const QRectF box(x - 40, plot.bottom() + kTickLength + 2, 80, metrics.height());
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, Text(f.x.Label(tick)));
  }
}

void EquityCurveView::PaintLine(QPainter& painter, const Frame& f) const {
  // The first point is the starting capital: the line above or below it is the result.
  painter.setPen(QPen(kStartLine, 1, Qt::DashLine));
  const double start = f.Y(points_.front().assets);
  painter.drawLine(QPointF(f.plot.left(), start), QPointF(f.plot.right(), start));

  QPainterPath line;
  line.moveTo(f.X(points_.front().sno), f.Y(points_.front().assets));
  for (const EquityPoint& p : points_) line.lineTo(f.X(p.sno), f.Y(p.assets));
  painter.setPen(QPen(kLine, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(line);
}

void EquityCurveView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), kBackground);

  QFont title_font = font();
  title_font.setPointSizeF(font().pointSizeF() * 1.4);
  title_font.setBold(true);
  painter.setFont(title_font);
  painter.setPen(kAxisText.darker(140));
  const int title_height = QFontMetrics(title_font).height();
  painter.drawText(QRect(0, kPadding, width(), title_height), Qt::AlignCenter, kEquityTitle);

  painter.setFont(font());
  const int top = kPadding * 2 + title_height;
  if (points_.empty()) {
    painter.setPen(kAxisText);
    painter.drawText(rect().adjusted(0, top, 0, 0), Qt::AlignCenter, kNoEquityText);
    return;
  }
  const Frame frame = Layout(QFontMetrics(font()), top);
  PaintAxes(painter, frame);
  PaintLine(painter, frame);
}

}  // namespace vorelin
