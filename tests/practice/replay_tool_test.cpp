#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "chart/image_files.h"
#include "common/ini_file.h"
#include "practice/journal_store.h"
#include "practice/practice_session.h"
#include "temp_root.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;

// Runs vorelin-replay and gives what it printed on stdout (and stderr when asked).
std::string RunTool(const std::string& args, int& status, bool with_errors = false) {
  const std::string command = std::string(VORELIN_BIN_DIR) + "/vorelin-replay " + args +
                              (with_errors ? " 2>&1" : " 2>/dev/null");
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  status = pclose(pipe);
  return out;
}

TEST(ReplayTool, ScriptedSessionLeavesJournalAndSettings) {
  testing::TempRoot root;
  root.WriteDayFile("600000", 60);
  int status = -1;
  const std::string out = RunTool(
      "--root '" + root.path().string() + "' --user 张三 --code 600000 --period day --script "
      "'next 25; buy 全仓; next 5; sell 全仓; prev; week; next; day; start row 70; "
      "start date 20240110; stats; report'",
      status);
  EXPECT_EQ(status, 0) << out;
  for (const char* text : {"买入成功！\n", "卖出成功\n", "当前行大于最大行60\n",
                           "已找到当前日期20240110\n", "交易统计    \n交易次数:      2",
                           "完成回合:      1", "空仓运行中……"})
    EXPECT_NE(out.find(text), std::string::npos) << text << "\n" << out;

  JournalStore store(root.path());
  QueryResult rows;
  std::string error;
  ASSERT_TRUE(store.ReadJournal("张三", rows, error)) << error;
  EXPECT_EQ(rows.rows.size(), 2u);
  ASSERT_TRUE(store.ReadEquity("张三", rows, error)) << error;
  EXPECT_EQ(rows.rows.size(), 1u);
  EXPECT_TRUE(fs::exists(root.path() / "config.ini"));

  // A restart resumes the saved rows: start date 20240110 is row 8, so rows 4 .. 8.
  const std::string again = RunTool("--root '" + root.path().string() +
                                        "' --user 张三 --script 'report'",
                                    status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(again.find("当前价：18.0000"), std::string::npos) << again;
}

// Pixels that differ clearly from the top-left one (the background), JPEG noise aside.
int PixelsOffBackground(const RgbImage& image) {
  int count = 0;
  for (size_t i = 0; i + 2 < image.bgr.size(); i += 3)
    for (size_t c = 0; c < 3; ++c)
      if (std::abs(image.bgr[i + c] - image.bgr[c]) > 48) {
        ++count;
        break;
      }
  return count;
}

TEST(ReplayTool, EachTradeLeavesTheChartPictureTheJournalNames) {
  testing::TempRoot root;
  root.WriteDayFile("600000", 60);
  int status = -1;
  const std::string out = RunTool("--root '" + root.path().string() +
                                      "' --user 李四 --code 600000 --period day --script "
                                      "'next 25; buy 全仓; next 5; sell 全仓'",
                                  status);
  ASSERT_EQ(status, 0) << out;

  JournalStore store(root.path());
  QueryResult rows;
  std::string error;
  ASSERT_TRUE(store.ReadJournal("李四", rows, error)) << error;
  ASSERT_EQ(rows.rows.size(), 2u);
  std::vector<RgbImage> pictures;
  for (size_t i = 0; i < rows.rows.size(); ++i) {
    const std::string pic_path = rows.Value(i, "sPicPath");
    ASSERT_EQ(pic_path.rfind("log\\", 0), 0u) << pic_path;
    const fs::path file = JournalPicturePath(root.path(), pic_path);
    EXPECT_EQ(file.parent_path(), root.path() / "log");
    ASSERT_TRUE(fs::is_regular_file(file)) << file;
    RgbImage image;
    ASSERT_TRUE(ReadJpegFile(file.string(), &image, &error)) << error;
    EXPECT_EQ(image.width, 1200);
    EXPECT_EQ(image.height, 800);
    EXPECT_GT(PixelsOffBackground(image), 5000) << file;
    pictures.push_back(std::move(image));
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(root.path() / "log"), fs::directory_iterator()), 2);
  // The sale's chart shows five more bars than the buy's: each picture is taken at its trade.
  EXPECT_NE(pictures[0].bgr, pictures[1].bgr);
}

// A picture that cannot be written is said on stderr; the trade is journalled all the same.
TEST(ReplayTool, UnwritableScreenshotIsReportedAndTheTradeKept) {
  testing::TempRoot root;
  root.WriteDayFile("600000", 40);
  std::ofstream(root.path() / "log") << "a file where the picture folder should be";
  int status = -1;
  const std::string out = RunTool("--root '" + root.path().string() +
                                      "' --user 王五 --code 600000 --period day --script "
                                      "'next 10; buy 全仓'",
                                  status, true);
  EXPECT_EQ(status, 0) << out;
  EXPECT_NE(out.find("买入成功！"), std::string::npos) << out;
  EXPECT_NE(out.find("无法写入截图: " + (root.path() / "log").string()), std::string::npos) << out;

  JournalStore store(root.path());
  QueryResult rows;
  std::string error;
  ASSERT_TRUE(store.ReadJournal("王五", rows, error)) << error;
  EXPECT_EQ(rows.rows.size(), 1u);
}

