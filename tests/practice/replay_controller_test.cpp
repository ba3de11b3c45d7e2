#include <gtest/gtest.h>

#include "common/data_root.h"
#include "practice/numeric_box.h"
#include "market/stock_quote.h"
#include "practice/replay_controller.h"
#include "recording_chart.h"
#include "temp_root.h"

namespace vorelin {
namespace {

using testing::RecordingChart;
using testing::RecordingMessages;
using testing::TempRoot;

class ReplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.WriteDayFile("600000", 60);
    replay_.Boxes.Period = 1;
    replay_.SetRandomSeed(7);
    ReplayHooks hooks;
    hooks.save_settings = [this] { saves_.push_back(replay_.Base().Cursor); };
    replay_.SetHooks(hooks);
    replay_.ApplyStockCode("600000");
  }
  Tstock& base() { return replay_.Base(); }
  static double CloseOf(int row) { return 10 + row; }

  TempRoot root_;
  RecordingChart chart_;
  RecordingMessages messages_;
  ReplayController replay_{root_.path(), chart_, messages_};
  std::vector<int> saves_;
};

TEST_F(ReplayTest, PracticeScenario) {
  replay_.OpenStock();
  EXPECT_EQ(chart_.Take(), (std::vector<std::string>{
                               "clear", "reset", "bar3d 0", "series date 1", "series time 1",
                               "series open 1", "series high 1", "series low 1",
                               "series close 1", "series amount 1", "series vol 1 recalc"}));
  EXPECT_EQ(base().Cursor, 1);
  EXPECT_EQ(chart_.label, "600000");

  // 25 steps, the settings saved at each tenth cursor.
  for (int i = 0; i < 25; ++i) replay_.NextClick();
  EXPECT_EQ(base().CurrentRow, 25);
  EXPECT_EQ(base().Cursor, 26);
  EXPECT_EQ(saves_, (std::vector<int>{10, 20}));
  ASSERT_EQ(chart_.closes.size(), 26u);
  EXPECT_EQ(chart_.closes.back(), CloseOf(25));
  EXPECT_EQ(chart_.Take().back(), "append 20240127 0 35.00");
  EXPECT_EQ(replay_.Account().Price, CloseOf(25));
  EXPECT_EQ(replay_.CurrentDate(), TempRoot::DateOf(25));
  EXPECT_EQ(replay_.ReferenceHigh(), static_cast<float>(CloseOf(25) + 1));

  // Previous bar: the last bar is taken back and revealed again by the next step.
  replay_.PreviousBar();
  EXPECT_EQ(base().CurrentRow, 24);
  EXPECT_EQ(base().Cursor, 25);
  const std::vector<std::string> redraw = chart_.Take();
  EXPECT_EQ(redraw.front(), "clear");
  EXPECT_EQ(redraw[1], "begin");
  EXPECT_EQ(redraw.back(), "end");
  EXPECT_EQ(chart_.closes.size(), 25u);
  EXPECT_EQ(replay_.Account().Price, CloseOf(24));

  // Weekly: 25 rows are 5 weeks; the first step advances two rows, later ones one.
  EXPECT_EQ(chart_.figure_set, "600000|day|1");
  ASSERT_TRUE(replay_.PeriodCommand("周线"));
  EXPECT_EQ(chart_.week, "周线");
  EXPECT_EQ(chart_.figure_set, "600000|day|5") << "figures of each period apart";
  EXPECT_EQ(chart_.closes.size(), 5u);
  replay_.NextClick();
  EXPECT_EQ(base().CurrentRow, 26);
  EXPECT_EQ(chart_.closes.size(), 6u);
  EXPECT_EQ(chart_.closes.back(), CloseOf(26));
  EXPECT_EQ(replay_.Account().Price, CloseOf(26));
  replay_.NextClick();
  EXPECT_EQ(base().CurrentRow, 27);
  EXPECT_EQ(chart_.week, "周线") << "each step clears the chart; the label must come back";
  EXPECT_EQ(saves_.size(), 2u) << "no saving at a longer period";

  // Back to daily: every revealed row, none more.
  ASSERT_TRUE(replay_.PeriodCommand("日线"));
  EXPECT_EQ(chart_.week, "");
  EXPECT_EQ(chart_.figure_set, "600000|day|1");
  EXPECT_EQ(base().PeriodMultiplier, 1);
  EXPECT_EQ(chart_.closes.size(), 28u);
  EXPECT_EQ(base().Cursor, 28);
  replay_.NextClick();
  EXPECT_EQ(chart_.closes.back(), CloseOf(28));

  // Start row by Enter, and one past the file.
  replay_.Boxes.StartRow = "40";
  replay_.StartRowEnter();
  EXPECT_EQ(base().StartRow, 1);
  EXPECT_EQ(base().CurrentRow, 40);
  EXPECT_EQ(chart_.closes.size(), 40u);
  replay_.Boxes.StartRow = "60";
  replay_.StartRowEnter();
  EXPECT_EQ(messages_.Last(), "当前行大于最大行60");
  EXPECT_EQ(base().CurrentRow, 40);

  // Start date found, and not found (nothing changes).
  const std::string found = FormatPickerDate(TempRoot::DateOf(30), "yyyymmdd");
  replay_.SelectStartDate(found);
  EXPECT_EQ(messages_.Last(), "已找到当前日期" + found);
  EXPECT_EQ(base().StartRow, 15);
  EXPECT_EQ(base().CurrentRow, 30);
  EXPECT_EQ(chart_.closes.size(), 16u);
  replay_.SelectStartDate("20230101");
  EXPECT_EQ(messages_.Last(), "没找到当前日期20230101");
  EXPECT_EQ(base().CurrentRow, 30);
  EXPECT_EQ(base().Cursor, 31);

  // End of data while playing: the play stops with the message.
  replay_.Boxes.StartRow = "58";
  replay_.StartRowEnter();
  replay_.PlayClick();
  EXPECT_TRUE(replay_.TimerRuns());
  EXPECT_STREQ(replay_.PlayCaption(), "暂停");
  replay_.PlayTick();
  EXPECT_EQ(base().CurrentRow, 59);
  messages_.shown.clear();
  replay_.PlayTick();
  EXPECT_EQ(messages_.shown, std::vector<std::string>{"已到最后行！"});
  EXPECT_FALSE(replay_.Playing());
  EXPECT_STREQ(replay_.PlayCaption(), "播放");
  EXPECT_EQ(base().CurrentRow, 59);

  // Holding shares: no random training and no other stock.
  replay_.BuyClick();
  EXPECT_EQ(messages_.Last(), "买入成功！");
  EXPECT_GT(replay_.Account().LongQty, 0);
  replay_.RandomTraining();
  EXPECT_EQ(messages_.Last(), "当前未清仓，请清仓后更换！");
  replay_.StockCodeEnter();
  EXPECT_EQ(messages_.Last(), "当前未清仓，请清仓后更换！");
  replay_.StartRowDoubleClick();
  EXPECT_EQ(messages_.Last(), "当前股票未清仓，请清仓后再更换开始行！");
  EXPECT_EQ(replay_.Boxes.StockCode, "600000");
  EXPECT_EQ(base().CurrentRow, 59);
}

