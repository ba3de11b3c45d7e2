// The figures of the drawing tools on a recording canvas: rays and their clamping, lines
// across the plot, arcs, ratio levels with their labels, time zones and the tools that
// draw nothing for a leftward second point.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/figure_geometry.h"
#include "tests/chart/recording_canvas.h"

namespace vorelin::testing {
namespace {

// A plot 500 wide and 200 high showing prices 0 … 20 (10 rows per unit), bars 5 apart.
FigureFrame Plot() {
  FigureFrame frame;
  frame.right = 500;
  frame.bottom = 200;
  frame.max = 20;
  frame.min = 0;
  frame.u = 5;
  frame.body = 4;
  return frame;
}

std::vector<std::string> Draw(int tool, Point p1, Point p2, Point p3 = {}) {
  RecordingCanvas canvas(600, 300);
  XXLine figure;
  figure.tool = tool;
  DrawFigure(canvas, figure, {p1, p2, p3}, Plot());
  return canvas.Log();
}

std::string Solid(int x1, int y1, int x2, int y2) {
  return "line " + std::to_string(x1) + "," + std::to_string(y1) + " -> " + std::to_string(x2) + "," +
         std::to_string(y2) + " pen=0x00FFFF w1 solid";
}

std::vector<std::string> Starting(const std::vector<std::string>& log, const std::string& prefix) {
  std::vector<std::string> out;
  for (const std::string& line : log)
    if (line.rfind(prefix, 0) == 0) out.push_back(line);
  return out;
}

TEST(FigureGeometry, RayRunsToTheEdgeItPointsAtAndIsClampedAtTheSides) {
  struct Case {
    const char* name;
    Point p2;
    std::string want;
  };
  // From (100, 150): up with slope -0.25 would meet the top at x 700, so it stops on the
  // right edge at y 50; down with slope 0.1 would meet the bottom at 600, so y 190; up-left
  // with slope 1 meets the top at -50, so the left edge at y 50; straight up it runs to the top.
  const Case kCases[] = {{"up, clamped right", {300, 100}, Solid(100, 150, 500, 50)},
                         {"down, clamped right", {200, 160}, Solid(100, 150, 500, 190)},
                         {"up-left, clamped left", {50, 100}, Solid(100, 150, 0, 50)},
                         {"vertical up", {100, 20}, Solid(100, 150, 100, 0)}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> log = Draw(4, {100, 150}, c.p2);
    EXPECT_EQ(log, (std::vector<std::string>{c.want}));
  }
  Point end{7, 7};
  EXPECT_FALSE(ExtendToEdge({100, 150}, {300, 150}, Plot(), &end)) << "a flat ray has no edge";
  EXPECT_EQ(end.x, 7);
}

TEST(FigureGeometry, LineAcrossThePlotAndItsChannel) {
  // Slope 0.5 through (100, 100): c = 50, top at x -100 → clamped to (0, 50); bottom at
  // x 300. The parallel through (100, 140) has c = 90; its mirror c = 10.
  EXPECT_EQ(Draw(2, {100, 100}, {200, 150}), (std::vector<std::string>{Solid(0, 50, 300, 200)}));
  EXPECT_EQ(Draw(2, {100, 100}, {100, 150}), (std::vector<std::string>{Solid(100, 0, 100, 200)}));
  EXPECT_EQ(Draw(2, {100, 100}, {200, 100}), (std::vector<std::string>{Solid(0, 100, 500, 100)}))
      << "a flat line runs across the plot";
  EXPECT_EQ(Draw(5, {100, 100}, {200, 150}, {100, 140}),
            (std::vector<std::string>{Solid(0, 50, 300, 200), Solid(0, 90, 220, 200), Solid(0, 10, 380, 200)}));
  EXPECT_EQ(Draw(6, {100, 100}, {200, 150}, {100, 140}).size(), 2u);
}

TEST(FigureGeometry, ArrowHasTwoBarbsAtPointTwo) {
  // Pointing right along a row, 100 long: barbs 8 pixels back, 4 up and down.
  EXPECT_EQ(Draw(3, {100, 100}, {200, 100}),
            (std::vector<std::string>{Solid(100, 100, 200, 100), Solid(200, 100, 192, 104),
                                      Solid(200, 100, 192, 96)}));
  EXPECT_EQ(Draw(3, {100, 100}, {100, 100}).size(), 1u) << "no barbs without a length";
}

TEST(FigureGeometry, HalfEllipseRunsCounterClockwiseThroughPointTwo) {
  struct Case {
    const char* name;
    Point p2;
    std::string want;
  };
  // Point 1 at (100, 100), radii 40 and 20.
  const Case kCases[] = {
      {"down-left: centre below point 1", {60, 120}, "arc 60,100,140,140 100,100 100,140 pen=0x00FFFF w1 solid"},
      {"down-right: centre beside point 1", {140, 120}, "arc 100,80,180,120 100,100 180,100 pen=0x00FFFF w1 solid"},
      {"up-left", {60, 80}, "arc 20,80,100,120 100,100 20,100 pen=0x00FFFF w1 solid"},
      {"up-right: centre above point 1", {140, 80}, "arc 60,60,140,100 100,100 100,60 pen=0x00FFFF w1 solid"}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Draw(7, {100, 100}, c.p2), (std::vector<std::string>{c.want}));
  }
}

TEST(FigureGeometry, OctavesBetweenTenAndEighteen) {
  // Row 100 is 10, row 20 is 18: levels 11 … 17 at rows 90 … 30, labelled 12.5 % … 87.5 %.
  const std::vector<std::string> log = Draw(12, {50, 100}, {80, 20});
  std::vector<std::string> dotted;
  for (const std::string& line : Starting(log, "line"))
    if (line.find(" dot") != std::string::npos) dotted.push_back(line);
  std::vector<std::string> want_dotted;
  for (int row = 90; row >= 30; row -= 10)
    want_dotted.push_back("line 0," + std::to_string(row) + " -> 500," + std::to_string(row) + " pen=0x00FFFF w1 dot");
  EXPECT_EQ(dotted, want_dotted);
  const std::vector<std::string> want_texts = {
      "text 2,87 '  Base 10.000' 0x00FFFF size12",  "text 2,7 '100.0% 18.000' 0x00FFFF size12",
      "text 2,77 ' 12.5% 11.000' 0x00FFFF size12",  "text 2,67 ' 25.0% 12.000' 0x00FFFF size12",
      "text 2,57 ' 37.5% 13.000' 0x00FFFF size12",  "text 2,47 ' 50.0% 14.000' 0x00FFFF size12",
      "text 2,37 ' 62.5% 15.000' 0x00FFFF size12",  "text 2,27 ' 75.0% 16.000' 0x00FFFF size12",
      "text 2,17 ' 87.5% 17.000' 0x00FFFF size12"};
  EXPECT_EQ(Starting(log, "text"), want_texts);
}

TEST(FigureGeometry, PercentBandKeepsOnlyLevelsInsideThePlot) {
  // Base 10 at row 100: +19.1 % … +100 % reach 20 (row 0, the edge, left out); -100 % is 0
  // at the bottom edge, left out too.
  const std::vector<std::string> texts = Starting(Draw(8, {50, 150}, {80, 100}), "text");
  ASSERT_EQ(texts.size(), 1u + 5 + 5);
  EXPECT_EQ(texts[0], "text 2,87 '  Base 10.000' 0x00FFFF size12");
  EXPECT_EQ(texts[1], "text 2,68 '119.1% 11.910' 0x00FFFF size12");
  EXPECT_EQ(texts[2], "text 2,107 ' 80.9%  8.090' 0x00FFFF size12");
}

TEST(FigureGeometry, FibonacciTimeZonesStepByTheFibonacciNumbers) {
  // Point 2 at x 52 snaps to the centre of bar 10: 51; zones at 51 + (F - 1) * 5.
  const std::vector<std::string> log = Draw(17, {52, 60}, {52, 60});
  const std::vector<std::string> lines = Starting(log, "line");
  const std::vector<std::string> texts = Starting(log, "text");
  const int kOffsets[] = {0, 0, 1, 2, 4, 7, 12};
  const char* const kLabels[] = {"1", "1", "2", "3", "5", "8", "13"};
  ASSERT_GE(lines.size(), 7u);
  for (size_t i = 0; i < 7; ++i) {
    const int x = 51 + kOffsets[i] * 5;
    EXPECT_EQ(lines[i], Solid(x, 0, x, 200));
    EXPECT_EQ(texts[i], "text " + std::to_string(x + 2) + ",0 '" + kLabels[i] + "' 0x00FFFF size12");
  }
  EXPECT_EQ(lines.size(), 11u) << "the zone 143 bars on lies beyond the plot";
}

TEST(FigureGeometry, EqualCyclesRepeatTheDistanceOfTheTwoPoints) {
  // Bars 10 and 30: centres 51 and 151, a step of 100 from 51: 51, 151, 251, 351, 451, and
  // the closing line at 551.
  const std::vector<std::string> lines = Starting(Draw(16, {52, 10}, {153, 10}), "line");
  EXPECT_EQ(lines, (std::vector<std::string>{Solid(51, 0, 51, 200), Solid(151, 0, 151, 200),
                                             Solid(251, 0, 251, 200), Solid(351, 0, 351, 200),
                                             Solid(451, 0, 451, 200), Solid(551, 0, 551, 200)}));
}

TEST(FigureGeometry, SpeedLinesAndFanNeedPointTwoRightOfPointOne) {
  for (int tool : {19, 20}) {
    SCOPED_TRACE(tool);
    EXPECT_TRUE(Draw(tool, {200, 100}, {150, 50}).empty());
    EXPECT_TRUE(Draw(tool, {200, 100}, {200, 50}).empty());
  }
  const std::vector<std::string> speed = Draw(19, {100, 150}, {200, 90});
  EXPECT_EQ(Starting(speed, "text"), (std::vector<std::string>{"text 200,130 '3:1' 0x00FFFF size12",
                                                               "text 200,110 '3:2' 0x00FFFF size12"}));
  const std::vector<std::string> fan = Draw(20, {100, 150}, {200, 90});
  EXPECT_EQ(Starting(fan, "line").size(), 3u + 8u);
  EXPECT_EQ(Starting(fan, "text").size(), 8u);
}

TEST(FigureGeometry, RectangleIconAndText) {
  EXPECT_EQ(Draw(21, {200, 150}, {100, 50}),
            (std::vector<std::string>{"rect 100,50,200,150 pen=0x00FFFF w1 solid brush=hollow"}));
  EXPECT_EQ(Draw(22, {100, 50}, {100, 50}), (std::vector<std::string>{"draw 92,50 bitmap 16x16"}));
  RecordingCanvas canvas(600, 300);
  XXLine text;
  text.tool = 24;
  text.text = "突破";
  text.colour = 0x0000FF;
  DrawFigure(canvas, text, {Point{40, 60}, Point{40, 60}, Point{}}, Plot());
  EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"text 40,60 '突破' 0x0000FF size12"}));
  for (int tool : {13, 14, 15}) EXPECT_TRUE(Draw(tool, {10, 10}, {90, 90}).empty());
}

}  // namespace
}  // namespace vorelin::testing
