#include <gtest/gtest.h>

#include <fstream>

#include "common/ini_file.h"
#include "practice/account_display.h"
#include "practice/practice_session.h"
#include "recording_chart.h"
#include "temp_root.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;
using testing::RecordingChart;
using testing::RecordingMessages;
using testing::TempRoot;

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.WriteMinuteFile("000001", 2, 240);
    root_.WriteDayFile("600000", 60);
  }
  std::unique_ptr<PracticeSession> NewSession() {
    auto s = std::make_unique<PracticeSession>(root_.path(), "张三", chart_, messages_,
                                               [](const fs::path&) { return false; });
    return s;
  }

  TempRoot root_;
  RecordingChart chart_;
  RecordingMessages messages_;
};

TEST_F(SessionTest, FirstStartUsesDefaultsAndAMinuteFile) {
  auto session = NewSession();
  ASSERT_TRUE(session->Start());
  for (const char* folder : {"log", "pic", "DayData", "MinData", "Export", "tick", "fenbi"})
    EXPECT_TRUE(fs::is_directory(root_.path() / folder)) << folder;
  EXPECT_TRUE(fs::exists(root_.path() / "log.mt3"));
  ReplayController& r = session->Replay();
  EXPECT_EQ(r.Boxes.Period, 0);
  EXPECT_EQ(r.Boxes.StockCode, "000001");
  EXPECT_EQ(r.Account().BuyRate, 0.003);
  EXPECT_EQ(r.Account().SellRate, 0.005);
  EXPECT_EQ(r.Account().Cash, 10000);
  EXPECT_EQ(r.Base().BarCount, 480);
  EXPECT_EQ(chart_.closes.size(), 1u);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(SessionTest, TenthBarSavesAndARestartResumes) {
  {
    auto session = NewSession();
    ASSERT_TRUE(session->Start());
    ReplayController& r = session->Replay();
    r.Boxes.Period = 1;
    r.ApplyStockCode("600000");
    r.OpenStock();
    for (int i = 0; i < 4; ++i) r.NextClick();
    r.BuyClick();
    for (int i = 0; i < 5; ++i) r.NextClick();  // cursor 10: saved
    ASSERT_TRUE(fs::exists(session->ConfigPath()));
  }
  IniFile ini;
  ASSERT_TRUE(ini.Load(root_.path() / "config.ini"));
  EXPECT_EQ(ini.ReadString("张三", "股票代码", ""), "600000");
  EXPECT_EQ(ini.ReadString("张三", "周期", ""), "1");
  EXPECT_EQ(ini.ReadString("系统设置", "账户名称", ""), "张三");
  EXPECT_FALSE(ini.HasKey("张三", "当前行"));

  auto session = NewSession();
  ASSERT_TRUE(session->Start());
  ReplayController& r = session->Replay();
  EXPECT_EQ(r.Boxes.Period, 1);
  EXPECT_EQ(r.Base().CurrentRow, 9);
  EXPECT_GT(r.Account().LongQty, 0);
  EXPECT_EQ(chart_.closes.size(), 10u);
  EXPECT_EQ(r.Account().Price, 19);

  // Closing while holding asks the other question; No keeps everything.
  messages_.answer = false;
  EXPECT_FALSE(session->ConfirmClose());
  EXPECT_EQ(messages_.asked.back(), "您还未清仓,确定要退出吗？ ");
  messages_.answer = true;
  r.SellClick();
  EXPECT_TRUE(session->ConfirmClose());
  EXPECT_EQ(messages_.asked.back(), "确定要退出吗？ ");
}

TEST_F(SessionTest, JournalPagesExportAndReset) {
  auto session = NewSession();
  ASSERT_TRUE(session->Start());
  ReplayController& r = session->Replay();
  r.Boxes.Period = 1;
  r.ApplyStockCode("600000");
  r.OpenStock();
  std::vector<JournalLine> lines;
  std::string statistics = "kept";
  ASSERT_TRUE(session->JournalPage(lines, statistics));
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(statistics, "kept");

  r.BuyClick();
  for (int i = 0; i < 3; ++i) r.NextClick();
  r.SellClick();
  ASSERT_TRUE(session->JournalPage(lines, statistics));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(statistics.rfind("交易统计    \r\n交易次数:      2", 0), 0u) << statistics;
  EXPECT_NE(statistics.find("完成回合:      1"), std::string::npos) << statistics;
  std::vector<EquityPoint> points;
  ASSERT_TRUE(session->EquityPage(points));
  EXPECT_EQ(points.size(), 1u);

  ASSERT_TRUE(session->ExportClick());
  EXPECT_EQ(messages_.Last().rfind("日志已经导出到" + (root_.path() / "Export").string(), 0), 0u);
  // The picture window: the screenshot was not written, so the missing text shows.
  PictureWindowView view = LookupJournalPicture(root_.path(), lines[0].Value(11));
  EXPECT_EQ(view.picture.parent_path(), root_.path() / "log");
  EXPECT_FALSE(view.found);
  EXPECT_EQ(view.caption, "交易理由");
  std::ofstream(view.picture, std::ios::binary) << "jpeg";
  view = LookupJournalPicture(root_.path(), lines[0].Value(11));
  EXPECT_TRUE(view.found);
  EXPECT_EQ(view.caption, view.picture.string());

  messages_.answer = false;
  EXPECT_FALSE(session->ResetAccount());
  messages_.answer = true;
  r.Boxes.InitialCapital = "100000";
  ASSERT_TRUE(session->ResetAccount());
  EXPECT_EQ(messages_.asked.back(), "账户初始化将删除所有资金记录！");
  EXPECT_EQ(messages_.Last(), "账户初始化成功！");
  EXPECT_EQ(r.Account().Cash, 100000);
  EXPECT_EQ(r.Boxes.StartRow, "1");
  ASSERT_TRUE(session->JournalPage(lines, statistics));
  EXPECT_TRUE(lines.empty());
  ASSERT_TRUE(session->EquityPage(points));
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].assets, 100000);
}


