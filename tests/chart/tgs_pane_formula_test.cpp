// Chart panes on the real interpreter: outputs, parameters and title, the K-line entry, and
// what survives ClearData.
#include <gtest/gtest.h>

#include "chart/gp.h"
#include "chart/pane_painter.h"
#include "chart/tgs_pane_formula.h"
#include "tests/chart/recording_canvas.h"

namespace vorelin::testing {
namespace {

std::unique_ptr<TGP> MakeChart() {
  static BuiltinIndicatorLibrary library;
  return std::make_unique<TGP>(
      800, 600, [](int w, int h) { return std::make_unique<RecordingCanvas>(w, h); }, TgsPaneFormula::Factory(),
      library);
}

void Feed(TGP& chart, int count) {
  for (int i = 0; i < count; ++i) {
    const double close = 10 + (i % 9) * 0.1;
    chart.AppendBar(20240101 + i, 0, close - 0.05, close + 0.1, close - 0.1, close, 1e6, 1e5 + i);
  }
}

TEST(TgsPanes, MacdPaneOutputsParametersAndTitle) {
  auto chart = MakeChart();
  Feed(*chart, 60);
  chart->PaintIfDirty();
  PaneFormula& macd = chart->Pane(2);
  EXPECT_EQ(macd.Outputs(), (std::vector<std::string>{"syline=dif::colorwhite,", "syline=dea::coloryellow,",
                                                      "syline=macd::colorstick", "syline=0::linedot,colorwhite"}));
  EXPECT_EQ(macd.ParameterValues(), (std::vector<double>{12, 26, 9}));
  EXPECT_EQ(PaneTitle(macd, chart->PaneFlagsOf(2)), "(日线)MACD(12_26_9)");
  EXPECT_EQ(macd.FileName(), "MACD.Wfc");
  // The price pane draws K-lines first, ahead of its moving averages.
  EXPECT_EQ(chart->Pane(0).Outputs().front(), "drawkline=high,open,low,close");
}

TEST(TgsPanes, ClearDataKeepsFormulasAndBlocks) {
  auto chart = MakeChart();
  Feed(*chart, 40);
  chart->ClearData();
  EXPECT_EQ(chart->Pane(0).BarCount(), 0);
  for (int i = 0; i < kPaneCount; ++i) {
    auto& pane = static_cast<TgsPaneFormula&>(chart->Pane(i));
    EXPECT_EQ(pane.Interpreter().Attached().quote.data(), chart->Blocks().quote.data()) << i;
    EXPECT_EQ(pane.Interpreter().Attached().stock, &chart->Blocks().stock_record) << i;
  }
  Feed(*chart, 40);  // the next stock: the panes come back without reloading
  EXPECT_EQ(chart->Pane(2).Outputs().size(), 4u);
  EXPECT_EQ(chart->Pane(1).Outputs().front().rfind("syline=volume::", 0), 0u);
}

}  // namespace
}  // namespace vorelin::testing
