// Opening and replaying the intraday view against a recording host: cached file first, else
// a request; the tick step; the transaction answers and their file.
#include <gtest/gtest.h>

#include "market/intraday_file.h"
#include "market/intraday_view.h"
#include "temp_folder.h"

namespace vorelin {
namespace {

class RecordingHost : public IntradayHost {
 public:
  void EnsureQuoteReceiver() override { calls.push_back("receiver"); }
  void RequestMinuteData(const TStockDirEntry& s, int date) override {
    calls.push_back("minutes " + s.Code() + " " + std::to_string(date));
  }
  void RequestTransactions(const TStockDirEntry& s, int date, int start) override {
    calls.push_back("trades " + s.Code() + " " + std::to_string(date) + " " + std::to_string(start));
  }
  void SetCaption(const std::string& c) override { caption = c; }
  void ShowMessage(const std::string& t) override { calls.push_back("show " + t); }
  void SetTickTimer(bool on, int interval) override {
    timer_on = on;
    timer_interval = interval;
  }
  void ClearData() override { calls.push_back("clear"); }
  void SetFsAll(bool on) override { fs_all = on; }
  void SetFsFull(bool on) override { fs_full = on; }
  void SetPrevClose(double c) override { prev_close = c; }
  void AppendTick(int minute, double price, double amount, double volume) override {
    ticks.push_back({minute, price, amount, volume});
  }
  void ResetIntradayFormulaData() override { calls.push_back("reset"); }
  void MarkAccount(double price) override { marked = price; }
  void SetPankouLines(const std::vector<std::string>& l) override { pankou = l; }
  void SetTransactionLines(const std::vector<std::string>& l) override { trade_lines = l; }
  void SetDayTrades(const std::vector<TTradeTick>& t) override {
    day_trades.clear();
    for (const TTradeTick& tick : t) day_trades.push_back(tick.time);
  }
  void UpdateDisplay() override { ++displays; }

  struct Tick { int minute; double price, amount, volume; };
  std::vector<std::string> calls;
  std::string caption;
  bool timer_on = false, fs_all = false, fs_full = false;
  int timer_interval = 0, displays = 0;
  double prev_close = 0, marked = 0;
  std::vector<Tick> ticks;
  std::vector<std::string> pankou, trade_lines;
  std::vector<int> day_trades;  // times of the board's transactions
};

TStockDirEntry Stock() {
  TStockDirEntry e;
  e.SetCode("600000");
  e.SetName("浦发银行");
  e.SetMarket(1);
  return e;
}

Tstock Base(int current_row) {
  Tstock s;
  s.LoadLines({"20240104,9.0,9.5,8.9,9.2,1000,100", "20240105,9.2,9.9,9.1,9.8,1000,100"});
  s.CurrentRow = current_row;
  return s;
}

struct ViewFixture : ::testing::Test {
  TempFolder root;
  RecordingHost host;
  IntradayView view{root.Path(), host};
  TStockDirEntry stock = Stock();
  std::string error;
};

TEST_F(ViewFixture, FirstOpeningAsksSecondReadsTheFile) {
  view.SetReferenceHigh(20.0);
  ASSERT_TRUE(view.Open(20240105, &stock, "5", error));
  EXPECT_EQ(host.caption, "浦发银行(600000) 2024年1月05日 星期五");
  EXPECT_TRUE(host.fs_all);
  EXPECT_TRUE(host.fs_full);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"receiver", "clear", "minutes 600000 20240105"}));

  view.OnMinuteAnswer({{0, 10.0f, 100}, {1, 8.0f, 50}});
  EXPECT_FALSE(host.fs_full);
  EXPECT_DOUBLE_EQ(view.IntradayFactor(), 2.0);
  EXPECT_DOUBLE_EQ(view.Amounts()[1], 400.0);
  EXPECT_TRUE(std::filesystem::exists(root.Path() / "tick" / "60000020240105.bin"));

  host.calls.clear();
  ASSERT_TRUE(view.Open(20240105, &stock, "x", error));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"receiver", "clear", "reset"}));
  EXPECT_TRUE(host.timer_on);
  EXPECT_EQ(host.timer_interval, 1000);  // play speed that does not convert: 10
  EXPECT_EQ(view.Points().size(), 2u);
  EXPECT_EQ(view.TickPosition(), 0);
}