TEST_F(ReplayTest, TheBoardShowsTheReplayedQuoteNotTheDirectorysStoredOne) {
  // The directory holds today's real quote and the stock's capital.
  TStockDirEntry stored;
  stored.SetCode("600000");
  stored.SetName("浦发银行");
  StockQuote today;
  today.last = 99.99f;
  today.prev_close = 98;
  today.high = 101;
  today.low = 97;
  today.open = 98.5f;
  today.total_volume = 777777;
  today.total_amount = 88888888;
  today.inner_volume = today.outer_volume = 5555;
  today.bid_price.fill(99.98f);
  today.bid_volume.fill(10);
  today.ask_price.fill(100);
  today.ask_volume.fill(20);
  WriteStockQuote(today, stored);
  StockCapital capital{5000, 1, 1, 10000, 300000, 5000, 6};
  WriteStockCapital(capital, stored);
  StockDirectory directory;
  ASSERT_TRUE(directory.Upsert(stored));
  replay_.SetStockDirectory(&directory);

  replay_.OpenStock();
  for (int i = 0; i < 30; ++i) replay_.NextClick();
  ASSERT_EQ(base().CurrentRow, 30);
  const StockQuote shown = ReadStockQuote(chart_.quote);
  EXPECT_FLOAT_EQ(shown.last, static_cast<float>(CloseOf(30)));
  EXPECT_FLOAT_EQ(shown.prev_close, static_cast<float>(CloseOf(29)));
  EXPECT_FLOAT_EQ(shown.open, static_cast<float>(CloseOf(30) - 0.5));
  EXPECT_FLOAT_EQ(shown.high, static_cast<float>(CloseOf(30) + 1));
  EXPECT_FLOAT_EQ(shown.low, static_cast<float>(CloseOf(30) - 1));
  EXPECT_FLOAT_EQ(shown.total_amount, 1000.0f * 31);
  EXPECT_FLOAT_EQ(shown.total_volume, 100.0f * 31);
  EXPECT_EQ(shown.bid_price, (std::array<float, 5>{})) << "no order book from today";
  EXPECT_EQ(shown.ask_volume, (std::array<float, 5>{}));
  EXPECT_EQ(shown.inner_volume, 0);
  EXPECT_EQ(shown.outer_volume, 0);
  EXPECT_EQ(ReadStockCapital(chart_.quote).total_shares, 10000) << "capital rows as the directory has them";
  EXPECT_EQ(chart_.quote.Name(), "浦发银行");

  // Any redraw (here the weekly view and back) shows the last revealed bar too.
  ASSERT_TRUE(replay_.PeriodCommand("周线"));
  EXPECT_FLOAT_EQ(ReadStockQuote(chart_.quote).last, static_cast<float>(CloseOf(30)));
  replay_.PreviousBar();
  EXPECT_FLOAT_EQ(ReadStockQuote(chart_.quote).last, static_cast<float>(CloseOf(29)));

  // A view that cleared the chart (the intraday view) gets the same quote and names back.
  chart_.ClearData();
  chart_.quote = TStockDirEntry{};
  chart_.label.clear();
  replay_.ShowBoardQuote();
  EXPECT_FLOAT_EQ(ReadStockQuote(chart_.quote).last, static_cast<float>(CloseOf(29)));
  EXPECT_EQ(chart_.label, "600000");
}

