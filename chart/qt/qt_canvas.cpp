// QtCanvas: GDI-like raster rules on top of QPainter (end points left out, boxes exclusive
// of their right and bottom edges, no antialiasing).
#include "chart/qt/qt_canvas.h"

#include <QFontMetrics>
#include <QPolygon>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace vorelin {
namespace {

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

Qt::PenStyle ToQtStyle(PenStyle style) {
  switch (style) {
    case PenStyle::kDash: return Qt::DashLine;
    case PenStyle::kDot: return Qt::DotLine;
    case PenStyle::kDashDot: return Qt::DashDotLine;
    case PenStyle::kDashDotDot: return Qt::DashDotDotLine;
    case PenStyle::kSolid: break;
  }
  return Qt::SolidLine;
}

// Angle in degrees, counter-clockwise from 3 o'clock, of the ray from the centre to (x, y).
double RayAngle(double cx, double cy, int x, int y) {
  return std::atan2(-(y - cy), x - cx) * 180.0 / std::numbers::pi;
}

}  // namespace

QtCanvas::QtCanvas(int width, int height, bool transparent)
    : image_(width > 0 ? width : 1, height > 0 ? height : 1,
             transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32) {
  image_.fill(transparent ? QColor(0, 0, 0, 0) : QColor(0, 0, 0));
  painter_ = std::make_unique<QPainter>(&image_);
  pixels_ = reinterpret_cast<QRgb*>(image_.bits());
  stride_ = static_cast<int>(image_.bytesPerLine() / 4);
  width_ = image_.width();
  height_ = image_.height();
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::TextAntialiasing, true);
}

QtCanvas::QtCanvas(QImage view) : image_(std::move(view)) {
  painter_ = std::make_unique<QPainter>(&image_);
  pixels_ = reinterpret_cast<QRgb*>(image_.bits());
  stride_ = static_cast<int>(image_.bytesPerLine() / 4);
  width_ = image_.width();
  height_ = image_.height();
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::TextAntialiasing, true);
}

QtCanvas::~QtCanvas() { painter_->end(); }

void QtCanvas::SetPen(const Pen& pen) {
  pen_ = pen;
  if (pen_.width < 1) pen_.width = 1;
  if (pen_.width > 9) pen_.width = 9;
}

void QtCanvas::SetBrush(const Brush& brush) { brush_ = brush; }
void QtCanvas::SetFont(const Font& font) { font_ = font; }

void QtCanvas::SetTextBackground(bool opaque, Colour background) {
  text_opaque_ = opaque;
  text_background_ = background;
}

void QtCanvas::ApplyPen(QPainter& painter) const {
  QPen qpen(ToQColor(pen_.colour));
  qpen.setStyle(ToQtStyle(pen_.style));
  if (pen_.width <= 1) {
    qpen.setWidth(1);
    qpen.setCapStyle(Qt::FlatCap);
  } else {
    qpen.setWidth(pen_.width);
    qpen.setCapStyle(Qt::RoundCap);
    qpen.setJoinStyle(Qt::RoundJoin);
  }
  painter.setPen(qpen);
}

void QtCanvas::ApplyBrush(QPainter& painter) const {
  if (brush_.hollow) {
    painter.setBrush(Qt::NoBrush);
  } else {
    painter.setBrush(ToQColor(brush_.colour));
  }
}

QFont QtCanvas::QtFont() const {
  QFont font(QString::fromStdString(font_.family));
  font.setPixelSize(font_.height > 0 ? font_.height : 1);
  font.setUnderline(font_.underline);
  font.setBold(font_.bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

void QtCanvas::MoveTo(int x, int y) { position_ = {x, y}; }

void QtCanvas::LineTo(int x, int y) {
  const Point from = position_;
  position_ = {x, y};
  if (from.x == x && from.y == y) return;
  const int w = width_;
  const int h = height_;
  auto far = [w, h](int px, int py) { return px < -w || px > 2 * w || py < -h || py > 2 * h; };
  if (pen_.width > 1 || far(from.x, from.y) || far(x, y)) {
    // Wide pens, and lines reaching far off the bitmap, which QPainter clips cheaply.
    ApplyPen(*painter_);
    painter_->drawLine(from.x, from.y, x, y);
    return;
  }
  // One-pixel lines are stepped here so that every pixel is the raster rule's: the start
  // point painted, the end point left out, dashes counted in pixels.
  const std::vector<int>& pattern = DashPattern(pen_.style);
  const QRgb colour = qRgb(RedOf(pen_.colour), GreenOf(pen_.colour), BlueOf(pen_.colour));
  const int dx = std::abs(x - from.x);
  const int dy = -std::abs(y - from.y);
  const int sx = from.x < x ? 1 : -1;
  const int sy = from.y < y ? 1 : -1;
  int error = dx + dy;
  int px = from.x;
  int py = from.y;
  size_t piece = 0;
  int left_in_piece = pattern.empty() ? 0 : pattern[0];
  while (px != x || py != y) {
    if (pattern.empty() || piece % 2 == 0) PutPixel(px, py, colour);
    if (!pattern.empty() && --left_in_piece == 0) {
      piece = (piece + 1) % pattern.size();
      left_in_piece = pattern[piece];
    }
    const int e2 = 2 * error;
    if (e2 >= dy) {
      error += dy;
      px += sx;
    }
    if (e2 <= dx) {
      error += dx;
      py += sy;
    }
  }
}

void QtCanvas::PutPixel(int x, int y, QRgb colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * stride_ + x] = colour;
}

const std::vector<int>& QtCanvas::DashPattern(PenStyle style) {
  static const std::vector<int> kSolid;
  static const std::vector<int> kDash = {18, 6};
  static const std::vector<int> kDot = {3, 3};
  static const std::vector<int> kDashDot = {9, 6, 3, 6};
  static const std::vector<int> kDashDotDot = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case PenStyle::kDash: return kDash;
    case PenStyle::kDot: return kDot;
    case PenStyle::kDashDot: return kDashDot;
    case PenStyle::kDashDotDot: return kDashDotDot;
    case PenStyle::kSolid: break;
  }
  return kSolid;
}

void QtCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right - left < 1 || bottom - top < 1) return;
  if (!brush_.hollow) {
    painter_->fillRect(left, top, right - left, bottom - top, ToQColor(brush_.colour));
  }
  ApplyPen(*painter_);
  painter_->setBrush(Qt::NoBrush);
  if (right - left == 1 || bottom - top == 1) {
    painter_->drawLine(left, top, right - 1, bottom - 1);
  } else {
    painter_->drawRect(left, top, right - left - 1, bottom - top - 1);
  }
}

void QtCanvas::FillRect(int left, int top, int right, int bottom, Colour colour) {
  if (right <= left || bottom <= top) return;
  painter_->fillRect(left, top, right - left, bottom - top, ToQColor(colour));
}

void QtCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right - left < 1 || bottom - top < 1) return;
  ApplyPen(*painter_);
  ApplyBrush(*painter_);
  painter_->drawEllipse(left, top, right - left - 1, bottom - top - 1);
}

void QtCanvas::Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
  const double cx = (left + right) / 2.0;
  const double cy = (top + bottom) / 2.0;
  const double start = RayAngle(cx, cy, x1, y1);
  double span = RayAngle(cx, cy, x2, y2) - start;
  while (span <= 0) span += 360.0;
  ApplyPen(*painter_);
  painter_->setBrush(Qt::NoBrush);
  painter_->drawArc(left, top, right - left - 1, bottom - top - 1, static_cast<int>(start * 16),
                    static_cast<int>(span * 16));
}

void QtCanvas::Polygon(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  QPolygon polygon;
  for (const Point& p : points) polygon << QPoint(p.x, p.y);
  ApplyPen(*painter_);
  ApplyBrush(*painter_);
  painter_->drawPolygon(polygon, Qt::OddEvenFill);
}

void QtCanvas::SetPixel(int x, int y, Colour colour) {
  PutPixel(x, y, qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour)));
}

Colour QtCanvas::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return 0;
  const QRgb rgb = image_.pixel(x, y);
  return Rgb(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

void QtCanvas::TextOut(int x, int y, const std::string& utf8) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  const QFont font = QtFont();
  const QFontMetrics metrics(font);
  if (text_opaque_) {
    painter_->fillRect(x, y, metrics.horizontalAdvance(text), metrics.height(),
                       ToQColor(text_background_));
  }
  painter_->setFont(font);
  painter_->setPen(ToQColor(text_colour_));
  painter_->drawText(x, y + metrics.ascent(), text);
}

Size QtCanvas::TextExtent(const std::string& utf8) const {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  const QFontMetrics metrics(QtFont());
  return {metrics.horizontalAdvance(text), metrics.height()};
}

std::unique_ptr<Canvas> QtCanvas::CreateBitmap(int width, int height, bool transparent) const {
  auto bitmap = std::make_unique<QtCanvas>(width, height, transparent);
  bitmap->SetFont(font_);
  return bitmap;
}

std::unique_ptr<Canvas> QtCanvas::Band(int top, int width, int height) {
  if (top < 0 || width <= 0 || height <= 0 || width > image_.width() ||
      top + height > image_.height()) {
    return nullptr;
  }
  // The rows of this image, read and written in place: no copy, no second fill.
  QImage view(image_.scanLine(top), width, height, image_.bytesPerLine(), image_.format());
  auto band = std::make_unique<QtCanvas>(std::move(view));
  band->SetFont(font_);
  return band;
}

void QtCanvas::Draw(int x, int y, const Canvas& source) {
  const auto* qt_source = dynamic_cast<const QtCanvas*>(&source);
  if (qt_source == nullptr) return;
  painter_->drawImage(x, y, qt_source->image_);
}

void QtCanvas::StretchDraw(int left, int top, int right, int bottom, const Canvas& source) {
  const auto* qt_source = dynamic_cast<const QtCanvas*>(&source);
  if (qt_source == nullptr) return;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right == left || bottom == top) return;
  painter_->drawImage(QRect(left, top, right - left, bottom - top), qt_source->image_);
}

bool QtCanvas::SavePng(const std::string& path) const {
  return image_.save(QString::fromStdString(path), "PNG");
}

RgbImage QtCanvas::ReadPixels() const {
  RgbImage out;
  out.width = image_.width();
  out.height = image_.height();
  out.bgr.resize(static_cast<size_t>(out.width) * out.height * 3);
  size_t k = 0;
  for (int y = 0; y < out.height; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
    for (int x = 0; x < out.width; ++x) {
      out.bgr[k++] = static_cast<uint8_t>(qBlue(row[x]));
      out.bgr[k++] = static_cast<uint8_t>(qGreen(row[x]));
      out.bgr[k++] = static_cast<uint8_t>(qRed(row[x]));
    }
  }
  return out;
}

}  // namespace vorelin