// A refused stock change leaves everything on the held stock: the sale, the settings and
// the chart stay with it.
TEST(ReplayTool, RefusedStockChangeKeepsTheHeldStock) {
  testing::TempRoot root;
  root.WriteDayFile("600000", 40);
  root.WriteDayFile("000002", 40);
  int status = -1;
  const std::string out = RunTool("--root '" + root.path().string() +
                                      "' --user 赵六 --code 600000 --period day --script "
                                      "'next 5; buy 全仓; code 000002; next 3; sell 全仓'",
                                  status);
  ASSERT_EQ(status, 0) << out;
  EXPECT_NE(out.find("当前未清仓，请清仓后更换！"), std::string::npos) << out;

  JournalStore store(root.path());
  QueryResult rows;
  std::string error;
  ASSERT_TRUE(store.ReadJournal("赵六", rows, error)) << error;
  ASSERT_EQ(rows.rows.size(), 2u);
  for (size_t i = 0; i < rows.rows.size(); ++i)
    EXPECT_EQ(rows.Value(i, "sStockCode"), "600000") << i;
  IniFile ini;
  ASSERT_TRUE(ini.Load(root.path() / "config.ini"));
  EXPECT_EQ(ini.ReadString("赵六", "股票代码", ""), "600000");
}

// `next N` past the last bar stops there with one message.
TEST(ReplayTool, NextStopsAtTheLastBar) {
  testing::TempRoot root;
  root.WriteDayFile("600000", 20);
  int status = -1;
  const std::string out = RunTool("--root '" + root.path().string() +
                                      "' --user u --code 600000 --period day --script "
                                      "'start row 1; next 50'",
                                  status);
  ASSERT_EQ(status, 0) << out;
  size_t count = 0;
  for (size_t at = out.find("已到最后行！"); at != std::string::npos;
       at = out.find("已到最后行！", at + 1))
    ++count;
  EXPECT_EQ(count, 1u) << out;
}

TEST(ReplayTool, RulesFromTheCommandLine) {
  testing::TempRoot root;
  root.WriteDayFile("600000", 40);
  int status = -1;
  const std::string out = RunTool("--root '" + root.path().string() +
                                      "' --user 钱七 --code 600000 --period day "
                                      "--rules t1,stamp,min5,limit --script "
                                      "'next 5; buy 100; sell 全仓; next; sell 全仓; stats'",
                                  status);
  ASSERT_EQ(status, 0) << out;
  const size_t refused = out.find("T+1：今日买入的股票明日才能卖出！");
  ASSERT_NE(refused, std::string::npos) << out;
  EXPECT_NE(out.find("卖出成功", refused), std::string::npos) << out;
  EXPECT_NE(out.find("交易次数:      2"), std::string::npos) << out;
  EXPECT_NE(out.find("其中印花税：   0.8"), std::string::npos) << out;  // 1600 × 0.5 ‰
  IniFile ini;
  ASSERT_TRUE(ini.Load(root.path() / "config.ini"));
  for (const char* key : {"T+1交易", "印花税", "最低佣金", "涨跌停限制"})
    EXPECT_EQ(ini.ReadString("钱七", key, ""), "1") << key;

  RunTool("--root '" + root.path().string() + "' --user u --rules t3 --script 'next'", status);
  EXPECT_NE(status, 0);
}

TEST(ReplayTool, TradesTakeTheirReasonFromTheTrailingText) {
  testing::TempRoot root;
  root.WriteDayFile("600000", 40);
  int status = -1;
  const std::string out = RunTool("--root '" + root.path().string() +
                                      "' --user 孙八 --code 600000 --period day --script "
                                      "'next 5; buy 全仓 突破前高 放量; next; sell 全仓 --reason 止盈; "
                                      "next; buy 100; next; sell 全仓'",
                                  status);
  ASSERT_EQ(status, 0) << out;
  JournalStore store(root.path());
  QueryResult rows;
  std::string error;
  ASSERT_TRUE(store.ReadJournal("孙八", rows, error)) << error;
  ASSERT_EQ(rows.rows.size(), 4u);
  const char* want[] = {"突破前高 放量", "止盈", "理由", "理由"};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(rows.Value(i, "sReason"), want[i]) << i;
}

// --blind: nothing printed names the stock or a date until end-blind, which says both;
// report-session reports the session either way.
TEST(ReplayTool, BlindSessionRevealsOnlyAtItsEnd) {
  testing::TempRoot root;
  root.WriteDayFile("600123", 60);
  int status = -1;
  const std::string out = RunTool("--root '" + root.path().string() +
                                      "' --user 周九 --period day --blind --script "
                                      // The blind start is random: row 10 leaves room for the steps.
                                      "'start row 10; next 5; buy 全仓; next 3; sell 全仓; stats; report-session; "
                                      "end-blind; report-session'",
                                  status);
  ASSERT_EQ(status, 0) << out;
  const size_t reveal = out.find("盲盘结束：600123 ");
  ASSERT_NE(reveal, std::string::npos) << out;
  const std::string blind = out.substr(0, reveal);
  EXPECT_NE(blind.find("股票：******（盲盘训练中）"), std::string::npos) << out;
  EXPECT_NE(blind.find("完成回合：    1"), std::string::npos) << out;
  EXPECT_EQ(blind.find("600123"), std::string::npos) << blind;
  EXPECT_EQ(blind.find("202401"), std::string::npos) << blind;
  EXPECT_NE(out.find("股票：600123", reveal), std::string::npos) << out;

  JournalStore store(root.path());
  QueryResult rows;
  std::string error;
  ASSERT_TRUE(store.ReadJournal("周九", rows, error)) << error;
  ASSERT_EQ(rows.rows.size(), 2u);
  EXPECT_EQ(rows.Value(0, "sStockCode"), "600123");
}

TEST(ReplayTool, RefusesABadScript) {
  int status = 0;
  RunTool("--root /nonexistent/x --user u --script 'jump 3'", status);
  EXPECT_NE(status, 0);
}

}  // namespace
}  // namespace vorelin
