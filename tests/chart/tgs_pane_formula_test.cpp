// Chart panes on the real interpreter: outputs, parameters and title, the K-line entry,
// what survives ClearData, and a pane's export from the context menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "chart/gp.h"
#include "chart/pane_painter.h"
#include "chart/tgs_pane_formula.h"
#include "tests/chart/chart_test_support.h"
#include "tests/net/temp_folder.h"

namespace vorelin::testing {
namespace {

std::unique_ptr<TGP> MakeChart(ChartHost* host = nullptr) {
  static BuiltinIndicatorLibrary library;
  return std::make_unique<TGP>(
      800, 600, [](int w, int h) { return std::make_unique<RecordingCanvas>(w, h); }, TgsPaneFormula::Factory(),
      library, host);
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

TEST(TgsPanes, TheTableExportHoldsTheRevealedBarsOnly) {
  TempFolder folder;
  RecordingHost host;
  host.answer = true;
  auto chart = MakeChart(&host);
  chart->ProgramFolder = folder.Path().string();
  chart->StkLabel = "600000";
  Feed(*chart, 30);
  chart->PaintIfDirty();
  chart->HitTest(100, chart->PaneHeight(0) + chart->PaneHeight(1) + 20);  // the MACD pane
  ASSERT_EQ(chart->HitPane(), &chart->Pane(2));
  chart->DoMenuCommand("保存指标数据");

  const std::filesystem::path file = folder.Path() / "600000_日线_MACD.txt";
  ASSERT_TRUE(std::filesystem::is_regular_file(file));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"ask 提示|导出成功,是否打开此文件?", "open " + file.string()}));
  std::ifstream in(file);
  std::vector<std::string> rows;  // the bar rows: "1     |", "2     |" …
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] >= '1' && line[0] <= '9') rows.push_back(line.substr(0, 7));
  }
  ASSERT_EQ(rows.size(), 30u);
  EXPECT_EQ(rows.back(), "30    |");
}

}  // namespace
}  // namespace vorelin::testing
