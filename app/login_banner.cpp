#include "app/login_banner.h"

#include "app/startup.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <iterator>

namespace vorelin {
namespace {

// A made-up rising stretch of bars, prices in 0..1 of the motif's height.
struct Candle {
  double open, close, high, low;
};
constexpr Candle kCandles[] = {
    {0.30, 0.22, 0.34, 0.18}, {0.22, 0.28, 0.31, 0.20}, {0.28, 0.36, 0.39, 0.26},
    {0.36, 0.32, 0.40, 0.29}, {0.32, 0.41, 0.44, 0.30}, {0.41, 0.47, 0.52, 0.39},
    {0.47, 0.43, 0.50, 0.40}, {0.43, 0.52, 0.55, 0.42}, {0.52, 0.60, 0.64, 0.50},
    {0.60, 0.56, 0.63, 0.53}, {0.56, 0.66, 0.70, 0.55}, {0.66, 0.74, 0.79, 0.64},
    {0.74, 0.70, 0.77, 0.67}, {0.70, 0.82, 0.86, 0.69},
};
constexpr int kCandleStep = 15;
constexpr int kCandleWidth = 9;
constexpr int kMotifWidth = static_cast<int>(std::size(kCandles)) * kCandleStep;
constexpr int kMargin = 22;
constexpr int kHeight = 100;

QFont TitleFont(const QFont& base) {
  QFont font = base;
  font.setPointSize(17);
  font.setBold(true);
  return font;
}

// Rising bars red, falling bars green, as Chinese quote screens draw them.
void DrawMotif(QPainter& painter, const QRectF& area) {
  const QColor up(232, 76, 61), down(46, 204, 113);
  auto y = [&](double price) { return area.bottom() - price * area.height(); };
  QPainterPath average;
  for (size_t i = 0; i < std::size(kCandles); ++i) {
    const Candle& c = kCandles[i];
    const double x = area.left() + static_cast<double>(i) * kCandleStep;
    const double middle = x + kCandleWidth / 2.0;
    const QColor colour = c.close >= c.open ? up : down;
    painter.setPen(QPen(colour, 1));
    painter.drawLine(QPointF(middle, y(c.high)), QPointF(middle, y(c.low)));
    const double top = y(std::max(c.open, c.close)), bottom = y(std::min(c.open, c.close));
    painter.fillRect(QRectF(x, top, kCandleWidth, std::max(bottom - top, 1.5)), colour);
    const QPointF point(middle, y((c.open + c.close) / 2.0 - 0.04));
    if (i == 0)
      average.moveTo(point);
    else
      average.lineTo(point);
  }
  painter.setPen(QPen(QColor(241, 196, 15, 220), 1.6));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(average);
}

}  // namespace

LoginBanner::LoginBanner(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize LoginBanner::sizeHint() const {
  const int title = QFontMetrics(TitleFont(font())).horizontalAdvance(QString::fromUtf8(kApplicationTitle));
  return QSize(kMargin + title + kMargin + kMotifWidth + kMargin, kHeight);
}

void LoginBanner::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0, QColor(16, 42, 78));
  sky.setColorAt(1, QColor(28, 72, 120));
  painter.fillRect(rect(), sky);
  // Faint price grid behind the motif.
  painter.setPen(QPen(QColor(255, 255, 255, 28), 1));
  for (int y = height() / 4; y < height(); y += height() / 4) painter.drawLine(0, y, width(), y);

  const QRectF motif(width() - kMargin - kMotifWidth, 8, kMotifWidth, height() - 14);
  DrawMotif(painter, motif);

  painter.setFont(TitleFont(font()));
  painter.setPen(Qt::white);
  const QRect title(kMargin, 0, static_cast<int>(motif.left()) - 2 * kMargin, height());
  painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(kApplicationTitle));
  // An accent under the banner, so it reads as a header over the form.
  painter.fillRect(QRect(0, height() - 3, width(), 3), QColor(232, 76, 61));
}

}  // namespace vorelin
