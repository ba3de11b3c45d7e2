// A canvas that writes every call as one text line, with fixed text metrics (ASCII 6 px,
// other characters 12 px wide, height = font height), so drawing tests compare geometry.
#pragma once

#include <string>
#include <vector>

#include "chart/canvas.h"

namespace vorelin::testing {

class RecordingCanvas final : public Canvas {
 public:
  RecordingCanvas(int width, int height);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrush(const Brush& brush) override { brush_ = brush; }
  void SetFont(const Font& font) override { font_ = font; }
  const Font& CurrentFont() const override { return font_; }
  void SetTextColour(Colour colour) override { text_colour_ = colour; }
  void SetTextBackground(bool opaque, Colour background) override {
    opaque_ = opaque;
    text_background_ = background;
  }
  void MoveTo(int x, int y) override { position_ = {x, y}; }
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
  void StretchDraw(int left, int top, int right, int bottom, const Canvas& source) override;
  RgbImage ReadPixels() const override;

  const std::vector<std::string>& Log() const { return log_; }
  void ClearLog() {
    log_.clear();
    drawn_.clear();
  }
  // Lines of the log that start with `prefix`.
  std::vector<std::string> Lines(const std::string& prefix) const;
  bool Has(const std::string& line) const;
  std::string Dump() const;
  // The logs of the bitmaps drawn onto this canvas with Draw, in drawing order.
  const std::vector<std::vector<std::string>>& DrawnLogs() const { return drawn_; }
  // Set when this canvas is a bitmap made by CreateBitmap: its first fill colour.
  Colour first_fill = 0;
  // When set, every text any recording canvas writes is added here too (the chart draws its
  // panes on bitmaps of their own).
  static std::vector<std::string>* text_sink;

 private:
  std::string PenText() const;
  std::string BrushText() const;

  int width_;
  int height_;
  Pen pen_;
  Brush brush_;
  Font font_;
  Colour text_colour_ = 0xFFFFFF;
  bool opaque_ = false;
  Colour text_background_ = 0;
  Point position_;
  std::vector<Colour> pixels_;
  std::vector<std::string> log_;
  std::vector<std::vector<std::string>> drawn_;
  bool filled_ = false;
};

// 0x00BBGGRR as "0xBBGGRR".
std::string Hex(Colour c);

}  // namespace vorelin::testing
