// The drawing tools in the chart control: placing points with the mouse, the rubber band,
// figures following their bars through zooming, per stock and period, hidden beyond the
// revealed bars, shown and hidden together, cleared, and the text tool's question.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/chart/chart_test_support.h"

namespace vorelin::testing {
namespace {

struct Segment {
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class ChartDrawingTest : public ChartTest {
 protected:
  // 550 × 418 without the board, 130 bars: Scale 5, bars 30 … 129 shown over 500 pixels,
  // the centre of bar b at 5 (b - 30) + 2.
  std::unique_ptr<TGP> FedChart(int bars = 130) {
    auto chart = MakeChart(550, 418);
    chart->SetShowBoard(false);
    Feed(*chart, bars, true);
    chart->PaintIfDirty();
    return chart;
  }
  static void Place(TGP& chart, Point from, Point to) {
    chart.MouseDown(kLeftButton, from.x, from.y);
    chart.PaintIfDirty();
    chart.MouseMove(kLeftButton, to.x, to.y);
    chart.PaintIfDirty();
    chart.MouseUp(kLeftButton, to.x, to.y);
    chart.PaintIfDirty();
  }
  // What pane `index` drew at a fresh repaint.
  std::vector<std::string> PaneDrawing(TGP& chart, int index) {
    RecordingCanvas& buffer = *buffers.back();
    buffer.ClearLog();
    chart.RepaintChart();
    return buffer.DrawnLogs().at(static_cast<size_t>(index));
  }
  // The segments a pane drew in the figures' default pen (yellow, solid, width 1) that it
  // does not draw with the figures hidden.
  std::vector<Segment> YellowSegments(TGP& chart, int index) {
    std::vector<Segment> with = Yellow(PaneDrawing(chart, index));
    const bool shown = chart.DrawingsVisible();
    chart.SetDrawingsVisible(false);
    const std::vector<Segment> without = Yellow(PaneDrawing(chart, index));
    chart.SetDrawingsVisible(shown);
    for (const Segment& s : without) {
      const auto same = std::find_if(with.begin(), with.end(), [&](const Segment& w) {
        return w.x1 == s.x1 && w.y1 == s.y1 && w.x2 == s.x2 && w.y2 == s.y2;
      });
      if (same != with.end()) with.erase(same);
    }
    return with;
  }
  static std::vector<Segment> Yellow(const std::vector<std::string>& log) {
    std::vector<Segment> out;
    for (const std::string& line : log) {
      Segment s;
      char pen[16] = {};
      if (std::sscanf(line.c_str(), "line %d,%d -> %d,%d pen=%15s w1 solid", &s.x1, &s.y1, &s.x2, &s.y2, pen) == 5 &&
          std::string(pen) == "0x00FFFF")
        out.push_back(s);
    }
    return out;
  }
  int Middle(TGP& chart) const { return (chart.ReportOf(0).top + chart.ReportOf(0).bottom) / 2; }
};

TEST_F(ChartDrawingTest, SegmentStillJoinsItsBarsAfterZooming) {
  auto chart = FedChart();
  const int y = Middle(*chart);
  chart->StartDrawingTool(1, "");
  Place(*chart, {352, y - 40}, {452, y + 20});
  const std::vector<XXLine> figures = chart->FiguresOf(chart->Pane(0));
  ASSERT_EQ(figures.size(), 1u);
  EXPECT_EQ(figures[0].bar[0], 100);
  EXPECT_EQ(figures[0].bar[1], 120);
  EXPECT_FALSE(chart->Tool().Active()) << "the tool is off once its figure is stored";

  chart->KeyDown(ChartKey::kUp, {});
  chart->PaintIfDirty();
  ASSERT_EQ(chart->Scale(), 8);
  // Bar b's centre at Scale 8: 8 (b - LeftBar) + Trunc(7 / 2).
  const auto centre = [&](int bar) { return 8 * (bar - chart->LeftBar()) + 3; };
  const std::vector<Segment> segments = YellowSegments(*chart, 0);
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0].x1, centre(100));
  EXPECT_EQ(segments[0].x2, centre(120));
  EXPECT_LE(std::abs(segments[0].y1 - (y - 40)), 1);
  EXPECT_LE(std::abs(segments[0].y2 - (y + 20)), 1);
}

TEST_F(ChartDrawingTest, ThreePointToolTakesTwoClicksAndShowsTheRubberBand) {
  auto chart = FedChart();
  const int y = Middle(*chart);
  chart->StartDrawingTool(6, "");
  EXPECT_EQ(host.pointer, PointerShape::kDrawing);
  chart->MouseDown(kLeftButton, 100, y);
  chart->PaintIfDirty();
  chart->MouseMove(kLeftButton, 200, y - 30);
  RecordingCanvas& buffer = *buffers.back();
  buffer.ClearLog();
  chart->PaintIfDirty();
  const PaneReport& plot = chart->ReportOf(0);
  EXPECT_TRUE(buffer.Has("rect " + std::to_string(plot.left) + "," + std::to_string(plot.top) + "," +
                         std::to_string(plot.right) + "," + std::to_string(plot.bottom) +
                         " pen=0x00FFFF w1 solid brush=hollow"))
      << buffer.Dump();
  EXPECT_FALSE(buffer.Lines("line").empty()) << "the preview draws the line being placed";

  chart->MouseUp(kLeftButton, 200, y - 30);
  EXPECT_TRUE(chart->Tool().Active());
  EXPECT_EQ(chart->Tool().Placed(), 2);
  chart->MouseMove(kNoButton, 150, y + 30);
  chart->MouseDown(kLeftButton, 150, y + 30);
  EXPECT_EQ(chart->Tool().Placed(), 2) << "a second press places no point";
  chart->MouseUp(kLeftButton, 150, y + 30);
  EXPECT_FALSE(chart->Tool().Active());
  EXPECT_EQ(host.pointer, PointerShape::kDefault);
  const std::vector<XXLine> figures = chart->FiguresOf(chart->Pane(0));
  ASSERT_EQ(figures.size(), 1u);
  EXPECT_EQ(figures[0].tool, 6);
  EXPECT_EQ(figures[0].point_count, 3);
  EXPECT_EQ(figures[0].bar[2], 30 + 150 / 5);
  EXPECT_EQ(YellowSegments(*chart, 0).size(), 2u) << "the line and its parallel";
  EXPECT_TRUE(std::none_of(host.calls.begin(), host.calls.end(),
                           [](const std::string& c) { return c.rfind("down", 0) == 0 || c.rfind("up", 0) == 0; }))
      << "the tool takes the clicks from the window's handlers";
}

TEST_F(ChartDrawingTest, PointsStayOnThePlotTheyStartedIn) {
  auto chart = FedChart();
  const PaneReport& plot = chart->ReportOf(0);
  chart->StartDrawingTool(21, "");
  Place(*chart, {100, Middle(*chart)}, {540, 417});
  const std::vector<XXLine> figures = chart->FiguresOf(chart->Pane(0));
  ASSERT_EQ(figures.size(), 1u);
  EXPECT_EQ(figures[0].bar[1], 30 + (plot.right - 1) / 5) << "held at the plot's right column";
  EXPECT_NEAR(figures[0].price[1], plot.max - (plot.bottom - 1 - plot.top) * (plot.max - plot.min) /
                                                  (plot.bottom - plot.top), 1e-4);
}

TEST_F(ChartDrawingTest, PressOutsideEveryPanePlacesNothing) {
  auto chart = MakeChart(550, 418);
  Feed(*chart, 130, true);
  chart->PaintIfDirty();
  chart->StartDrawingTool(1, "");
  Place(*chart, {450, 50}, {500, 80});  // on the board
  EXPECT_EQ(chart->Tool().Placed(), 0);
  EXPECT_TRUE(chart->Tool().Active());
  EXPECT_TRUE(chart->FiguresOf(chart->Pane(0)).empty());
  chart->StartDrawingTool(0, "");
  EXPECT_FALSE(chart->Tool().Active());
  EXPECT_EQ(host.pointer, PointerShape::kDefault);
}

TEST_F(ChartDrawingTest, FiguresAreKeptPerStockAndPeriod) {
  auto chart = FedChart();
  const int y = Middle(*chart);
  chart->SelectFigureSet("600000|day|1");
  chart->StartDrawingTool(1, "");
  Place(*chart, {352, y}, {452, y + 10});
  chart->SelectFigureSet("600000|day|5");
  EXPECT_TRUE(chart->FiguresOf(chart->Pane(0)).empty());
  EXPECT_TRUE(YellowSegments(*chart, 0).empty());
  chart->SelectFigureSet("000001|day|1");
  EXPECT_TRUE(YellowSegments(*chart, 0).empty());
  chart->SelectFigureSet("600000|day|1");
  EXPECT_EQ(YellowSegments(*chart, 0).size(), 1u);
  chart->ClearData();
  Feed(*chart, 130, true);
  EXPECT_EQ(YellowSegments(*chart, 0).size(), 1u) << "clearing the chart's data keeps the figures";
}

TEST_F(ChartDrawingTest, FigureOnBarsNotRevealedYetIsNotDrawn) {
  auto chart = FedChart();
  const int y = Middle(*chart);
  chart->StartDrawingTool(1, "");
  Place(*chart, {352, y}, {452, y + 10});  // bars 100 and 120
  for (const auto& [bars, drawn] : {std::pair{110, 0u}, std::pair{120, 0u}, std::pair{121, 1u}}) {
    SCOPED_TRACE(bars);
    chart->ClearData();
    Feed(*chart, bars, true);
    EXPECT_EQ(YellowSegments(*chart, 0).size(), drawn);
  }
}

TEST_F(ChartDrawingTest, TimeSharingFigureKeepsItsMinutesAcrossTheFullWidth) {
  auto chart = MakeChart(550, 418);
  chart->SetShowBoard(false);
  for (int i = 0; i < 60; ++i) chart->AppendTick(931 + i, 10 + i % 5, 100, 10);
  chart->SetShowFs(true);
  chart->SetFsFull(true);
  chart->PaintIfDirty();
  const PaneReport& plot = chart->FsReportOf(0);
  ASSERT_FLOAT_EQ(plot.bar_spacing, 7.5f);  // 450 pixels over 60 minutes
  const int y = (plot.top + plot.bottom) / 2;
  chart->StartDrawingTool(1, "");
  // Minute m's centre: 50 + Trunc(7.5 m + 3.25).
  Place(*chart, {50 + 78, y}, {50 + 228, y + 20});
  const std::vector<XXLine> figures = chart->FiguresOf(chart->FsPane(0));
  ASSERT_EQ(figures.size(), 1u);
  EXPECT_EQ(figures[0].bar[0], 10);
  EXPECT_EQ(figures[0].bar[1], 30);
  const std::vector<Segment> segments = YellowSegments(*chart, 0);
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0].x1, 128);
  EXPECT_EQ(segments[0].x2, 278);
}

