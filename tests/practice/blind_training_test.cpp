// Blind training through the real chart drawn on the recording canvas: until it ends, no
// text the chart, the window caption, the report or the journal page shows names the stock
// or any of its dates; the journal keeps everything; the end says what it was.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "chart/tgs_pane_formula.h"
#include "formula_chart/gp_chart_port.h"
#include "practice/practice_session.h"
#include "support/recording_messages.h"
#include "tests/chart/recording_canvas.h"
#include "temp_root.h"
#include "tools/vorelin-sample/sample_market.h"

namespace vorelin {
namespace {

// Keeps what the chart hands its cursor information window.
struct InfoWindowHost : ChartHost {
  void ShowBuffer(const Canvas&) override {}
  void SetInfoWindowText(const std::string& title, const std::string& text) override {
    info_title = title;
    info_text = text;
  }
  std::string info_title, info_text;
};

class BlindTraining : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(WriteSampleMarket(root_.path(), error)) << error;
    testing::RecordingCanvas::text_sink = &texts_;
  }
  void TearDown() override { testing::RecordingCanvas::text_sink = nullptr; }

  // Every text of one repaint, with the board shown and the crosshair on a bar, and the
  // text of the cursor information window.
  std::vector<std::string> ChartTexts() {
    texts_.clear();
    chart_.SetShowBoard(true);
    chart_.SetShowCursor(true);
    chart_.ShowInfoWindow(false);
    chart_.SetCursorPoint(500, 60);
    host_.info_text.clear();
    chart_.RepaintChart();
    EXPECT_FALSE(host_.info_text.empty());
    texts_.push_back(host_.info_title);
    texts_.push_back(host_.info_text);
    return texts_;
  }

  // The identifying texts of the stock in practice: code, name, and every date it has
  // revealed, as a whole date, as the year of the date axis and as the information window
  // writes it.
  std::set<std::string> Secrets(ReplayController& r) const {
    std::set<std::string> secrets = {r.Account().StockCode, r.Account().StockName};
    const Tstock& base = r.Base();
    for (int row = std::max(base.StartRow, 0); row <= base.CurrentRow; ++row) {
      const std::string& date = base.Bars[static_cast<size_t>(row)].date;
      secrets.insert(date);
      secrets.insert(date.substr(0, 4) + "年");
      secrets.insert(date.substr(0, 4) + "/" + date.substr(4, 2) + "/" + date.substr(6, 2));
    }
    return secrets;
  }

  static void ExpectNoneOf(const std::set<std::string>& secrets, const std::vector<std::string>& texts,
                           const char* where) {
    for (const std::string& text : texts)
      for (const std::string& secret : secrets)
        EXPECT_EQ(text.find(secret), std::string::npos) << where << ": \"" << text << "\" shows " << secret;
  }

  testing::TempRoot root_;
  std::vector<std::string> texts_;
  BuiltinIndicatorLibrary library_;
  InfoWindowHost host_;
  TGP chart_{1000, 700,
             [](int w, int h) { return std::make_unique<testing::RecordingCanvas>(w, h); },
             TgsPaneFormula::Factory(), library_, &host_};
  GpChartPort port_{chart_};
  testing::RecordingMessages messages_;
};

