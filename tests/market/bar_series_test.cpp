#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/text_encoding.h"
#include "market/bar_series.h"
#include "support/recording_messages.h"

namespace vorelin {
namespace {

struct LineCase {
  const char* name;
  const char* line;
  bool bad;
  TBarRecord want;
};

TEST(ParseLine, FieldCounts) {
  const LineCase cases[] = {
      {"7 fields: day line", "20240102,10,11,9,10.5,1000,100", false,
       {"20240102", "", 10, 11, 9, 10.5, 1000, 100}},
      {"8 fields: minute line", "20240102,0931,10,11,9,10.5,1000,100", false,
       {"20240102", "0931", 10, 11, 9, 10.5, 1000, 100}},
      {"9 fields: ninth ignored", "20240102,0931,10,11,9,10.5,1000,100,77", false,
       {"20240102", "0931", 10, 11, 9, 10.5, 1000, 100}},
      {"empty time is not counted", "20240102,,10,11,9,10.5,1000,100", false,
       {"20240102", "", 10, 11, 9, 10.5, 1000, 100}},
      {"leading spaces skipped", "20240102, 10, 11,  9,10.5, 1000,100", false,
       {"20240102", "", 10, 11, 9, 10.5, 1000, 100}},
      {"trailing comma not counted", "20240102,10,11,9,10.5,1000,100,", false,
       {"20240102", "", 10, 11, 9, 10.5, 1000, 100}},
      {"quoted comma is one field", "\"2024,01\",10,11,9,10.5,1000,100", false,
       {"\"2024,01\"", "", 10, 11, 9, 10.5, 1000, 100}},
      {"unconvertible number gives 0", "20240102,x,11,9,10.5,1000,100", false,
       {"20240102", "", 0, 11, 9, 10.5, 1000, 100}},
      {"long date cut to 16", "2024010212345678901,10,11,9,10.5,1000,100", false,
       {"2024010212345678", "", 10, 11, 9, 10.5, 1000, 100}},
      {"6 fields", "20240102,10,11,9,10.5,1000", true, {}},
      {"10 fields", "1,2,3,4,5,6,7,8,9,10", true, {}},
      {"empty line", "", true, {}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing::RecordingMessages messages;
    Tstock stock(&messages);
    TBarRecord bar = stock.ParseLine(c.line, 3);
    EXPECT_EQ(bar.date, c.want.date);
    EXPECT_EQ(bar.time, c.want.time);
    EXPECT_EQ(bar.open, c.want.open);
    EXPECT_EQ(bar.high, c.want.high);
    EXPECT_EQ(bar.low, c.want.low);
    EXPECT_EQ(bar.close, c.want.close);
    EXPECT_EQ(bar.amount, c.want.amount);
    EXPECT_EQ(bar.vol, c.want.vol);
    EXPECT_EQ(stock.FormatWarned, c.bad);
    EXPECT_EQ(messages.shown.size(), c.bad ? 1u : 0u);
  }
}

class BarSeriesFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("vorelin_bars_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& bytes) {
    auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::filesystem::path dir_;
};

TEST_F(BarSeriesFile, BadFormatMessageOnceForTheWholeRun) {
  testing::RecordingMessages messages;
  Tstock stock(&messages);
  stock.FileName = Write("a.TXT",
                         "20240102,10,11,9,10.5,1000,100\r\n"
                         "\r\n"
                         "20240104,10,11,9,10.5,1000,100\r\n"
                         "bad,line\n"
                         "20240105,10,11,9,10.5,1000,100\n");
  ASSERT_TRUE(stock.LoadBars());
  EXPECT_EQ(stock.BarCount, 5);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], "数据格式不合法，请检查数据文件格式！当前行：1");
  EXPECT_EQ(stock.Bars[1].date, "");
  EXPECT_EQ(stock.Bars[3].close, 0);
  EXPECT_EQ(stock.Bars[4].date, "20240105");
  // A later file with bad lines shows nothing more.
  stock.FileName = Write("b.TXT", "x\ny\n");
  ASSERT_TRUE(stock.LoadBars());
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(BarSeriesFile, Utf8AndGbkFilesAndMissingFile) {
  Tstock stock;
  stock.FileName = Write("u.TXT", "\xEF\xBB\xBF" "20240102,10,11,9,10.5,1000,100\r");
  ASSERT_TRUE(stock.LoadBars());
  EXPECT_EQ(stock.Bars[0].date, "20240102");
  stock.FileName = Write("g.TXT", Utf8ToGbk("日期,10,11,9,10.5,1000,100\n"));
  ASSERT_TRUE(stock.LoadBars());
  EXPECT_EQ(stock.Bars[0].date, "日期");
  stock.FileName = (dir_ / "missing.TXT").string();
  std::string error;
  EXPECT_FALSE(stock.LoadBars(&error));
  EXPECT_EQ(error, "文件：" + stock.FileName + "不存在");
  EXPECT_EQ(stock.BarCount, 1);
  // A folder named like a data file is refused, not read (reading one used to throw).
  std::filesystem::create_directories(dir_ / "600000.TXT");
  stock.FileName = (dir_ / "600000.TXT").string();
  EXPECT_FALSE(stock.LoadBars(&error));
  EXPECT_EQ(error, "文件：" + stock.FileName + "是文件夹，不是文件");
  EXPECT_EQ(stock.BarCount, 1);
}

Tstock ThreeBars() {
  Tstock stock;
  stock.LoadLines({"20240102,1,1,1,1,1,1", "20240103,2,2,2,2,2,2", "20240104,3,3,3,3,3,3"});
  return stock;
}

TEST(Tstock, NextBarStopsAtTheEnd) {
  Tstock stock = ThreeBars();
  EXPECT_TRUE(stock.IsAtStart());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(stock.NextBar().close, i + 1);
  EXPECT_TRUE(stock.IsAtEnd());
  EXPECT_EQ(stock.Cursor, 3);
  EXPECT_EQ(stock.CurrentRow, 3);
  TBarRecord past = stock.NextBar();
  EXPECT_EQ(past.date, "");
  EXPECT_EQ(past.close, 0);
  EXPECT_EQ(stock.Cursor, 3);
  EXPECT_EQ(stock.CurrentRow, 3);
}

TEST(Tstock, RowsAndSpan) {
  Tstock stock = ThreeBars();
  stock.SetCurrentRow(-4);
  EXPECT_EQ(stock.CurrentRow, 0);
  stock.StartRow = 1;
  stock.SetCurrentRow(2);
  EXPECT_EQ(stock.RevealedSpan(), 1);
  stock.StartRow = 2;
  EXPECT_EQ(stock.RevealedSpan(), 0);
}

TEST(Tstock, FindDateOnDayAndMinuteData) {
  Tstock day = ThreeBars();
  EXPECT_TRUE(day.FindDate(20240103));
  EXPECT_EQ(day.FoundIndex, 1);
  EXPECT_FALSE(day.FindDate(20240101));
  EXPECT_FALSE(day.Found);
  EXPECT_EQ(day.FoundIndex, 1);  // kept from the last hit
  EXPECT_FALSE(day.FindDate(20240105));
  EXPECT_FALSE(day.FindDate(20240102 + 1000));

  Tstock minute;
  std::vector<std::string> lines;
  for (int d = 0; d < 3; ++d)
    for (int m = 0; m < 240; ++m)
      lines.push_back("2024010" + std::to_string(2 + d) + ",0931,1,1,1,1,1,1");
  minute.LoadLines(lines);
  ASSERT_TRUE(minute.FindDate(20240103));
  EXPECT_GE(minute.FoundIndex, 240);
  EXPECT_LT(minute.FoundIndex, 480);
  EXPECT_EQ(minute.Bars[minute.FoundIndex].date, "20240103");

  Tstock empty;
  EXPECT_FALSE(empty.FindDate(20240103));
}

TEST(Tstock, CopyFromTakesLinesAndRowsNotBars) {
  Tstock base = ThreeBars();
  base.StartRow = 1;
  base.SetCurrentRow(2);
  base.PeriodMultiplier = 5;
  Tstock copy;
  copy.CopyFrom(base);
  EXPECT_EQ(copy.RawLines, base.RawLines);
  EXPECT_EQ(copy.BarCount, 3);
  EXPECT_EQ(copy.StartRow, 1);
  EXPECT_EQ(copy.CurrentRow, 2);
  EXPECT_EQ(copy.PeriodMultiplier, 5);
  EXPECT_TRUE(copy.Bars.empty());
  // The copied count must not let NextBar read bars that were not copied.
  EXPECT_EQ(copy.NextBar().date, "");
}

}  // namespace
}  // namespace vorelin