TEST_F(ChartDrawingTest, TimeSharingFiguresBelongToTheirDay) {
  auto chart = FedChart();
  chart->StartDrawingTool(1, "");
  Place(*chart, {352, Middle(*chart)}, {452, Middle(*chart) + 10});
  for (int i = 0; i < 60; ++i) chart->AppendTick(931 + i, 10 + i % 5, 100, 10);
  chart->SetShowFs(true);
  chart->SelectFigureDay(20240105);
  chart->PaintIfDirty();
  const PaneReport& plot = chart->FsReportOf(0);
  const int y = (plot.top + plot.bottom) / 2;
  chart->StartDrawingTool(1, "");
  Place(*chart, {plot.left + 20, y}, {plot.left + 80, y + 20});
  ASSERT_EQ(chart->FiguresOf(chart->FsPane(0)).size(), 1u);
  chart->SelectFigureDay(20240108);
  EXPECT_TRUE(chart->FiguresOf(chart->FsPane(0)).empty());
  EXPECT_TRUE(YellowSegments(*chart, 0).empty());
  EXPECT_EQ(chart->FiguresOf(chart->Pane(0)).size(), 1u) << "the K-line figures do not change with the day";
  chart->SelectFigureDay(20240105);
  EXPECT_EQ(YellowSegments(*chart, 0).size(), 1u);
}

