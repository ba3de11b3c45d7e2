#include "practice/multi_period.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <numeric>

#include "common/text_file.h"
#include "market/bar_columns.h"
#include "recording_chart.h"
#include "temp_root.h"

namespace vorelin {
namespace {

using testing::RecordingChart;
using testing::RecordingMessages;
using testing::TempRoot;

// Keeps every column it is handed, not only dates and closes.
class ColumnsChart : public RecordingChart {
 public:
  void ClearData() override {
    RecordingChart::ClearData();
    columns.clear();
  }
  void SetSeries(std::string_view name, const std::vector<double>& values,
                 bool recalculate) override {
    RecordingChart::SetSeries(name, values, recalculate);
    columns[std::string(name)] = values;
  }
  const std::vector<double>& Vol() { return columns["vol"]; }
  std::map<std::string, std::vector<double>> columns;
};

class MultiPeriodTest : public ::testing::Test {
 protected:
  std::array<ChartPort*, kMultiPeriodCharts> Ports() {
    std::array<ChartPort*, kMultiPeriodCharts> ports{};
    for (size_t k = 0; k < ports.size(); ++k) ports[k] = &charts_[k];
    return ports;
  }
  void OpenDayStock(int rows, int steps) {
    root_.WriteDayFile("600000", rows);
    replay_.Boxes.Period = 1;
    replay_.ApplyStockCode("600000");
    replay_.OpenStock();
    for (int i = 0; i < steps; ++i) replay_.NextClick();
  }
  // Calls made on any small chart since the last look.
  size_t TakeSmallChartCalls() {
    size_t n = 0;
    for (ColumnsChart& chart : charts_) n += chart.Take().size();
    return n;
  }
  Tstock& base() { return replay_.Base(); }

