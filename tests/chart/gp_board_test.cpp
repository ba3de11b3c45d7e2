// The board inside the chart control: where it is painted, what it reports to the hit test,
// its trade list, and the cursor information text handed to the window.
#include <gtest/gtest.h>

#include "market/stock_quote.h"
#include "tests/chart/chart_test_support.h"

namespace vorelin::testing {
namespace {

const RecordingCanvas& Buffer(const TGP& chart) { return static_cast<const RecordingCanvas&>(*chart.BackBuffer()); }

TEST_F(ChartTest, BoardIsPaintedAtTheRightEdgeAndReportsItsSplit) {
  auto chart = MakeChart(600, 420);
  Feed(*chart, 20, true);
  chart->PaintIfDirty();
  EXPECT_TRUE(Buffer(*chart).Has("draw 400,0 bitmap 200x420"));
  EXPECT_EQ(chart->BoardSplit(), 260) << "title, order book and price rows in the 12-pixel test font";
  EXPECT_EQ(chart->BoardTabWidth(), 30);
  chart->HitTest(450, 265);
  EXPECT_EQ(chart->WeiStyle(), TWeiStyle::wsFenJia);
  chart->HitTest(450, 255);
  EXPECT_EQ(chart->WeiStyle(), TWeiStyle::wsInfo);

  TStockDirEntry stock;
  stock.SetCategory(kNoOrderBookCategory);
  chart->SetQuote(stock);
  chart->PaintIfDirty();
  EXPECT_EQ(chart->BoardSplit(), 102) << "no order book";
}

TEST_F(ChartTest, ClearDataEmptiesTheBoardsTradeList) {
  auto chart = MakeChart(600, 420);
  chart->SetBoardTrades({{930, 10, 100, 0, 1}});
  ASSERT_EQ(chart->BoardTrades().size(), 1u);
  chart->ClearData();
  EXPECT_TRUE(chart->BoardTrades().empty());
}

TEST_F(ChartTest, TrackingTabDrawsMiniaturesIntoTheBoard) {
  auto chart = MakeChart(600, 420);
  Feed(*chart, 20, true);
  chart->PaintIfDirty();
  chart->MouseDown(kLeftButton, 465, 410);  // the 跟踪 tab
  ASSERT_EQ(chart->InfoStr(), "跟踪");
  const PaneFlags fs_before = chart->FsPaneFlagsOf(0), kline_before = chart->PaneFlagsOf(0);
  chart->PaintIfDirty();
  // The panes keep their own axes after the miniatures borrowed them.
  EXPECT_EQ(chart->FsPaneFlagsOf(0).left_axis, fs_before.left_axis);
  EXPECT_EQ(chart->FsPaneFlagsOf(0).title, fs_before.title);
  chart->SetShowFs(true);
  chart->PaintIfDirty();
  EXPECT_EQ(chart->PaneFlagsOf(0).left_axis, kline_before.left_axis);
  EXPECT_EQ(chart->PaneFlagsOf(0).bottom_axis, kline_before.bottom_axis);
}

TEST_F(ChartTest, CursorInformationFollowsTheKeyboardCursor) {
  auto chart = MakeChart(600, 420);
  Feed(*chart, 20, true);
  chart->StkName = "Stock";
  chart->PaintIfDirty();
  EXPECT_EQ(host.info_text, "") << "nothing while the window is hidden";
  chart->KeyDown(ChartKey::kLeft, {});
  chart->PaintIfDirty();
  // Bar 18: 2020-01-19, close 14 after 13.
  EXPECT_EQ(host.info_title, "Stock");
  EXPECT_EQ(host.info_text.rfind("　 日期:2020/01/19/周日\r\n", 0), 0u) << host.info_text;
  EXPECT_NE(host.info_text.find("　 涨跌:7.69%\r\n"), std::string::npos) << host.info_text;
}

}  // namespace
}  // namespace vorelin::testing
