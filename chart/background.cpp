// Gradient fills, channel by channel and rounded to the nearest integer.
#include "chart/background.h"

#include <algorithm>
#include <cmath>

namespace vorelin {
namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

// c1 - k × (c1 - c2) for each channel, rounded.
Colour Towards(Colour c1, Colour c2, double k) {
  return Rgb(Round(RedOf(c1) - k * (RedOf(c1) - RedOf(c2))),
             Round(GreenOf(c1) - k * (GreenOf(c1) - GreenOf(c2))),
             Round(BlueOf(c1) - k * (BlueOf(c1) - BlueOf(c2))));
}

void Column(Canvas& canvas, int x, int top, int bottom, Colour colour) {
  canvas.FillRect(x, top, x + 1, bottom, colour);
}

void Row(Canvas& canvas, int y, int left, int right, Colour colour) {
  canvas.FillRect(left, y, right, y + 1, colour);
}

void Diagonal(Canvas& canvas, Colour c1, Colour c2, bool mirror_x, bool mirror_y) {
  const int w = canvas.Width();
  const int h = canvas.Height();
  for (int y = 0; y < h; ++y) {
    const int yy = mirror_y ? h - 1 - y : y;
    for (int x = 0; x < w; ++x) {
      const int xx = mirror_x ? w - 1 - x : x;
      const double k = (static_cast<double>(xx) / w + static_cast<double>(yy) / h) / 2;
      canvas.SetPixel(x, y, Towards(c1, c2, k));
    }
  }
}

}  // namespace

void FillBackground(Canvas& canvas, Colour c1, Colour c2, BackStyle style) {
  const int w = canvas.Width();
  const int h = canvas.Height();
  switch (style) {
    case BackStyle::wNone:
      canvas.FillRect(0, 0, w, h, c1);
      return;
    case BackStyle::wLeft:
      for (int x = 0; x < w; ++x) Column(canvas, x, 0, h, Towards(c1, c2, static_cast<double>(x) / w));
      return;
    case BackStyle::wRight:
      for (int x = 0; x < w; ++x) Column(canvas, x, 0, h, Towards(c1, c2, static_cast<double>(w - x) / w));
      return;
    case BackStyle::wTop:
      for (int y = 0; y < h; ++y) Row(canvas, y, 0, w, Towards(c1, c2, static_cast<double>(y) / h));
      return;
    case BackStyle::wBottom:
      for (int y = 0; y < h; ++y) Row(canvas, y, 0, w, Towards(c1, c2, static_cast<double>(h - y) / h));
      return;
    case BackStyle::wLeftTop: Diagonal(canvas, c1, c2, false, false); return;
    case BackStyle::wLeftBottom: Diagonal(canvas, c1, c2, false, true); return;
    case BackStyle::wRightTop: Diagonal(canvas, c1, c2, true, false); return;
    case BackStyle::wRightBottom: Diagonal(canvas, c1, c2, true, true); return;
    case BackStyle::wCenter: {
      const int mid_x = Round(w / 2.0);
      for (int x = 0; x <= mid_x; ++x) {
        const int k = Round(static_cast<double>(x) * h / w);
        const Colour c = Towards(c1, c2, (w / 2.0 - x) / (w / 2.0));
        Column(canvas, x, k, h - k, c);
        Column(canvas, w - x - 1, k, h - k, c);
      }
      const int mid_y = Round(h / 2.0);
      for (int y = 0; y <= mid_y; ++y) {
        const int k = Round(static_cast<double>(y) * w / h);
        const Colour c = Towards(c1, c2, (h / 2.0 - y) / (h / 2.0));
        Row(canvas, y, k, w - k, c);
        Row(canvas, h - y - 1, k, w - k, c);
      }
      return;
    }
  }
}

std::unique_ptr<Canvas> MakeGradientStamp(const Canvas& like, int width, int height, Colour colour) {
  auto stamp = like.CreateBitmap(width > 0 ? width : 1, height > 0 ? height : 1);
  FillBackground(*stamp, colour, 0, BackStyle::wLeft);
  return stamp;
}

void DrawBar3d(Canvas& canvas, int left, int top, int right, int bottom, Colour colour, bool bar3d) {
  const int unmoved_bottom = bottom;
  if (bottom == top) top -= 2;
  if (bar3d && right - left > 1) {
    auto stamp = MakeGradientStamp(canvas, right - left, 1, colour);
    canvas.StretchDraw(left, top, right, bottom, *stamp);
    canvas.SetPen({colour, 1, PenStyle::kSolid});
    canvas.MoveTo(left, unmoved_bottom);
    canvas.LineTo(right - 1, unmoved_bottom);
  } else {
    canvas.FillRect(std::min(left, right), std::min(top, bottom), std::max(left, right),
                    std::max(top, bottom), colour);
  }
}

}  // namespace vorelin