TEST_F(ReplayTest, LongerPeriodAtTheLastRowStaysSilently) {
  replay_.OpenStock();
  replay_.Boxes.StartRow = "58";
  replay_.StartRowEnter();
  ASSERT_TRUE(replay_.PeriodCommand("月线"));
  messages_.shown.clear();
  for (int i = 0; i < 3; ++i) replay_.NextClick();
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(base().CurrentRow, 58);  // a longer period never moves onto the last row
}

TEST_F(ReplayTest, SavedRowsBeyondTheFileAreClamped) {
  base().StartRow = 5;
  base().SetCurrentRow(500);
  replay_.OpenStock();
  EXPECT_EQ(chart_.closes.size(), 55u);
  EXPECT_EQ(base().CurrentRow, 59);
  EXPECT_EQ(base().Cursor, 60);
  EXPECT_EQ(replay_.Account().Price, CloseOf(59));
  replay_.NextClick();
  EXPECT_EQ(messages_.Last(), "已到最后行！");
}

TEST_F(ReplayTest, StartRowZeroShowsNothing) {
  replay_.OpenStock();
  replay_.Boxes.StartRow = "0";
  replay_.StartRowEnter();
  EXPECT_TRUE(chart_.closes.empty());
  EXPECT_EQ(base().CurrentRow, 0);
  replay_.NextClick();
  ASSERT_EQ(chart_.closes.size(), 1u);
  EXPECT_EQ(chart_.closes[0], CloseOf(1));
  EXPECT_EQ(base().CurrentRow, 1);
}

TEST_F(ReplayTest, StepWithNothingRevealedReloadsAndShowsTheFirstRow) {
  replay_.OpenStock();
  base().Cursor = 0;
  base().SetCurrentRow(0);
  replay_.NextClick();
  EXPECT_EQ(chart_.Take().front(), "clear");
  ASSERT_EQ(chart_.closes.size(), 1u);
  EXPECT_EQ(chart_.closes[0], CloseOf(0));
  EXPECT_EQ(base().CurrentRow, 0);
  EXPECT_EQ(base().Cursor, 1);
  replay_.NextClick();
  EXPECT_EQ(chart_.closes.back(), CloseOf(1));
  EXPECT_EQ(base().CurrentRow, 1);
  replay_.PreviousBar();  // a redraw shows only what was revealed
  EXPECT_EQ(replay_.Account().Price, CloseOf(0));
}