TEST_F(BlindTraining, NothingNamesTheStockOrItsDatesUntilItEnds) {
  PracticeSession session(root_.path(), "张三", port_, messages_,
                          [](const std::filesystem::path&) { return false; });
  ASSERT_TRUE(session.Start());
  ReplayController& r = session.Replay();
  r.Boxes.Period = 1;
  // Dates as they are drawn unhidden: the check below must be able to fail.
  r.RandomTraining();
  const std::vector<std::string> open = ChartTexts();
  bool seen = false;
  for (const std::string& text : open)
    for (const std::string& secret : Secrets(r)) seen = seen || text.find(secret) != std::string::npos;
  ASSERT_TRUE(seen) << "the open chart shows the stock";

  r.BlindTraining();
  ASSERT_TRUE(r.Blind());
  // The blind start is random: row 100 leaves room for the steps below.
  r.Boxes.StartRow = "100";
  r.StartRowEnter();
  ASSERT_TRUE(r.Blind());
  for (int i = 0; i < 5; ++i) r.NextClick();
  r.ReasonBox = "突破";
  r.BuyClick();
  for (int i = 0; i < 3; ++i) r.NextClick();
  r.SellClick();
  ASSERT_EQ(messages_.Last(), "卖出成功");
  const std::set<std::string> secrets = Secrets(r);

  ExpectNoneOf(secrets, ChartTexts(), "chart");
  ExpectNoneOf(secrets, {r.WindowCaption("Vorelin训练系统", ""),
                         r.WindowCaption("Vorelin训练系统", "分时 20240105")}, "caption");
  ExpectNoneOf(secrets, {r.ReportText()}, "report");
  std::vector<JournalLine> lines;
  std::string statistics;
  ASSERT_TRUE(session.JournalPage(lines, statistics));
  ASSERT_EQ(lines.size(), 2u);
  for (const JournalLine& line : lines) {
    ExpectNoneOf(secrets, line.values, "journal line");
    EXPECT_EQ(line.Value(1), "******");
    EXPECT_EQ(line.Value(2), "******");
  }
  ExpectNoneOf(secrets, {statistics}, "statistics");
  for (const std::string& shown : messages_.shown) ExpectNoneOf(secrets, {shown}, "message");

  // The journal itself holds every row in full.
  QueryResult rows;
  std::string error;
  ASSERT_TRUE(session.Journal().ReadJournal("张三", rows, error)) << error;
  ASSERT_EQ(rows.rows.size(), 2u);
  EXPECT_EQ(rows.Value(0, "sStockCode"), r.Account().StockCode);
  EXPECT_TRUE(secrets.count(rows.Value(1, "sDate")));

  // '结束盲盘': the message names the stock and its range; the page and chart show them again.
  r.EndBlind();
  EXPECT_FALSE(r.Blind());
  const std::string& reveal = messages_.Last();
  EXPECT_EQ(reveal.rfind("盲盘结束：" + r.Account().StockCode + " " + r.Account().StockName + "，", 0), 0u)
      << reveal;
  EXPECT_NE(reveal.find(r.Base().Bars[static_cast<size_t>(r.Base().CurrentRow)].date), std::string::npos);
  ASSERT_TRUE(session.JournalPage(lines, statistics));
  EXPECT_EQ(lines[1].Value(1), r.Account().StockCode);
  EXPECT_EQ(chart_.StkLabel, r.Account().StockCode);
  EXPECT_FALSE(chart_.HideDates());
}

TEST_F(BlindTraining, TheEndOfTheDataRevealsAndAHeldPositionRefuses) {
  PracticeSession session(root_.path(), "李四", port_, messages_,
                          [](const std::filesystem::path&) { return false; });
  ASSERT_TRUE(session.Start());
  ReplayController& r = session.Replay();
  r.Boxes.Period = 1;
  r.BlindTraining();
  ASSERT_TRUE(r.Blind());
  r.QuantityBox = "100";
  r.BuyClick();
  r.EndBlind();
  r.BlindTraining();  // shares held: refused as random training is
  EXPECT_EQ(messages_.Last(), "当前未清仓，请清仓后更换！");
  EXPECT_FALSE(r.Blind());
  r.SellClick();
  r.BlindTraining();
  ASSERT_TRUE(r.Blind());
  while (!r.Base().IsAtEnd()) r.NextClick();
  r.NextClick();
  EXPECT_FALSE(r.Blind());
  EXPECT_EQ(messages_.Last().rfind("盲盘结束：", 0), 0u) << messages_.Last();
}

}  // namespace
}  // namespace vorelin
