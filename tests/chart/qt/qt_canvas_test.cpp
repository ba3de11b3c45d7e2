// QtCanvas keeps the raster conventions the chart's pixel rules assume.
#include <gtest/gtest.h>

#include "chart/icons.h"
#include "chart/qt/qt_canvas.h"

namespace vorelin {
namespace {

constexpr Colour kRed = 0x0000FF;

TEST(QtCanvas, LinesLeaveOutTheirEndPoint) {
  QtCanvas canvas(20, 20);
  canvas.SetPen({kRed, 1, PenStyle::kSolid});
  canvas.MoveTo(2, 5);
  canvas.LineTo(10, 5);
  EXPECT_EQ(canvas.GetPixel(2, 5), kRed);
  EXPECT_EQ(canvas.GetPixel(9, 5), kRed);
  EXPECT_EQ(canvas.GetPixel(10, 5), 0u);
  canvas.MoveTo(4, 8);
  canvas.LineTo(4, 12);
  EXPECT_EQ(canvas.GetPixel(4, 11), kRed);
  EXPECT_EQ(canvas.GetPixel(4, 12), 0u);
}

TEST(QtCanvas, BoxesExcludeRightAndBottom) {
  QtCanvas canvas(20, 20);
  canvas.SetPen({kRed, 1, PenStyle::kSolid});
  canvas.SetBrush({0x00FF00, false});
  canvas.Rectangle(2, 2, 8, 6);
  EXPECT_EQ(canvas.GetPixel(2, 2), kRed);
  EXPECT_EQ(canvas.GetPixel(7, 5), kRed);
  EXPECT_EQ(canvas.GetPixel(4, 4), 0x00FF00u);
  EXPECT_EQ(canvas.GetPixel(8, 5), 0u);
  EXPECT_EQ(canvas.GetPixel(7, 6), 0u);
  canvas.FillRect(10, 10, 12, 11, 0xFFFFFF);
  EXPECT_EQ(canvas.GetPixel(11, 10), 0xFFFFFFu);
  EXPECT_EQ(canvas.GetPixel(12, 10), 0u);
  EXPECT_EQ(canvas.GetPixel(10, 11), 0u);
}

TEST(QtCanvas, WidePensAndHollowBrushes) {
  QtCanvas canvas(30, 30);
  canvas.SetPen({kRed, 5, PenStyle::kSolid});
  canvas.MoveTo(5, 15);
  canvas.LineTo(25, 15);
  EXPECT_EQ(canvas.GetPixel(15, 13), kRed);
  EXPECT_EQ(canvas.GetPixel(15, 17), kRed);
  canvas.SetPen({0xFFFFFF, 1, PenStyle::kSolid});
  canvas.SetBrush({0, true});
  canvas.Rectangle(0, 0, 10, 10);
  EXPECT_EQ(canvas.GetPixel(5, 5), 0u);
}

TEST(QtCanvas, TextMetricsAndBackground) {
  QtCanvas canvas(200, 40);
  const Size wide = canvas.TextExtent("88888");
  const Size one = canvas.TextExtent("8");
  EXPECT_GT(one.width, 2);
  EXPECT_GT(one.height, 8);
  EXPECT_GT(wide.width, 4 * one.width);
  EXPECT_GT(canvas.TextExtent("日线").width, canvas.TextExtent("1").width);
  canvas.SetTextColour(0xFFFFFF);
  canvas.SetTextBackground(true, 0x800040);
  canvas.TextOut(10, 10, "8");
  EXPECT_EQ(canvas.GetPixel(10, 10), 0x800040u);  // opaque: the box is painted
  canvas.SetTextBackground(false, 0);
  canvas.TextOut(100, 10, "8");
  EXPECT_EQ(canvas.GetPixel(100, 10), 0u);
}

TEST(QtCanvas, StretchAndTransparentBitmaps) {
  QtCanvas canvas(40, 40);
  auto stamp = canvas.CreateBitmap(2, 1);
  stamp->SetPixel(0, 0, kRed);
  stamp->SetPixel(1, 0, 0x00FF00);
  canvas.StretchDraw(0, 0, 20, 10, *stamp);
  EXPECT_EQ(canvas.GetPixel(2, 5), kRed);
  EXPECT_EQ(canvas.GetPixel(17, 5), 0x00FF00u);
  EXPECT_EQ(canvas.GetPixel(20, 5), 0u);

  canvas.FillRect(0, 20, 40, 40, 0x808080);
  auto icon = MakeIcon(canvas, "IC1");
  ASSERT_NE(icon, nullptr);
  canvas.Draw(20, 20, *icon);
  EXPECT_EQ(canvas.GetPixel(20, 20), 0x808080u);  // transparent corner
  EXPECT_EQ(canvas.GetPixel(28, 30), kRed);       // the arrow's shaft
  EXPECT_EQ(MakeIcon(canvas, "IC42"), nullptr);
  EXPECT_NE(MakeIcon(canvas, "IC100"), nullptr);
}

}  // namespace
}  // namespace vorelin