TEST_F(ReplayTest, RandomWindowShowsAtMost101Bars) {
  root_.WriteDayFile("300", 300);
  replay_.ApplyStockCode("300");
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    replay_.SetRandomSeed(seed);
    replay_.LoadRandomWindow();
    const int start = base().StartRow, end = base().CurrentRow;
    EXPECT_LE(end - start, 100);
    EXPECT_GE(start, 0);
    EXPECT_EQ(base().Cursor, end + 1);
    EXPECT_EQ(static_cast<int>(chart_.closes.size()), end - start + 1);
    EXPECT_EQ(replay_.Account().Price, CloseOf(end));
  }
  root_.WriteDayFile("one", 1);
  replay_.ApplyStockCode("one");
  replay_.LoadRandomWindow();
  EXPECT_EQ(chart_.closes.size(), 1u);
  EXPECT_EQ(base().CurrentRow, 0);
}

TEST_F(ReplayTest, RandomTrainingAndCodeEntry) {
  replay_.RandomTraining();
  EXPECT_EQ(replay_.Boxes.StockCode, "600000");  // the only file
  EXPECT_EQ(replay_.Account().StockCode, "600000");
  EXPECT_FALSE(chart_.closes.empty());

  replay_.Boxes.StockCode = "000404";
  replay_.StockCodeEnter();
  EXPECT_EQ(messages_.Last(),
            "文件：" + (root_.path() / "DayData" / "000404.TXT").string() + "不存在");
  replay_.Boxes.StockCode = "../x";
  replay_.StockCodeEnter();
  EXPECT_EQ(messages_.Last(), UnsafeStockCodeMessage("../x"));
  replay_.Boxes.StockCode = "600000";
  replay_.StockCodeEnter();
  EXPECT_EQ(messages_.Last(), "数据载入成功！");

  replay_.Boxes.Period = 0;  // no minute files
  EXPECT_EQ(replay_.PickRandomStock(), "");
  EXPECT_EQ(messages_.Last(), "路径'" + (root_.path() / "MinData" / "").string() +
                                  "'没有数据文件，请先导入数据文件！");
}

// Typing another code and pressing Enter while holding shares, or entering a code without
// data, leaves the box, the account and the chart on the stock being replayed.
TEST_F(ReplayTest, RefusedStockChangesKeepTheOpenStock) {
  root_.WriteDayFile("000002", 60);
  replay_.OpenStock();
  for (int i = 0; i < 5; ++i) replay_.NextClick();
  replay_.BuyClick();
  ASSERT_GT(replay_.Account().LongQty, 0);
  auto expect_on_600000 = [&](const char* step) {
    SCOPED_TRACE(step);
    EXPECT_EQ(replay_.Boxes.StockCode, "600000");
    EXPECT_EQ(replay_.Account().StockCode, "600000");
    EXPECT_EQ(replay_.DataFilePath(), root_.path() / "DayData" / "600000.TXT");
    EXPECT_EQ(chart_.label, "600000");
  };
  replay_.ApplyStockCode("000002");
  replay_.StockCodeEnter();
  EXPECT_EQ(messages_.Last(), "当前未清仓，请清仓后更换！");
  expect_on_600000("code entry while holding");
  replay_.NextClick();
  expect_on_600000("step after the refusal");
  replay_.RandomTraining();
  expect_on_600000("random training while holding");
  const int row = base().CurrentRow;
  replay_.StartRowDoubleClick();
  EXPECT_EQ(base().CurrentRow, row);
  expect_on_600000("start row while holding");

  replay_.SellClick();
  ASSERT_EQ(replay_.Account().LongQty, 0);
  replay_.ApplyStockCode("000404");
  replay_.StockCodeEnter();
  EXPECT_EQ(messages_.Last(),
            "文件：" + (root_.path() / "DayData" / "000404.TXT").string() + "不存在");
  expect_on_600000("a code without data");
}

TEST_F(ReplayTest, NothingLoaded) {
  replay_.Redraw();
  EXPECT_EQ(messages_.Last(), "尚未载入！");
  messages_.shown.clear();
  replay_.PeriodCommand("周线");
  EXPECT_EQ(messages_.shown, std::vector<std::string>{"尚未载入！"});
}