  TempRoot root_;
  RecordingChart main_;
  RecordingMessages messages_;
  ReplayController replay_{root_.path(), main_, messages_};
  std::array<ColumnsChart, kMultiPeriodCharts> charts_;
  MultiPeriodCharts window_{replay_, Ports()};
};

TEST_F(MultiPeriodTest, DayDataWithACustomPeriodOfTenShowsTenDayBars) {
  OpenDayStock(60, 34);  // rows 0 … 34 revealed
  ASSERT_EQ(base().CurrentRow, 34);
  window_.RefreshAll(1);
  EXPECT_EQ(charts_[0].closes.size(), 35u);
  EXPECT_EQ(charts_[1].closes.size(), 7u);
  EXPECT_EQ(charts_[1].week, "周线");
  EXPECT_EQ(charts_[4].week, "半年线");
  EXPECT_EQ(charts_[0].label, "600000");
  // The bottom row has no period until one is typed: it shows nothing.
  for (int k = 6; k < 9; ++k) {
    EXPECT_TRUE(charts_[k].calls.empty()) << k;
    EXPECT_TRUE(charts_[k].closes.empty()) << k;
  }
  EXPECT_EQ(charts_[6].week, "自定义");
  EXPECT_EQ(window_.Tag(6), 0);

  ASSERT_TRUE(window_.SetCustomPeriod(6, "10"));
  EXPECT_EQ(window_.Period(6), 10);
  EXPECT_EQ(charts_[6].week, "10日线");
  // Rows 0–9, 10–19, 20–29 and the growing bar of rows 30–34; day file row i closes at
  // 10 + i with volume 100 × (i + 1).
  EXPECT_EQ(charts_[6].closes, (std::vector<double>{19, 29, 39, 44}));
  EXPECT_EQ(charts_[6].Vol(), (std::vector<double>{5500, 15500, 25500, 16500}));
  EXPECT_EQ(charts_[6].dates.back(), TempRoot::DateOf(34));
  EXPECT_TRUE(charts_[7].closes.empty());

  // The label stays the custom one on later refreshes.
  replay_.NextClick();
  window_.RefreshAll(1);
  EXPECT_EQ(charts_[6].week, "10日线");
  EXPECT_EQ(charts_[6].closes.back(), 45);
}

TEST_F(MultiPeriodTest, MinuteDataPositionFiveMakesDayBarsOf240Rows) {
  root_.WriteMinuteFile("600001", 3, 240);
  replay_.Boxes.Period = 0;
  replay_.ApplyStockCode("600001");
  replay_.OpenStock();
  base().SetCurrentRow(599);  // two whole days and half of the third
  replay_.Redraw();
  window_.RefreshAll(0);
  EXPECT_EQ(charts_[5].week, "日线");
  EXPECT_EQ(window_.Tag(5), 240);
  // Every minute row has volume 10.
  EXPECT_EQ(charts_[5].Vol(), (std::vector<double>{2400, 2400, 1200}));
  EXPECT_EQ(charts_[5].dates, (std::vector<int>{TempRoot::DateOf(0), TempRoot::DateOf(1),
                                                 TempRoot::DateOf(2)}));
  EXPECT_EQ(charts_[0].closes.size(), 600u);
  EXPECT_EQ(charts_[8].Vol(), (std::vector<double>{6000})) << "one partial year bar";

  ASSERT_TRUE(window_.SetCustomPeriod(2, "120"));
  EXPECT_EQ(charts_[2].week, "120分钟");
  EXPECT_EQ(charts_[2].Vol(), (std::vector<double>{1200, 1200, 1200, 1200, 1200}));
}

TEST_F(MultiPeriodTest, TextThatIsNoWholeNumberAboveZeroChangesNothing) {
  OpenDayStock(60, 20);
  window_.RefreshAll(1);
  TakeSmallChartCalls();
  for (const char* text : {"abc", "0", "-3", "", "2.5"}) {
    EXPECT_FALSE(window_.SetCustomPeriod(6, text)) << text;
    EXPECT_FALSE(window_.SetCustomPeriod(1, text)) << text;
    EXPECT_EQ(window_.Period(6), 0) << text;
    EXPECT_EQ(window_.Period(1), 0) << text;
    EXPECT_EQ(charts_[6].week, "自定义") << text;
    EXPECT_EQ(charts_[1].week, "周线") << text;
    EXPECT_EQ(TakeSmallChartCalls(), 0u) << text;
  }
}

// Every bar of every chart is made of revealed rows only, and together they are all of
// them: the volumes add up to the revealed rows' and the newest bar ends on the current row.
TEST_F(MultiPeriodTest, TheChartsNeverShowARowBeyondTheReplaysCurrentRow) {
  ReplayHooks hooks;
  hooks.after_next = [this] { window_.RefreshAll(1); };
  hooks.refresh_multi_period = [this] { window_.RefreshAll(1); };
  replay_.SetHooks(hooks);
  OpenDayStock(80, 0);
  window_.RefreshAll(1);
  ASSERT_TRUE(window_.SetCustomPeriod(7, "3"));
  auto check = [this](const std::string& when) {
    const int from = base().StartRow, to = base().CurrentRow;
    double revealed = 0;
    for (int row = from; row <= to && from < to; ++row) revealed += 100.0 * (row + 1);
    for (int k : {0, 1, 2, 3, 4, 5, 7}) {
      const std::vector<double>& vol = charts_[k].Vol();
      EXPECT_EQ(std::accumulate(vol.begin(), vol.end(), 0.0), revealed) << when << " chart " << k;
      ASSERT_FALSE(charts_[k].dates.empty()) << when << " chart " << k;
      EXPECT_EQ(charts_[k].dates.back(), TempRoot::DateOf(to)) << when << " chart " << k;
    }
    EXPECT_TRUE(charts_[6].dates.empty() && charts_[8].dates.empty()) << when;
  };
  for (int i = 0; i < 12; ++i) {
    replay_.NextClick();
    check("step " + std::to_string(i + 1));
  }
  ASSERT_TRUE(replay_.PeriodCommand("周线"));
  for (int i = 0; i < 6; ++i) {
    replay_.NextClick();
    check("weekly step " + std::to_string(i + 1));
  }
  replay_.PreviousBar();
  check("previous bar");
  replay_.Boxes.StartRow = "5";
  replay_.StartRowEnter();
  check("start row 5");
  for (int i = 0; i < 3; ++i) replay_.NextClick();
  check("after the new start row");
}

// The charts take their bars from the loaded bars; they must be the period aggregation's.
TEST_F(MultiPeriodTest, BarsAreThoseOfThePeriodAggregation) {
  OpenDayStock(60, 0);
  for (const auto& [start, current] : {std::pair{3, 47}, std::pair{0, 59}, std::pair{10, 75}}) {
    base().StartRow = start;
    base().SetCurrentRow(current);
    for (const char* period : {"1", "4", "7", "45", "60", "100"}) {
      ASSERT_TRUE(window_.SetCustomPeriod(7, period));
      Tstock aggregate;
      aggregate.CopyFrom(base());
      aggregate.PeriodMultiplier = std::stoi(period);
      aggregate.Aggregate();
      const BarColumns expected = ColumnsOf(aggregate.Bars, 0, aggregate.BarCount - 1);
      for (size_t c = 0; c < BarColumns::kNames.size(); ++c)
        EXPECT_EQ(charts_[7].columns[BarColumns::kNames[c]], expected[c])
            << start << ".." << current << " period " << period << " " << BarColumns::kNames[c];
    }
  }
}

TEST_F(MultiPeriodTest, ANewStockWithNothingRevealedEmptiesTheCharts) {
  OpenDayStock(60, 10);
  window_.RefreshAll(1);
  ASSERT_FALSE(charts_[1].closes.empty());
  base().SetCurrentRow(base().StartRow);  // one row revealed: no bar at any period
  window_.RefreshAll(1);
  EXPECT_TRUE(charts_[1].closes.empty());
  EXPECT_EQ(charts_[1].week, "周线");
}

TEST_F(MultiPeriodTest, NothingLoadedLeavesTheChartsAlone) {
  window_.RefreshAll(1);
  EXPECT_EQ(window_.Mode(), 1);
  EXPECT_EQ(TakeSmallChartCalls(), 0u);
  EXPECT_EQ(charts_[1].week, "");
}

TEST_F(MultiPeriodTest, DoubleClickSwitchesTheMainChartButNeverToZero) {
  OpenDayStock(60, 34);
  window_.RefreshAll(1);
  main_.Take();

  // Position 6 of day data has no table period: without a custom one nothing happens.
  EXPECT_EQ(window_.SwitchMultiplier(6), 0);
  EXPECT_FALSE(window_.SwitchMainChart(6));
  EXPECT_TRUE(main_.Take().empty());
  EXPECT_EQ(base().PeriodMultiplier, 1);

  // With a custom period that one is used.
  ASSERT_TRUE(window_.SetCustomPeriod(6, "10"));
  ASSERT_TRUE(window_.SwitchMainChart(6));
  EXPECT_EQ(main_.closes, (std::vector<double>{19, 29, 39, 44}));
  EXPECT_EQ(base().PeriodMultiplier, 10);

  // A position with a table period switches to it, whatever its custom period.
  ASSERT_TRUE(window_.SetCustomPeriod(1, "3"));
  EXPECT_EQ(window_.SwitchMultiplier(1), 5);
  ASSERT_TRUE(window_.SwitchMainChart(1));
  EXPECT_EQ(main_.closes.size(), 7u);
  EXPECT_EQ(base().PeriodMultiplier, 5);
  // The next step goes on at that period (its first step moves two rows, as the period
  // commands' do).
  replay_.NextClick();
  EXPECT_EQ(main_.closes.back(), 46);
  EXPECT_EQ(main_.closes.size(), 8u);
}

TEST(MultiPeriodPlaceTest, ChartsAreCutFromTheClientArea) {
  struct Case {
    const char* name;
    int count, position;
    ChartPlace place;
  };
  const Case cases[] = {
      {"four: the lower right quarter", 4, 4, {476, 333, 476, 333}},
      {"four: a sliver at the right edge", 4, 2, {952, 0, 476, 333}},
      {"four: a sliver at the bottom", 4, 6, {0, 666, 476, 333}},
      {"six: the middle of the second row", 6, 4, {322, 333, 322, 333}},
      {"six: the third row at the bottom edge", 6, 8, {644, 666, 322, 333}},
      {"nine: the last", 9, 8, {644, 450, 322, 225}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MultiPeriodPlace(c.count, c.position, 1000, 700), c.place) << c.name;
}

TEST_F(MultiPeriodTest, OnlyFourSixAndNineAreLayoutCounts) {
  EXPECT_EQ(window_.LayoutCount(), 4);
  for (int count : {6, 5, 0, 10}) window_.SetLayoutCount(count);
  EXPECT_EQ(window_.LayoutCount(), 6);
  window_.SetLayoutCount(9);
  EXPECT_EQ(window_.LayoutCount(), 9);
}

TEST_F(MultiPeriodTest, TheDefaultFormulaIsWrittenOnlyWhereThereIsNone) {
  std::string error;
  ASSERT_TRUE(WriteDefaultMultiPeriodFormula(root_.path(), &error)) << error;
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines(root_.path() / "mac.wfc", lines));
  EXPECT_EQ(lines, SplitLines(kDefaultMultiPeriodFormula));

  { std::ofstream(root_.path() / "mac.wfc", std::ios::binary) << "MA1:MA(CLOSE,7);\r\n"; }
  ASSERT_TRUE(WriteDefaultMultiPeriodFormula(root_.path(), &error));
  ASSERT_TRUE(ReadTextLines(root_.path() / "mac.wfc", lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"MA1:MA(CLOSE,7);"}));
}

}  // namespace
}  // namespace vorelin