// A user name that the INI file cannot hold as a section: saving says so and the file
// keeps every byte it had.
TEST_F(SessionTest, UnsafeUserNameSaveFailsAndLeavesTheFile) {
  const fs::path config = root_.path() / "config.ini";
  const std::string before = "[系统设置]\r\n登录服务器地址=127.0.0.1\r\n";
  struct Case { const char* user; const char* reason; };
  const Case cases[] = {
      {"a\n[系统设置]\n登录服务器地址=evil", "设置值不合法：账户名称的值不能含有换行"},
      {"[sec]", "设置节名不合法：[sec]（不能含有换行、“[”、“]”或“=”）"},
  };
  for (const auto& [user, reason] : cases) {
    SCOPED_TRACE(user);
    std::ofstream(config, std::ios::binary | std::ios::trunc) << before;
    PracticeSession session(root_.path(), user, chart_, messages_,
                            [](const fs::path&) { return false; });
    ASSERT_TRUE(session.Start());
    messages_.shown.clear();
    EXPECT_FALSE(session.Save());
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0], "设置保存失败：" + config.string() + "（" + reason + "）");
    EXPECT_FALSE(session.CapitalChanged("100000"));
    std::ifstream in(config, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
  }
}

TEST_F(SessionTest, CapitalIsWrittenAtOnceAndFeesRestore) {
  auto session = NewSession();
  ASSERT_TRUE(session->Start());
  ASSERT_TRUE(session->CapitalChanged("1000000"));
  IniFile ini;
  ASSERT_TRUE(ini.Load(session->ConfigPath()));
  EXPECT_EQ(ini.ReadString("张三", "初始资金", ""), "1000000");
  EXPECT_FALSE(ini.HasKey("张三", "股票代码"));  // nothing else is written then
  session->Replay().RestoreDefaultFees();
  EXPECT_EQ(session->Replay().Boxes.BuyFee, "3");
  EXPECT_EQ(session->Replay().Boxes.SellFee, "1.5");
}

TEST(AccountDisplay, BoxesAndColoursFollowTheProfit) {
  TGpAcount account;
  account.Mark(10);
  AccountDisplay flat = BuildAccountDisplay(account);
  EXPECT_EQ(flat.report_colour, kFlatColour);
  EXPECT_EQ(flat.box_colour, kLossColour);
  EXPECT_EQ(flat.profit_loss, "0");
  EXPECT_EQ(flat.profit_ratio, "0");
  EXPECT_EQ(flat.max_buyable, "900.0000");
  ASSERT_TRUE(account.Buy(10, 100));
  account.Mark(12);
  AccountDisplay gain = BuildAccountDisplay(account);
  EXPECT_EQ(gain.report_colour, kGainColour);
  EXPECT_EQ(gain.box_colour, kGainColour);
  EXPECT_EQ(gain.profit_loss, "200.0000");
  EXPECT_EQ(gain.profit_ratio, "20.0000%");
  EXPECT_EQ(gain.quantity, "100.0000");
  EXPECT_EQ(gain.cost, "10.0000");
  account.Mark(9);
  EXPECT_EQ(BuildAccountDisplay(account).report_colour, kLossColour);
}

}  // namespace
}  // namespace vorelin
