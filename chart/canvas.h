// The drawing surface every chart picture goes through: pens, brushes, fonts, text and
// bitmaps with the classic raster conventions the chart's pixel rules assume.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorelin {

using Colour = uint32_t;  // 0x00BBGGRR

enum class PenStyle { kSolid, kDash, kDot, kDashDot, kDashDotDot };

struct Pen {
  Colour colour = 0xFFFFFF;
  int width = 1;  // 1 … 9
  PenStyle style = PenStyle::kSolid;
};

struct Brush {
  Colour colour = 0;
  bool hollow = false;  // outlines only, nothing filled
};

struct Font {
  std::string family = "WenQuanYi Micro Hei";
  int height = 12;  // character height in pixels
  bool underline = false;
  bool bold = false;
};

struct Point {
  int x = 0;
  int y = 0;
};

struct Size {
  int width = 0;
  int height = 0;
};

// A picture in memory, three bytes per pixel in blue-green-red order, rows top to bottom.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bgr;
};

// Lines do not paint their end point; Rectangle, Ellipse and FillRect cover the box from
// (left, top) up to but excluding (right, bottom).
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  virtual void SetPen(const Pen& pen) = 0;
  virtual void SetBrush(const Brush& brush) = 0;
  virtual void SetFont(const Font& font) = 0;
  virtual const Font& CurrentFont() const = 0;
  virtual void SetTextColour(Colour colour) = 0;
  // Opaque text paints its box in `background` first; transparent text leaves it.
  virtual void SetTextBackground(bool opaque, Colour background) = 0;

  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void FillRect(int left, int top, int right, int bottom, Colour colour) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  // The arc of the ellipse in the box, counter-clockwise from the ray towards (x1, y1) to
  // the ray towards (x2, y2).
  virtual void Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) = 0;
  virtual void Polygon(const std::vector<Point>& points) = 0;
  virtual void SetPixel(int x, int y, Colour colour) = 0;
  virtual Colour GetPixel(int x, int y) const = 0;

  // Text with its top-left corner at (x, y).
  virtual void TextOut(int x, int y, const std::string& utf8) = 0;
  virtual Size TextExtent(const std::string& utf8) const = 0;

  // A new off-screen bitmap of the same kind, filled black, or fully transparent.
  virtual std::unique_ptr<Canvas> CreateBitmap(int width, int height, bool transparent = false) const = 0;
  // Copies `source` with its top-left at (x, y); transparent source pixels leave the target.
  virtual void Draw(int x, int y, const Canvas& source) = 0;
  // A canvas that draws straight into the box (0, top) … (width, top + height) of this one,
  // clipped to it and with its own origin at the box's corner; its pixels start as this
  // canvas has them. Null for canvases that have none: draw into a bitmap and Draw it.
  virtual std::unique_ptr<Canvas> Band(int top, int width, int height) {
    (void)top, (void)width, (void)height;
    return nullptr;
  }
  // Scales `source` over the box (left, top) … (right, bottom), right and bottom excluded.
  virtual void StretchDraw(int left, int top, int right, int bottom, const Canvas& source) = 0;

  virtual RgbImage ReadPixels() const = 0;
};

inline constexpr Colour Rgb(int red, int green, int blue) {
  return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
inline constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
inline constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
inline constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }
inline constexpr Colour InvertColour(Colour c) { return ~c & 0xFFFFFF; }

}  // namespace vorelin