TEST_F(ViewFixture, TooEarlyInvalidAndWithoutStock) {
  ASSERT_TRUE(view.Open(20000105, &stock, "3", error));
  EXPECT_EQ(host.calls.back(), "show 当前日期太早，不支持分时数据！");
  host.calls.clear();
  EXPECT_FALSE(view.Open(20230230, &stock, "3", error));
  EXPECT_EQ(error, "'20230230' 不是有效的日期");
  host.calls.clear();
  ASSERT_TRUE(view.Open(20240105, nullptr, "3", error));
  EXPECT_EQ(host.calls, std::vector<std::string>{"receiver"});
  EXPECT_EQ(view.RequestedDate(), 20240105);
}

TEST_F(ViewFixture, CachedFileEdgeCases) {
  std::filesystem::path path = IntradayFilePath(root.Path(), "600000", 20240105);
  ASSERT_TRUE(WriteIntradayFile(path, {}));
  std::filesystem::resize_file(path, 9);
  ASSERT_TRUE(view.Open(20240105, &stock, "3", error));
  EXPECT_TRUE(view.Points().empty());
  EXPECT_FALSE(host.timer_on);
  EXPECT_EQ(host.calls.back(), "clear");  // no request for a cached (if empty) day

  view.SetReferenceHigh(10.0);
  ASSERT_TRUE(WriteIntradayFile(path, {{0, 5.0f, 1}}));
  ASSERT_TRUE(view.Open(20240105, &stock, "3", error));
  EXPECT_EQ(view.Points().size(), 1u);
  EXPECT_DOUBLE_EQ(view.IntradayFactor(), 2.0);
  ASSERT_TRUE(WriteIntradayFile(path, {{0, 0.0f, 1}, {1, 0.0f, 2}}));
  ASSERT_TRUE(view.Open(20240105, &stock, "3", error));
  EXPECT_DOUBLE_EQ(view.IntradayFactor(), 2.0);  // all prices 0: factor kept
}

TEST_F(ViewFixture, TickStepsThenStopsAtTheLastPoint) {
  view.SetReferenceHigh(20.0);
  ASSERT_TRUE(view.Open(20240105, &stock, "3", error));
  view.OnMinuteAnswer({{0, 10.0f, 100}, {1, 9.0f, 50}});
  TransactionList list;
  list.AddAnswer({{930, 10.0f, 5, 0}, {931, 9.0f, 7, 1}}, 20240105);
  ASSERT_TRUE(list.Write(TransactionListPath(root.Path(), "600000", 20240105)));
  Tstock base = Base(1);

  view.TickStep(base);
  ASSERT_EQ(host.ticks.size(), 1u);
  EXPECT_DOUBLE_EQ(host.ticks[0].price, 20.0);
  EXPECT_DOUBLE_EQ(host.ticks[0].amount, 1000.0);
  EXPECT_DOUBLE_EQ(host.prev_close, 9.2);
  EXPECT_DOUBLE_EQ(host.marked, 20.0);
  EXPECT_EQ(host.pankou, std::vector<std::string>{" 0930  10.000      5 B"});
  view.TickStep(base);
  EXPECT_DOUBLE_EQ(host.marked, 18.0);
  EXPECT_EQ(host.pankou, std::vector<std::string>{" 0931   9.000      7 S"});
  host.timer_on = true;
  view.TickStep(base);
  EXPECT_EQ(host.ticks.size(), 2u);
  EXPECT_DOUBLE_EQ(host.marked, 18.0);
  EXPECT_FALSE(host.timer_on);
  EXPECT_EQ(host.displays, 3);
}