TEST_F(ReplayTest, MinuteDateLandsOnThatDayAndHalvesTheStartRow) {
  root_.WriteMinuteFile("600000", 5, 240);
  replay_.Boxes.Period = 0;
  replay_.OpenStock();
  const std::string day = std::to_string(TempRoot::DateOf(3));
  replay_.SelectStartDate(day);
  EXPECT_EQ(messages_.Last(), "已找到当前日期" + day);
  const int row = base().CurrentRow;
  EXPECT_GE(row, 3 * 240);
  EXPECT_LT(row, 4 * 240);
  EXPECT_EQ(base().StartRow, row / 2);
  ASSERT_TRUE(replay_.PeriodCommand("60分钟"));
  EXPECT_EQ(chart_.week, "");
  EXPECT_EQ(base().PeriodMultiplier, 60);
  EXPECT_FALSE(replay_.PeriodCommand("季线"));  // not a minute-data command
}

TEST_F(ReplayTest, PlaySpeedAndIntradayView) {
  struct Speed { const char* text; int interval; bool ticks; };
  const Speed kSpeeds[] = {{"10", 1000, true}, {"3", 300, true}, {"abc", 100, true},
                           {"0", 0, false}, {"-2", -200, false}};
  for (const Speed& s : kSpeeds) {
    SCOPED_TRACE(s.text);
    replay_.SetPlaySpeed(s.text);
    replay_.PlayClick();
    EXPECT_TRUE(replay_.Playing());
    EXPECT_EQ(replay_.PlayInterval(), s.interval);
    EXPECT_EQ(replay_.TimerRuns(), s.ticks);
    replay_.PlayClick();
    EXPECT_FALSE(replay_.Playing());
  }
  replay_.OpenStock();
  replay_.SetPlaySpeed("1");
  replay_.PlayClick();
  chart_.show_fs = true;
  replay_.PlayTick();
  EXPECT_FALSE(replay_.Playing());
  EXPECT_EQ(base().CurrentRow, 0);
}

TEST_F(ReplayTest, TradesAtTheLastCloseUsingTheChoices) {
  replay_.OpenStock();
  for (int i = 0; i < 5; ++i) replay_.NextClick();  // close 15
  replay_.BuyChoice = "半仓";
  replay_.BuyClick();
  // b = trunc(10000 * 0.99 / 15) = 660; half = trunc(660 / 200) * 100 = 300.
  EXPECT_EQ(replay_.Account().LongQty, 300);
  EXPECT_EQ(replay_.QuantityBox, "0");
  replay_.QuantityBox = "1000000";
  replay_.BuyClick();
  EXPECT_EQ(messages_.Last(), "可用资金不足！");
  // A typed negative quantity is no order: refused, nothing filled in from the choice.
  for (const char* typed : {"-100", "-0.5"}) {
    SCOPED_TRACE(typed);
    for (bool buy : {true, false}) {
      replay_.QuantityBox = typed;
      buy ? replay_.BuyClick() : replay_.SellClick();
      EXPECT_EQ(messages_.Last(), "买卖数量有误！");
      EXPECT_EQ(replay_.Account().LongQty, 300);
    }
  }
  replay_.NextClick();
  replay_.SellClick();
  EXPECT_EQ(messages_.Last(), "卖出成功");
  EXPECT_EQ(replay_.Account().LongQty, 0);
}

TEST(NumericBox, OtherKeysBecomeZero) {
  for (char kept : {'0', '7', '9', '-', '.', '\b', '\r'}) EXPECT_EQ(FilterNumericKey(kept), kept);
  for (char replaced : {'a', ' ', ',', '+', 'e'}) EXPECT_EQ(FilterNumericKey(replaced), '0');
}

TEST(PickerDate, Formats) {
  EXPECT_EQ(FormatPickerDate(20240105, "yyyymmdd"), "20240105");
  EXPECT_EQ(FormatPickerDate(20240105, "yyyy-m-d"), "2024-1-5");
  EXPECT_EQ(FormatPickerDate(20240105, "YY/MM/DD"), "24/01/05");
}

}  // namespace
}  // namespace vorelin
