#include "app/chart_widget.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include "chart/qt/qt_canvas.h"

namespace vorelin {

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent), chart_(400, 300, this) {
  setObjectName("gp1");
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(320, 240);
}

void ChartWidget::ShowBuffer(const Canvas&) { update(); }

void ChartWidget::SetPointer(PointerShape shape) {
  switch (shape) {
    case PointerShape::kVerticalSplit: setCursor(Qt::SplitHCursor); break;
    case PointerShape::kHorizontalSplit: setCursor(Qt::SplitVCursor); break;
    case PointerShape::kDefault: unsetCursor(); break;
  }
}

bool ChartWidget::PutOnClipboard(const RgbImage& image) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr || image.width <= 0 || image.height <= 0) return false;
  QImage picture(image.bgr.data(), image.width, image.height, image.width * 3, QImage::Format_BGR888);
  clipboard->setImage(picture.copy());
  return true;
}

void ChartWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const auto* buffer = dynamic_cast<const QtCanvas*>(Chart().BackBuffer());
  if (buffer == nullptr) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  painter.drawImage(0, 0, buffer->Image());
}

void ChartWidget::resizeEvent(QResizeEvent*) { Chart().Resize(width(), height()); }

void ChartWidget::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: emit NextBarRequested(); return;
    case Qt::Key_F2: emit BuyRequested(); return;
    case Qt::Key_F3: emit SellRequested(); return;
    case Qt::Key_F5: emit IntradayToggleRequested(); return;
    case Qt::Key_Space: emit TickToggleRequested(); return;
    default: QWidget::keyPressEvent(event);
  }
}

}  // namespace vorelin
