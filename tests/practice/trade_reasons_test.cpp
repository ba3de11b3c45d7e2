#include <gtest/gtest.h>

#include "common/ini_file.h"
#include "practice/practice_session.h"
#include "practice/trade_reasons.h"
#include "recording_chart.h"
#include "temp_root.h"

namespace vorelin {
namespace {

using Items = std::vector<std::string>;

TEST(TradeReasons, HistoryKeepsTheLastTwentyNewestFirst) {
  struct Case { const char* name; Items remembered; Items want; };
  const Case cases[] = {
      {"newest first", {"突破前高", "止损"}, {"止损", "突破前高"}},
      {"a repeat moves up", {"a", "b", "a"}, {"a", "b"}},
      {"empty and spaces ignored", {"a", "", "   "}, {"a"}},
      {"trimmed, one line", {"  放量\r\n突破 "}, {"放量  突破"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReasonHistory history;
    for (const std::string& r : c.remembered) history.Remember(r);
    EXPECT_EQ(history.Items(), c.want);
  }
  ReasonHistory history;
  for (int i = 1; i <= 25; ++i) history.Remember("理由" + std::to_string(i));
  ASSERT_EQ(history.Items().size(), 20u);
  EXPECT_EQ(history.Items().front(), "理由25");
  EXPECT_EQ(history.Items().back(), "理由6");
}

TEST(TradeReasons, StoredReasonFallsBackToTheFixedText) {
  EXPECT_EQ(StoredReason(""), "理由");
  EXPECT_EQ(StoredReason("  "), "理由");
  EXPECT_EQ(StoredReason(" 回踩均线 "), "回踩均线");
  EXPECT_EQ(LookupJournalPicture("/r", "log\\x.jpg", "回踩均线").reason_line, "交易理由：回踩均线");
  EXPECT_EQ(LookupJournalPicture("/r", "log\\x.jpg", "理由").reason_line, "");
}

TEST(TradeReasons, ConfigRoundTripLeavesOtherUsersAlone) {
  IniFile ini;
  ini.LoadText("[李四]\r\n交易理由1=别人的\r\n");
  ReasonHistory history;
  history.Remember("一");
  history.Remember("二");
  ASSERT_TRUE(history.Write(ini, "张三"));
  ReasonHistory read;
  read.Read(ini, "张三");
  EXPECT_EQ(read.Items(), (Items{"二", "一"}));
  read.Read(ini, "李四");
  EXPECT_EQ(read.Items(), Items{"别人的"});
  // Nothing remembered writes nothing.
  IniFile untouched;
  ASSERT_TRUE(ReasonHistory().Write(untouched, "张三"));
  EXPECT_EQ(untouched.Text(), "");
}

TEST(TradeReasons, TradesStoreTheReasonAndARestartRemembersIt) {
  testing::TempRoot root;
  root.WriteDayFile("600000", 60);
  testing::RecordingChart chart;
  testing::RecordingMessages messages;
  auto start = [&] {
    auto s = std::make_unique<PracticeSession>(root.path(), "张三", chart, messages,
                                               [](const std::filesystem::path&) { return false; });
    EXPECT_TRUE(s->Start());
    s->Replay().Boxes.Period = 1;
    s->Replay().ApplyStockCode("600000");
    s->Replay().OpenStock();
    return s;
  };
  auto session = start();
  ReplayController& r = session->Replay();
  r.NextClick();
  r.ReasonBox = "突破前高";
  r.BuyClick();
  r.NextClick();
  r.ReasonBox = "";
  r.SellClick();
  std::vector<JournalLine> lines;
  std::string statistics;
  ASSERT_TRUE(session->JournalPage(lines, statistics));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Value(kReasonValue), "突破前高");
  EXPECT_EQ(lines[1].Value(kReasonValue), "理由");
  EXPECT_TRUE(HasOwnReasons(lines));
  ASSERT_TRUE(session->Save());
  session.reset();
  session = start();
  EXPECT_EQ(session->Replay().Reasons().Items(), Items{"突破前高"});
}

}  // namespace
}  // namespace vorelin
