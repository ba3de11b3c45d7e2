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
const QColor kComparisonLine(0x90, 0x90, 0x98);

constexpr int kTickLength = 4;
constexpr int kPadding = 12;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

EquityCurveView::EquityCurveView(QWidget* parent)
    : QWidget(parent), title_(QString::fromUtf8(kEquityTitle)), empty_text_(QString::fromUtf8(kNoEquityText)) {
  setObjectName("chtEquity");
  setMinimumSize(400, 300);
}

void EquityCurveView::SetTitle(const QString& title, const QString& empty_text) {
  title_ = title;
  empty_text_ = empty_text;
  update();
}

void EquityCurveView::SetComparison(std::vector<EquityPoint> points, const QString& line_name,
                                    const QString& comparison_name) {
  comparison_ = std::move(points);
  line_name_ = line_name;
  comparison_name_ = comparison_name;
  update();
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
  auto by_assets = [](const EquityPoint& a, const EquityPoint& b) { return a.assets < b.assets; };
  auto [low, high] = std::minmax_element(points_.begin(), points_.end(), by_assets);
  double lowest = low->assets, highest = high->assets;
  if (!comparison_.empty()) {
    auto [c_low, c_high] = std::minmax_element(comparison_.begin(), comparison_.end(), by_assets);
    lowest = std::min(lowest, c_low->assets);
    highest = std::max(highest, c_high->assets);
  }
  const int plot_height = std::max(height() - top - metrics.height() - kTickLength - kPadding, 1);
  f.y = MakeNiceScale(lowest, highest, std::clamp(plot_height / 45, 2, 10));
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

void EquityCurveView::PaintComparison(QPainter& painter, const Frame& f) const {
  if (comparison_.empty()) return;
  QPainterPath line;
  line.moveTo(f.X(comparison_.front().sno), f.Y(comparison_.front().assets));
  for (const EquityPoint& p : comparison_) line.lineTo(f.X(p.sno), f.Y(p.assets));
  painter.setPen(QPen(kComparisonLine, 2, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(line);

  // The legend in the plot's top-left corner.
  const QFontMetrics metrics(font());
  const int row = metrics.height() + 2;
  const QPointF at(f.plot.left() + 10, f.plot.top() + 8);
  const std::pair<const QString*, QPen> entries[] = {
      {&line_name_, QPen(kLine, 2)}, {&comparison_name_, QPen(kComparisonLine, 2, Qt::DashLine)}};
  int width = 0;
  for (const auto& [name, pen] : entries) width = std::max(width, metrics.horizontalAdvance(*name));
  painter.fillRect(QRectF(at.x() - 4, at.y() - 2, width + 40, row * 2 + 4), QColor(255, 255, 255, 220));
  for (size_t i = 0; i < std::size(entries); ++i) {
    const double y = at.y() + row * static_cast<double>(i) + row / 2.0;
    painter.setPen(entries[i].second);
    painter.drawLine(QPointF(at.x(), y), QPointF(at.x() + 24, y));
    painter.setPen(kAxisText);
    painter.drawText(QRectF(at.x() + 30, y - row / 2.0, width + 4, row), Qt::AlignLeft | Qt::AlignVCenter,
                     *entries[i].first);
  }
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
  painter.drawText(QRect(0, kPadding, width(), title_height), Qt::AlignCenter, title_);

  painter.setFont(font());
  const int top = kPadding * 2 + title_height;
  if (points_.empty()) {
    painter.setPen(kAxisText);
    painter.drawText(rect().adjusted(0, top, 0, 0), Qt::AlignCenter, empty_text_);
    return;
  }
  const Frame frame = Layout(QFontMetrics(font()), top);
  PaintAxes(painter, frame);
  PaintComparison(painter, frame);
  PaintLine(painter, frame);
}

}  // namespace vorelin