TEST_F(ViewFixture, TickWithoutPointsStopsTheTimer) {
  host.timer_on = true;
  view.TickStep(Base(0));
  EXPECT_FALSE(host.timer_on);
  EXPECT_EQ(host.displays, 0);
}

TEST_F(ViewFixture, TransactionAnswersPageAndWriteTheFile) {
  view.RequestDayTransactions(stock, 20240105);
  std::vector<TTradeTick> page(2000, TTradeTick{1000, 10.0f, 1, 0});
  view.OnTransactionsAnswer(page, 20240105, Base(1));
  view.OnTransactionsAnswer({{930, 9.0f, 2, 1}}, 20240105, Base(1));
  EXPECT_EQ(host.calls, (std::vector<std::string>{"trades 600000 20240105 0",
                                                  "trades 600000 20240105 2000"}));
  EXPECT_EQ(host.trade_lines.size(), 2002u);
  EXPECT_EQ(host.trade_lines[1], " 0930   9.000      2 S");
  EXPECT_TRUE(std::filesystem::exists(root.Path() / "fenbi" / "600000 20240105.txt"));
  view.ClearTransactions();
  EXPECT_TRUE(host.trade_lines.empty());
}

TEST_F(ViewFixture, BoardTradesFollowTheMinutesReplayed) {
  TransactionList list;
  list.AddAnswer({{930, 10.0f, 5, 0}, {931, 9.0f, 7, 1}, {932, 9.5f, 3, 0}}, 20240105);
  ASSERT_TRUE(list.Write(TransactionListPath(root.Path(), "600000", 20240105)));
  ASSERT_TRUE(WriteIntradayFile(IntradayFilePath(root.Path(), "600000", 20240105),
                                {{0, 10.0f, 100}, {1, 9.0f, 50}}));
  ASSERT_TRUE(view.Open(20240105, &stock, "3", error));
  EXPECT_TRUE(host.day_trades.empty()) << "the day's replay has not begun";
  const Tstock base = Base(1);
  view.TickStep(base);
  EXPECT_EQ(host.day_trades, std::vector<int>{930});
  view.TickStep(base);
  EXPECT_EQ(host.day_trades, (std::vector<int>{930, 931}));
  view.TickStep(base);  // past the last point: the whole day
  EXPECT_EQ(host.day_trades, (std::vector<int>{930, 931, 932}));

  view.ClearTransactions();
  EXPECT_TRUE(host.day_trades.empty()) << "a new replay step starts a new day";
  view.RequestDayTransactions(stock, 20240105);
  view.OnTransactionsAnswer({{1400, 9.0f, 2, 1}}, 20240105, base);
  EXPECT_EQ(host.day_trades, std::vector<int>{1400});
}

TEST_F(ViewFixture, DayWithoutMinutesShowsItsWholeTransactionList) {
  TransactionList list;
  list.AddAnswer({{930, 10.0f, 5, 0}, {1455, 9.0f, 7, 1}}, 20240105);
  ASSERT_TRUE(list.Write(TransactionListPath(root.Path(), "600000", 20240105)));
  ASSERT_TRUE(view.Open(20240105, &stock, "3", error));
  EXPECT_EQ(host.day_trades, (std::vector<int>{930, 1455}));
}

TEST(TransactionTicks, ReadBackFromTheListFile) {
  TempFolder root;
  const std::vector<TTradeTick> ticks = {{930, 10.01f, 500, 0}, {1301, 9.5f, 12, 1}};
  TransactionList list;
  list.AddAnswer(ticks, 20240105);  // also writes the date line
  const std::filesystem::path file = TransactionListPath(root.Path(), "600000", 20240105);
  ASSERT_TRUE(list.Write(file));
  EXPECT_EQ(list.Ticks(), ticks);
  EXPECT_EQ(ReadTransactionTicks(file), ticks);
  EXPECT_TRUE(ReadTransactionTicks(root.Path() / "missing.txt").empty());
  EXPECT_EQ(TicksUpTo(ticks, 1300), std::vector<TTradeTick>{ticks[0]});
}

}  // namespace
}  // namespace vorelin
