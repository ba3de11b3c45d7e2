// The chart control's model: visible window, scale halving, pane heights, hit test,
// property rules, data feeding and the quote blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "chart/gp.h"
#include "tests/chart/fake_formula.h"
#include "tests/chart/recording_canvas.h"

namespace vorelin::testing {
namespace {

class FakeLibrary : public IndicatorLibrary {
 public:
  std::string FormulaText(const std::string& name) const override {
    return name == "NOSUCH" ? std::string() : "TEXT OF " + name;
  }
  std::vector<std::string> Names(int tab) const override {
    if (tab == 1) return {"MACD", "MA", "VOL", "DMA", "DMI", "FSL", "TRIX", "BRAR", "CR"};
    return {};
  }
};

class RecordingHost : public ChartHost {
 public:
  void ShowBuffer(const Canvas&) override { ++shown; }
  void SetPointer(PointerShape shape) override { pointer = shape; }
  int shown = 0;
  PointerShape pointer = PointerShape::kDefault;
};

class ChartTest : public ::testing::Test {
 protected:
  std::unique_ptr<TGP> MakeChart(int width, int height) {
    auto chart = std::make_unique<TGP>(
        width, height, [](int w, int h) { return std::make_unique<RecordingCanvas>(w, h); },
        [this](PaneFormula* parent) {
          auto formula = std::make_unique<FakeFormula>(static_cast<FakeFormula*>(parent));
          formulas.push_back(formula.get());
          return formula;
        },
        library, &host);
    chart->OnError = [this](const std::string& text) { errors.push_back(text); };
    return chart;
  }
  // Fills pane 0 with `count` day bars through SetSeries.
  static void Feed(TGP& chart, int count, bool recalculate) {
    std::vector<double> date, price;
    for (int i = 0; i < count; ++i) {
      date.push_back(20200101 + i);
      price.push_back(10 + i % 7);
    }
    for (const char* name : {"date", "time", "open", "high", "low", "close", "amount"}) {
      chart.SetSeries(name, name == std::string("date") ? date : price, false);
    }
    chart.SetSeries("vol", price, recalculate);
  }
  FakeFormula& Formula(TGP& chart, int pane) { return static_cast<FakeFormula&>(chart.Pane(pane)); }

  FakeLibrary library;
  RecordingHost host;
  std::vector<FakeFormula*> formulas;
  std::vector<std::string> errors;
};

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

}  // namespace
}  // namespace vorelin::testing
