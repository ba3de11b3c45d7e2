// The chart's drawing surface over a QImage, painted with QPainter: what the app shows, the
// renderer writes and the image tests inspect.
#pragma once

#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "chart/canvas.h"

namespace vorelin {

class QtCanvas final : public Canvas {
 public:
  // A QGuiApplication must exist before text is drawn or measured.
  QtCanvas(int width, int height, bool transparent = false);
  // Paints into `view`, an image over memory that stays owned elsewhere.
  explicit QtCanvas(QImage view);
  ~QtCanvas() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void SetPen(const Pen& pen) override;
  void SetBrush(const Brush& brush) override;
  void SetFont(const Font& font) override;
  const Font& CurrentFont() const override { return font_; }
  void SetTextColour(Colour colour) override { text_colour_ = colour; }
  void SetTextBackground(bool opaque, Colour background) override;

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void FillRect(int left, int top, int right, int bottom, Colour colour) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) override;
  void Polygon(const std::vector<Point>& points) override;
  void SetPixel(int x, int y, Colour colour) override;
  Colour GetPixel(int x, int y) const override;

  void TextOut(int x, int y, const std::string& utf8) override;
  Size TextExtent(const std::string& utf8) const override;

  std::unique_ptr<Canvas> CreateBitmap(int width, int height, bool transparent = false) const override;
  void Draw(int x, int y, const Canvas& source) override;
  std::unique_ptr<Canvas> Band(int top, int width, int height) override;
  void StretchDraw(int left, int top, int right, int bottom, const Canvas& source) override;

  RgbImage ReadPixels() const override;
  const QImage& Image() const { return image_; }
  // Writes the picture as a PNG file; false when it can not be written.
  bool SavePng(const std::string& path) const;

 private:
  void ApplyPen(QPainter& painter) const;
  void ApplyBrush(QPainter& painter) const;
  QFont QtFont() const;
  void PutPixel(int x, int y, QRgb colour);
  static const std::vector<int>& DashPattern(PenStyle style);

  QImage image_;
  std::unique_ptr<QPainter> painter_;
  QRgb* pixels_ = nullptr;  // the image's own memory, written by the one-pixel paths
  int stride_ = 0;
  // The image's size, kept here: asking the image costs a call for every pixel.
  int width_ = 0;
  int height_ = 0;
  Pen pen_;
  Brush brush_;
  Font font_;
  Colour text_colour_ = 0xFFFFFF;
  bool text_opaque_ = false;
  Colour text_background_ = 0;
  Point position_;
};

}  // namespace vorelin
