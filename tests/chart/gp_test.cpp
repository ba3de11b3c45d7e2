// The chart control's model: visible window, scale halving, pane heights, hit test,
// property rules, data feeding and the quote blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "tests/chart/chart_test_support.h"

namespace vorelin::testing {
namespace {

TEST_F(ChartTest, CreationLoadsTheDefaultIndicators) {
  auto chart = MakeChart(550, 418);
  EXPECT_EQ(Formula(*chart, 0).compiled_text, "TEXT OF MA");
  EXPECT_EQ(Formula(*chart, 1).compiled_text, "TEXT OF vol");
  EXPECT_EQ(Formula(*chart, 2).compiled_text, "TEXT OF MACD");
  EXPECT_EQ(Formula(*chart, 9).compiled_text, "TEXT OF BRAR");
  EXPECT_EQ(static_cast<FakeFormula&>(chart->FsPane(0)).compiled_text, "TEXT OF Fs");
  EXPECT_EQ(chart->Pane(2).FileName(), "MACD.Wfc");
  EXPECT_EQ(chart->TabNames()[0], "指标");
  EXPECT_EQ(chart->TabNames()[3], "MACD");
  EXPECT_TRUE(chart->PaneFlagsOf(2).bottom_axis);
  EXPECT_TRUE(chart->PaneFlagsOf(0).selected);
  EXPECT_EQ(Formula(*chart, 4).period_code, static_cast<int>(TWeekStyle::wsDay));
}

TEST_F(ChartTest, AppendShowsTheNewestBars) {
  auto chart = MakeChart(550, 418);
  chart->SetShowBoard(false);
  Feed(*chart, 999, false);
  chart->AppendBar(20300101, 0, 10, 11, 9, 10.5, 1000, 100);
  chart->PaintIfDirty();
  EXPECT_EQ(chart->Pane(0).BarCount(), 1000);
  EXPECT_EQ(chart->LeftBar(), 900);  // K = 500 / 5 = 100
  EXPECT_EQ(chart->ReportOf(0).first_bar, 900);
}

TEST_F(ChartTest, WideningKeepsTheNewestBarAtTheRightEdge) {
  auto chart = MakeChart(550, 418);
  chart->SetShowBoard(false);
  Feed(*chart, 1000, true);
  ASSERT_EQ(chart->LeftBar(), 900);
  chart->Resize(600, 418);
  EXPECT_EQ(chart->LeftBar(), 890);
}

TEST_F(ChartTest, NarrowChartHalvesTheScaleOnce) {
  auto chart = MakeChart(65, 418);  // W - L - R = 15
  chart->SetShowBoard(false);
  Feed(*chart, 100, true);
  EXPECT_EQ(chart->Scale(), 2);
  EXPECT_EQ(chart->LeftBar(), 100 - 7);
  chart->RepaintChart();
  EXPECT_EQ(chart->Scale(), 2);
}

TEST_F(ChartTest, PropertySettersRefuseOutOfRangeValues) {
  auto chart = MakeChart(550, 418);
  chart->SetShowBoard(false);
  Feed(*chart, 1000, true);
  chart->SetLeftBar(0);
  EXPECT_EQ(chart->LeftBar(), 900);
  chart->SetLeftBar(1000);
  EXPECT_EQ(chart->LeftBar(), 900);
  chart->SetLeftBar(500);
  EXPECT_EQ(chart->LeftBar(), 500);
  chart->SetScale(1);
  EXPECT_EQ(chart->Scale(), 5);
  chart->SetTechWindows(11);
  EXPECT_EQ(chart->TechWindows(), 3);
  chart->SetTechWindows(0);
  EXPECT_EQ(chart->TechWindows(), 3);
  chart->SetTechWindows(-2);
  EXPECT_EQ(chart->TechWindows(), 3);
}

TEST_F(ChartTest, PaneHeightsSplitAndRefit) {
  auto chart = MakeChart(550, 418);  // 400 above the tab strip
  chart->RepaintChart();
  EXPECT_EQ(chart->PaneHeight(0), 200);
  EXPECT_EQ(chart->PaneHeight(1), 100);
  EXPECT_EQ(chart->PaneHeight(2), 100);

  chart->SetTechWindows(6);  // s = 57, the remainder goes to the last pane
  EXPECT_EQ(chart->PaneHeight(0), 114);
  EXPECT_EQ(chart->PaneHeight(4), 57);
  EXPECT_EQ(chart->PaneHeight(5), 58);
  EXPECT_TRUE(chart->PaneFlagsOf(5).bottom_axis);
  EXPECT_FALSE(chart->PaneFlagsOf(2).bottom_axis);

  chart->SetTechWindows(3);
  chart->SetShowTab(false);  // 400 -> 418 proportionally: 209, 104, 104 + 1
  EXPECT_EQ(chart->PaneHeight(0), 209);
  EXPECT_EQ(chart->PaneHeight(1), 104);
  EXPECT_EQ(chart->PaneHeight(2), 105);

  chart->SetTechWindows(3);  // the current value: heights stay
  EXPECT_EQ(chart->PaneHeight(0), 209);
}

TEST_F(ChartTest, NewlyShownPanesAreRerunAndFailuresReported) {
  auto chart = MakeChart(550, 418);
  Feed(*chart, 10, true);
  const int runs_before = Formula(*chart, 4).runs;
  Formula(*chart, 4).compiled_text.clear();  // this pane's run fails
  chart->SetTechWindows(5);
  EXPECT_EQ(Formula(*chart, 3).runs, 2);  // once at creation, once on showing
  EXPECT_EQ(Formula(*chart, 4).runs, runs_before + 1);
  ASSERT_FALSE(errors.empty());
  EXPECT_EQ(errors.back(), "公式长度为零或原始数据为零!");
}

TEST_F(ChartTest, HitTestRegions) {
  auto chart = MakeChart(550, 418);
  chart->SetShowBoard(false);
  chart->RepaintChart();  // heights 200, 100, 100; tab strip from 400
  struct Case {
    const char* name;
    int x, y;
    TWeiStyle want;
    int pane;  // hit pane index, -1 none
  };
  const Case kCases[] = {
      {"price pane", 100, 100, TWeiStyle::wsGS1, 0},
      {"row above the first border", 100, 199, TWeiStyle::wsKSize, -1},
      {"row of the first border", 100, 200, TWeiStyle::wsKSize, -1},
      {"first row of pane 1", 100, 201, TWeiStyle::wsGS2, 1},
      {"last pane", 100, 350, TWeiStyle::wsGS3, 2},
      {"tab strip", 100, 405, TWeiStyle::wsTab, -1},
      {"price pane's right axis", 520, 100, TWeiStyle::wsNone, -1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    chart->HitTest(c.x, c.y);
    EXPECT_EQ(chart->WeiStyle(), c.want);
    EXPECT_EQ(chart->HitPane(), c.pane < 0 ? nullptr : &chart->Pane(c.pane));
  }
  chart->HitTest(100, 200);
  EXPECT_EQ(host.pointer, PointerShape::kVerticalSplit);
}

TEST_F(ChartTest, HitTestBoardAndTimeSharing) {
  auto chart = MakeChart(600, 420);
  chart->SetShowFs(true);  // price pane 280 high
  chart->HitTest(450, 10);  // the lower board area starts at the board split, still 0
  EXPECT_EQ(chart->WeiStyle(), TWeiStyle::wsFenJia);
  EXPECT_EQ(chart->CursorPoint().x, -1);
  chart->HitTest(450, 410);
  EXPECT_EQ(chart->WeiStyle(), TWeiStyle::wsBTab);
  chart->HitTest(400, 10);
  EXPECT_EQ(chart->WeiStyle(), TWeiStyle::wsBSize);
  EXPECT_EQ(host.pointer, PointerShape::kHorizontalSplit);
  chart->HitTest(100, 100);
  EXPECT_EQ(chart->WeiStyle(), TWeiStyle::wsFS);
  chart->HitTest(100, 300);
  EXPECT_EQ(chart->WeiStyle(), TWeiStyle::wsVol);
  EXPECT_EQ(chart->HitPane(), &chart->FsPane(1));
  chart->HitTest(100, 279);
  EXPECT_EQ(chart->WeiStyle(), TWeiStyle::wsFSize);
}

TEST_F(ChartTest, ClearDataKeepsTheBlocksAttachedAndTheFormulas) {
  auto chart = MakeChart(550, 418);
  Feed(*chart, 10, true);
  chart->StkName = "平安银行";
  chart->ClearData();
  EXPECT_EQ(chart->Pane(0).BarCount(), 0);
  EXPECT_EQ(chart->StkName, "");
  EXPECT_EQ(chart->LeftBar(), 0);
  EXPECT_EQ(chart->SelectedPane(), 1);
  for (FakeFormula* formula : formulas) {
    EXPECT_EQ(formula->blocks, &chart->Blocks());
    EXPECT_FALSE(formula->compiled_text.empty());
  }
  EXPECT_EQ(chart->PrevClose(), kChartNoValue);
}

TEST_F(ChartTest, SetQuoteDerivesQuoteAndFinanceBlocks) {
  auto chart = MakeChart(550, 418);
  TStockDirEntry record;
  auto put = [&record](size_t offset, float value) { std::memcpy(record.bytes.data() + offset, &value, 4); };
  put(952, 10.0f);   // previous close
  put(960, 10.2f);   // open
  put(948, 11.0f);   // high
  put(956, 9.5f);    // low
  put(964, 10.5f);   // last
  put(1162 + 23, 200.0f);  // total shares (in 10 000s)
  put(1162 + 7, 50.0f);    // circulating shares
  const uint32_t finance_date = 20240331;
  std::memcpy(record.bytes.data() + 1181, &finance_date, 4);
  chart->SetQuote(record);
  const ChartBlocks& b = chart->Blocks();
  EXPECT_FLOAT_EQ(b.quote[3], 10.0f);
  EXPECT_FLOAT_EQ(b.quote[7], 10.5f);
  EXPECT_FLOAT_EQ(b.quote[12], 0.5f);
  EXPECT_NEAR(b.quote[13], 1.5f / 9.5f, 1e-6);
  EXPECT_NEAR(b.quote[14], 5.0f, 1e-5);
  EXPECT_FLOAT_EQ(b.finance[0], 2000000.0f);
  EXPECT_FLOAT_EQ(b.finance[7], 500000.0f);
  EXPECT_FLOAT_EQ(b.finance[40], 10.5f * 500000.0f);
  EXPECT_FLOAT_EQ(b.finance[42], 20240331.0f);

  TStockDirEntry empty;
  chart->SetQuote(empty);  // no last price, no finance date: both blocks keep their values
  EXPECT_FLOAT_EQ(chart->Blocks().quote[7], 10.5f);
  EXPECT_FLOAT_EQ(chart->Blocks().finance[0], 2000000.0f);
}

TEST_F(ChartTest, RemoveCurrentPaneKeepsItsFormulaForLater) {
  auto chart = MakeChart(550, 418);
  chart->SetTechWindows(4);
  chart->SelectPane(1);
  PaneFormula* removed = &chart->Pane(1);
  PaneFormula* next = &chart->Pane(2);
  chart->RemoveCurrentPane();
  EXPECT_EQ(chart->TechWindows(), 3);
  EXPECT_EQ(&chart->Pane(1), next);
  EXPECT_EQ(&chart->Pane(3), removed);
  EXPECT_TRUE(chart->PaneFlagsOf(2).bottom_axis);
  chart->SelectPane(0);
  chart->RemoveCurrentPane();  // the price pane stays
  EXPECT_EQ(chart->TechWindows(), 3);
}

TEST_F(ChartTest, LoadIndicatorAndRunInCurrentPane) {
  auto chart = MakeChart(550, 418);
  Feed(*chart, 10, true);
  EXPECT_FALSE(chart->LoadIndicator(chart->Pane(1), "NOSUCH"));
  EXPECT_EQ(Formula(*chart, 1).compiled_text, "TEXT OF vol");
  EXPECT_TRUE(chart->LoadIndicator(chart->Pane(1), "KDJ"));
  EXPECT_EQ(chart->Pane(1).FileName(), "KDJ.Wfc");
  chart->SelectPane(2);
  EXPECT_TRUE(chart->RunInCurrentPane("X:C;"));
  EXPECT_EQ(Formula(*chart, 2).compiled_text, "X:C;");
  EXPECT_TRUE(chart->RunInCurrentPane(""));
  EXPECT_EQ(errors.back(), "程序长度不能为空!");
  EXPECT_FALSE(chart->LoadPaneFormula(10, "x.Wfc"));
  EXPECT_FLOAT_EQ(chart->GetLastValue("close"), 10 + 9 % 7);
  EXPECT_EQ(chart->GetLastValue("nosuch"), static_cast<float>(kChartNoValue));
}

TEST_F(ChartTest, UpdateLockSuspendsRepainting) {
  auto chart = MakeChart(550, 418);
  chart->RepaintChart();
  const int shown = host.shown;
  chart->BeginUpdate();
  Feed(*chart, 10, true);
  chart->SetScale(8);
  EXPECT_EQ(host.shown, shown);
  chart->EndUpdate();
  EXPECT_EQ(host.shown, shown + 1);
}

TEST_F(ChartTest, ChangesMarkTheChartDirtyAndTheHostPaintsOnce) {
  auto chart = MakeChart(550, 418);
  chart->RepaintChart();
  ASSERT_FALSE(chart->NeedsRepaint());
  const int shown = host.shown;

  chart->AppendBar(20240102, 0, 10, 11, 9, 10.5, 1000, 100);
  chart->SetScale(8);
  chart->SelectPane(2);
  EXPECT_EQ(host.shown, shown) << "setters and data changes do not paint";
  EXPECT_TRUE(chart->NeedsRepaint());
  EXPECT_EQ(host.repaint_requests, 1) << "one request until the next paint";

  chart->PaintIfDirty();
  chart->PaintIfDirty();
  EXPECT_EQ(host.shown, shown + 1);
  EXPECT_FALSE(chart->NeedsRepaint());

  chart->SetScale(5);
  EXPECT_EQ(host.repaint_requests, 2);
}

TEST_F(ChartTest, RevealingFiftyBarsUnderTheLockIsOnePaint) {
  auto chart = MakeChart(550, 418);
  chart->RepaintChart();
  const int shown = host.shown;
  const int requests = host.repaint_requests;
  chart->BeginUpdate();
  for (int i = 0; i < 50; ++i) chart->AppendBar(20240101 + i, 0, 10, 11, 9, 10.5, 1000, 100);
  chart->EndUpdate();
  chart->PaintIfDirty();  // what the window does on its next paint event
  EXPECT_EQ(host.shown, shown + 1);
  EXPECT_EQ(host.repaint_requests, requests) << "EndUpdate painted; nothing was left to request";
  EXPECT_EQ(chart->Pane(0).BarCount(), 50);
}

TEST_F(ChartTest, AnAppendAfterAResizeInOneEventShowsTheNewestBars) {
  auto chart = MakeChart(550, 418);
  chart->SetShowBoard(false);
  chart->RepaintChart();
  chart->Resize(600, 418);  // no paint between the resize and the data
  Feed(*chart, 1000, true);
  chart->PaintIfDirty();
  EXPECT_EQ(chart->LeftBar(), 890);  // K = 550 / 5 = 110
}

}  // namespace
}  // namespace vorelin::testing