TEST_F(ChartDrawingTest, ToolTwentySixHidesEveryPanesFiguresAndTwentyFiveClearsThem) {
  auto chart = FedChart();
  const int y = Middle(*chart);
  chart->StartDrawingTool(1, "");
  Place(*chart, {352, y}, {452, y + 10});
  const int y1 = chart->PaneHeight(0) + 20;
  chart->StartDrawingTool(1, "");
  Place(*chart, {100, y1}, {200, y1 + 10});
  ASSERT_EQ(chart->FiguresOf(chart->Pane(1)).size(), 1u);

  chart->StartDrawingTool(26, "", true);
  for (int i = 0; i < kPaneCount; ++i) EXPECT_FALSE(chart->PaneFlagsOf(i).drawings_shown);
  for (int i = 0; i < 2; ++i) EXPECT_FALSE(chart->FsPaneFlagsOf(i).drawings_shown);
  EXPECT_TRUE(YellowSegments(*chart, 0).empty());
  EXPECT_TRUE(YellowSegments(*chart, 1).empty());
  chart->StartDrawingTool(26, "", false);
  EXPECT_EQ(YellowSegments(*chart, 0).size(), 1u);
  EXPECT_EQ(YellowSegments(*chart, 1).size(), 1u);

  chart->StartDrawingTool(25, "");
  EXPECT_TRUE(chart->FiguresOf(chart->Pane(0)).empty());
  EXPECT_TRUE(chart->FiguresOf(chart->Pane(1)).empty());
  EXPECT_TRUE(YellowSegments(*chart, 0).empty());
}

TEST_F(ChartDrawingTest, TextToolTakesTheDialogsTextColourAndSize) {
  auto chart = FedChart();
  const int y = Middle(*chart);
  chart->StartDrawingTool(24, "");
  Place(*chart, {100, y}, {100, y});  // cancelled: the defaults stay
  host.figure_text = FigureText{"突破", 0x0000FF, 12};
  chart->StartDrawingTool(24, "");
  Place(*chart, {200, y}, {200, y});
  const std::vector<XXLine> figures = chart->FiguresOf(chart->Pane(0));
  ASSERT_EQ(figures.size(), 2u);
  EXPECT_EQ(figures[0].text, "");
  EXPECT_EQ(figures[0].colour, 0x00FFFFu);
  EXPECT_EQ(figures[0].font_size, 8);
  EXPECT_EQ(figures[1].text, "突破");
  EXPECT_EQ(figures[1].colour, 0x0000FFu);
  EXPECT_EQ(figures[1].font_size, 12);
  EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "ask text"), 2);
  bool drawn = false;
  for (const std::string& line : PaneDrawing(*chart, 0))
    drawn = drawn || line.find("'突破' 0x0000FF") != std::string::npos;
  EXPECT_TRUE(drawn);
}

}  // namespace
}  // namespace vorelin::testing
