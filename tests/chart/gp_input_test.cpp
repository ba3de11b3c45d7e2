// The chart control's mouse and keys: zoom keys, dragging the view, pane borders, the
// board edge and the time-sharing split, tabs, the keyboard cursor with its date event,
// double click, wheel, focus loss and the information window.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/chart/chart_test_support.h"

namespace vorelin::testing {
namespace {

class ChartInputTest : public ChartTest {
 protected:
  // A chart without the board, 1000 bars painted: Scale 5, K = (550 - 50) / 5 = 100.
  std::unique_ptr<TGP> FedChart(int bars = 1000, int width = 550) {
    auto chart = MakeChart(width, 418);
    chart->SetShowBoard(false);
    Feed(*chart, bars, true);
    chart->PaintIfDirty();
    return chart;
  }
  // One event as the window delivers it: the handler, then the paint it asked for.
  template <typename Event>
  void Deliver(TGP& chart, Event event) {
    event();
    chart.PaintIfDirty();
  }
  void Key(TGP& chart, ChartKey key, KeyModifiers modifiers = {}) {
    Deliver(chart, [&] { chart.KeyDown(key, modifiers); });
  }
  void Drag(TGP& chart, int x0, int y0, int x1, int y1) {
    chart.MouseDown(kLeftButton, x0, y0);
    Deliver(chart, [&] { chart.MouseMove(kLeftButton, x1, y1); });
  }
  bool Called(const std::string& line) const {
    return std::find(host.calls.begin(), host.calls.end(), line) != host.calls.end();
  }
};

TEST_F(ChartInputTest, UpArrowWidensTheBarsUntilSixBarsFillTheChart) {
  struct Case {
    const char* name;
    bool board;
    int after_one;
    int last;  // where repeated presses stop
  };
  // 600 pixels: 5 * 6 = 30 < 600 gives 8, ... 98 gives 101, and 101 * 6 >= 600 stops;
  // with the board 400 pixels remain: 68 * 6 >= 400 stops.
  const Case kCases[] = {{"no board", false, 8, 101}, {"board shown", true, 8, 68}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    auto chart = MakeChart(600, 418);
    chart->SetShowBoard(c.board);
    Feed(*chart, 1000, true);
    Key(*chart, ChartKey::kUp);
    EXPECT_EQ(chart->Scale(), c.after_one);
    for (int i = 0; i < 50; ++i) Key(*chart, ChartKey::kUp);
    EXPECT_EQ(chart->Scale(), c.last);
  }
}

TEST_F(ChartInputTest, DownArrowNarrowsTheBarsToThreeAtLeast) {
  const int kCases[][2] = {{8, 5}, {4, 3}, {3, 3}, {2, 3}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c[0]);
    auto chart = FedChart();
    chart->SetScale(c[0]);
    Key(*chart, ChartKey::kDown);
    EXPECT_EQ(chart->Scale(), c[1]);
  }
}

TEST_F(ChartInputTest, ZoomKeysDoNothingInTheTimeSharingView) {
  auto chart = FedChart();
  chart->SetShowFs(true);
  Key(*chart, ChartKey::kUp);
  EXPECT_EQ(chart->Scale(), 5);
  chart->SetScale(2);
  Key(*chart, ChartKey::kDown);
  EXPECT_EQ(chart->Scale(), 2);
}

TEST_F(ChartInputTest, DraggingTenPixelsMovesTenBarsAtAnyScale) {
  for (int scale : {2, 5, 11}) {
    SCOPED_TRACE(scale);
    auto chart = FedChart();
    chart->SetScale(scale);
    chart->PaintIfDirty();
    const int first = chart->LeftBar();
    Drag(*chart, 100, 100, 110, 100);  // to the right: older bars
    EXPECT_EQ(chart->LeftBar(), first - 10);
    Deliver(*chart, [&] { chart->MouseMove(kLeftButton, 105, 100); });
    EXPECT_EQ(chart->LeftBar(), first - 5);
    chart->MouseUp(kLeftButton, 105, 100);
    EXPECT_EQ(chart->DragOrigin().x, -1);
  }
}

TEST_F(ChartInputTest, DraggingStopsAtTheFirstBar) {
  auto chart = FedChart();
  chart->SetLeftBar(4);
  Drag(*chart, 100, 100, 110, 100);
  EXPECT_EQ(chart->LeftBar(), 0);
}

TEST_F(ChartInputTest, PaneBordersStopAtTwentyOnePixels) {
  auto chart = FedChart();  // heights 200, 100, 100
  chart->MouseDown(kLeftButton, 100, 200);
  ASSERT_EQ(chart->WeiStyle(), TWeiStyle::wsKSize);
  for (int y = 201; y <= 400; ++y) Deliver(*chart, [&] { chart->MouseMove(kLeftButton, 100, y); });
  EXPECT_EQ(chart->PaneHeight(0), 279);
  EXPECT_EQ(chart->PaneHeight(1), 21);
  for (int y = 300; y >= 0; --y) Deliver(*chart, [&] { chart->MouseMove(kLeftButton, 100, y); });
  EXPECT_EQ(chart->PaneHeight(0), 21);
  EXPECT_EQ(chart->PaneHeight(1), 279);
  EXPECT_EQ(chart->PaneHeight(2), 100);
  chart->MouseUp(kLeftButton, 100, 0);

  // One move past the limit is refused as a whole.
  auto other = FedChart();
  Drag(*other, 100, 300, 100, 390);  // the border between panes 1 and 2
  EXPECT_EQ(other->PaneHeight(1), 100);
  EXPECT_EQ(other->PaneHeight(2), 100);
}

TEST_F(ChartInputTest, TheBoardEdgeKeepsTheBoardWiderThan150AndBelowFourFifths) {
  auto chart = MakeChart(600, 420);  // the board's edge at x = 400
  chart->PaintIfDirty();
  chart->MouseDown(kLeftButton, 400, 10);
  ASSERT_EQ(chart->WeiStyle(), TWeiStyle::wsBSize);
  struct Step {
    int x;
    int want;
  };
  const Step kSteps[] = {{449, 151}, {450, 151}, {500, 151}, {121, 479}, {120, 479}, {0, 479}, {300, 300}};
  for (const Step& s : kSteps) {
    SCOPED_TRACE(s.x);
    Deliver(*chart, [&] { chart->MouseMove(kLeftButton, s.x, 10); });
    EXPECT_EQ(chart->BoradWidth(), s.want);
  }
}

TEST_F(ChartInputTest, TheTimeSharingSplitKeepsThePricePaneBetween101AndFourFifths) {
  auto chart = FedChart(10, 600);
  chart->SetShowFs(true);  // 418 high: the price pane 278 high
  chart->PaintIfDirty();
  chart->MouseDown(kLeftButton, 100, 278);
  ASSERT_EQ(chart->WeiStyle(), TWeiStyle::wsFSize);
  struct Step {
    int y;
    int want;
  };
  // Four fifths of 418 is 334.
  const Step kSteps[] = {{200, 200}, {100, 200}, {101, 101}, {334, 101}, {333, 333}, {400, 333}};
  for (const Step& s : kSteps) {
    SCOPED_TRACE(s.y);
    Deliver(*chart, [&] { chart->MouseMove(kLeftButton, 100, s.y); });
    EXPECT_EQ(chart->FsHeight(0), s.want);
    EXPECT_EQ(chart->FsHeight(0) + chart->FsHeight(1), 418);
  }
}

TEST_F(ChartInputTest, AltDigitSetsThePaneCountAndZeroMeansTen) {
  auto chart = FedChart();
  Key(*chart, ChartKey::kDigit0, {.alt = true});
  EXPECT_EQ(chart->TechWindows(), 10);
  Key(*chart, ChartKey::kDigit4, {.alt = true});
  EXPECT_EQ(chart->TechWindows(), 4);
  Key(*chart, ChartKey::kDigit2);  // no Alt: the host's key
  EXPECT_EQ(chart->TechWindows(), 4);
  EXPECT_TRUE(Called("key " + std::to_string(static_cast<int>(ChartKey::kDigit2))));
}

TEST_F(ChartInputTest, KeyboardCursorMovesAndScrollsTheView) {
  auto chart = FedChart();
  ASSERT_EQ(chart->LeftBar(), 900);
  Key(*chart, ChartKey::kRight);  // the first press starts at the first shown bar
  EXPECT_TRUE(chart->ShowCursor());
  EXPECT_EQ(chart->CursorPoint().x, 901);
  EXPECT_EQ(chart->CursorPoint().y, -2);
  EXPECT_EQ(chart->HitPane(), &chart->Pane(0));
  EXPECT_EQ(host.calls[host.calls.size() - 2], "pointer to -5,-5");
  EXPECT_EQ(host.calls.back(), "show info at 30,133 height 215");

  Key(*chart, ChartKey::kLeft);
  Key(*chart, ChartKey::kLeft);  // 899 is left of the view: it scrolls by one bar
  EXPECT_EQ(chart->CursorPoint().x, 899);
  EXPECT_EQ(chart->LeftBar(), 899);
  EXPECT_EQ(chart->ReportOf(0).cursor_bar, 899);

  // The right edge of bar c plus 50 (ShowLeft) beyond the 550 pixels scrolls: at c = 999.
  for (int i = 0; i < 99; ++i) Key(*chart, ChartKey::kRight);
  EXPECT_EQ(chart->CursorPoint().x, 998);
  EXPECT_EQ(chart->LeftBar(), 899);
  Key(*chart, ChartKey::kRight);
  EXPECT_EQ(chart->CursorPoint().x, 999);
  EXPECT_EQ(chart->LeftBar(), 900);
  Key(*chart, ChartKey::kRight);  // the newest bar: the view cannot go further
  EXPECT_EQ(chart->CursorPoint().x, 999);
  EXPECT_EQ(chart->LeftBar(), 900);
}

TEST_F(ChartInputTest, KeyboardCursorStopsAtTheFirstBar) {
  auto chart = FedChart(50);  // all bars shown from 0
  Key(*chart, ChartKey::kLeft);  // the first press: from the newest bar, one back
  EXPECT_EQ(chart->CursorPoint().x, 48);
  for (int i = 0; i < 60; ++i) Key(*chart, ChartKey::kLeft);
  EXPECT_EQ(chart->CursorPoint().x, 0);
  EXPECT_EQ(chart->LeftBar(), 0);
}

TEST_F(ChartInputTest, KeyboardCursorInTheTimeSharingView) {
  auto chart = FedChart(10);
  for (int i = 0; i < 5; ++i) chart->AppendTick(931 + i, 10 + i, 100, 10);
  chart->SetShowFs(true);
  chart->PaintIfDirty();
  Key(*chart, ChartKey::kRight);  // from minute 0
  EXPECT_EQ(chart->CursorPoint().x, 1);
  EXPECT_EQ(chart->HitPane(), &chart->FsPane(0));
  for (int i = 0; i < 10; ++i) Key(*chart, ChartKey::kRight);
  EXPECT_EQ(chart->CursorPoint().x, 4);  // the last minute with data
  Key(*chart, ChartKey::kLeft);
  EXPECT_EQ(chart->CursorPoint().x, 3);
}

TEST_F(ChartInputTest, ArrowsNeedShowHint) {
  auto chart = FedChart();
  chart->SetShowHint(false);
  Key(*chart, ChartKey::kLeft);
  EXPECT_FALSE(chart->ShowCursor());
  EXPECT_EQ(chart->CursorPoint().x, -1);
}

TEST_F(ChartInputTest, EnterReportsTheDateAndCloseOfTheCursorBar) {
  auto chart = FedChart(50);
  std::vector<std::pair<int, float>> dates;
  chart->OnGPDate = [&dates](int date, float price) { dates.emplace_back(date, price); };
  Key(*chart, ChartKey::kEnter);  // no cursor shown
  Key(*chart, ChartKey::kRight);  // bar 1
  Key(*chart, ChartKey::kEnter);
  ASSERT_EQ(dates.size(), 1u);
  EXPECT_EQ(dates[0].first, 20200102);
  EXPECT_FLOAT_EQ(dates[0].second, 11);  // 10 + 1 % 7

  Key(*chart, ChartKey::kLeft);  // bar 0 has no date event
  Key(*chart, ChartKey::kEnter);
  EXPECT_EQ(dates.size(), 1u);

  for (int i = 0; i < 30; ++i) Key(*chart, ChartKey::kRight);
  Key(*chart, ChartKey::kEnter);
  ASSERT_EQ(dates.size(), 2u);
  EXPECT_EQ(dates[1].first, 20200101 + 30);
  EXPECT_FLOAT_EQ(dates[1].second, 10 + 30 % 7);

  chart->SetShowFs(true);
  Key(*chart, ChartKey::kEnter);
  EXPECT_EQ(dates.size(), 2u);
  EXPECT_FALSE(Called("key " + std::to_string(static_cast<int>(ChartKey::kEnter))));
}

TEST_F(ChartInputTest, PressingSelectsPanesAndTabsAndForwardsTheRest) {
  auto chart = FedChart();
  chart->MouseDown(kRightButton, 100, 250);
  EXPECT_TRUE(host.focused);
  EXPECT_EQ(chart->SelectedPane(), 1);
  EXPECT_TRUE(chart->PaneFlagsOf(1).selected);
  EXPECT_FALSE(chart->PaneFlagsOf(0).selected);
  EXPECT_EQ(host.calls.back(), "down right 100,250");
  EXPECT_EQ(chart->DragOrigin().x, 100);

  // Tabs: 指标 全部 高级 MACD MA … are 33, 33, 33, 33, 21 pixels wide in the test font.
  chart->MouseUp(kRightButton, 100, 250);
  const size_t calls = host.calls.size();
  chart->MouseDown(kLeftButton, 40, 410);
  EXPECT_EQ(chart->TabCategory(), 1);
  EXPECT_EQ(chart->TabNames().size(), 3u + 11u);
  EXPECT_EQ(host.calls.size(), calls) << "a tab click is not forwarded";
  chart->PaintIfDirty();
  chart->MouseDown(kLeftButton, 140, 410);  // MA
  EXPECT_EQ(Formula(*chart, 1).compiled_text, "TEXT OF MA");
  chart->MouseDown(kLeftButton, 70, 410);  // 高级
  EXPECT_EQ(chart->TabNames(), (std::vector<std::string>{"指标", "全部", "高级", "KDJ", "RSI"}));
}

TEST_F(ChartInputTest, TabsTooCloseToTheRightEdgeCannotBeClicked) {
  auto chart = FedChart(1000, 120);  // 指标 全部 高级 end at 99; MACD would end within 20 of 120
  chart->MouseDown(kLeftButton, 110, 410);
  EXPECT_EQ(Formula(*chart, 0).compiled_text, "TEXT OF MA");
  chart->MouseDown(kLeftButton, 90, 410);
  EXPECT_EQ(chart->TabCategory(), 2);
}

TEST_F(ChartInputTest, BoardTabsChooseTheBoardList) {
  auto chart = MakeChart(600, 420);
  chart->PaintIfDirty();
  ASSERT_EQ(chart->BoardTabWidth(), 30);  // "分笔" is 24 pixels wide in the test font
  const struct {
    int x;
    const char* want;
  } kClicks[] = {{435, "分价"}, {465, "跟踪"}, {405, "分笔"}, {495, "分笔"}};
  for (const auto& c : kClicks) {
    SCOPED_TRACE(c.x);
    chart->MouseDown(kLeftButton, c.x, 410);
    ASSERT_EQ(chart->WeiStyle(), TWeiStyle::wsBTab);
    EXPECT_EQ(chart->InfoStr(), c.want);
  }
  EXPECT_FALSE(Called("down left 435,410"));
}

TEST_F(ChartInputTest, PressingATimeSharingPaneChoosesWhereFormulasRun) {
  auto chart = FedChart(10, 600);
  chart->SetShowFs(true);
  chart->PaintIfDirty();
  chart->MouseDown(kLeftButton, 100, 300);
  ASSERT_EQ(chart->WeiStyle(), TWeiStyle::wsVol);
  chart->RunInCurrentPane("V:VOL;");
  EXPECT_EQ(static_cast<FakeFormula&>(chart->FsPane(1)).compiled_text, "V:VOL;");
  chart->MouseDown(kLeftButton, 100, 100);
  chart->RunInCurrentPane("P:CLOSE;");
  EXPECT_EQ(static_cast<FakeFormula&>(chart->FsPane(0)).compiled_text, "P:CLOSE;");
}

TEST_F(ChartInputTest, MovesNeedTheFocusAndRepaintOnlyForTheCursor) {
  auto chart = FedChart();
  chart->MouseMove(kNoButton, 100, 250);
  EXPECT_EQ(chart->CursorPoint().x, -1) << "without the focus";
  host.info_foreground = true;
  chart->MouseMove(kNoButton, 100, 250);
  EXPECT_EQ(chart->CursorPoint().x, 100) << "the information window in front counts as focus";
  host.info_foreground = false;
  host.focused = true;

  chart->MouseMove(kNoButton, 100, 350);
  EXPECT_EQ(chart->WeiStyle(), TWeiStyle::wsGS3);
  EXPECT_EQ(host.calls.back(), "move 100,350");
  EXPECT_FALSE(chart->NeedsRepaint());
  chart->SetShowCursor(true);
  chart->PaintIfDirty();
  chart->MouseMove(kNoButton, 120, 350);
  EXPECT_TRUE(chart->NeedsRepaint());
  EXPECT_EQ(chart->CursorPoint().y, 350) << "a mouse move ends the keyboard cursor";
}

TEST_F(ChartInputTest, DoubleClickTogglesTheInformationWindowOverThePricePane) {
  auto chart = FedChart();
  chart->HitTest(100, 100);
  chart->DoubleClick(100, 100);
  EXPECT_TRUE(chart->ShowCursor());
  EXPECT_TRUE(chart->InfoWindowShown());
  EXPECT_EQ(host.calls.back(), "show info at 30,133 height 215");
  chart->DoubleClick(100, 100);
  EXPECT_FALSE(chart->ShowCursor());
  EXPECT_FALSE(chart->InfoWindowShown());
  EXPECT_EQ(host.calls.back(), "hide info");
  chart->DoubleClick(100, 100);
  EXPECT_EQ(host.calls.back(), "show info height 215") << "the user's position is kept";

  std::vector<TWeiStyle> clicked;
  chart->ONGPDBClick = [&clicked](TWeiStyle region) { clicked.push_back(region); };
  chart->HitTest(100, 250);
  chart->DoubleClick(100, 250);
  EXPECT_EQ(host.calls.back(), "double click 100,250");
  chart->SetShowHint(false);
  chart->HitTest(100, 100);
  chart->DoubleClick(100, 100);
  EXPECT_EQ(clicked, (std::vector<TWeiStyle>{TWeiStyle::wsGS2, TWeiStyle::wsGS1}));
}

TEST_F(ChartInputTest, WheelCountsOnlyTheLowByte) {
  auto chart = FedChart();
  std::string fired;
  chart->ONMouseWheelUp = [&fired] { fired += "up "; };
  chart->ONMouseWheelDown = [&fired] { fired += "down "; };
  for (int delta : {120, -120, 240, 60, 120 + 256, -120 - 512}) chart->MouseWheel(delta);
  EXPECT_EQ(fired, "up down up down ");
  EXPECT_EQ(chart->Scale(), 5);
}

TEST_F(ChartInputTest, FocusLossHidesTheInformationWindowUnlessItIsInFront) {
  auto chart = FedChart();
  Key(*chart, ChartKey::kRight);
  chart->MouseDown(kLeftButton, 100, 100);
  host.info_foreground = true;
  chart->FocusLost();
  EXPECT_TRUE(chart->InfoWindowShown());
  EXPECT_EQ(chart->CursorPoint().y, -2);
  EXPECT_EQ(chart->DragOrigin().x, -1);

  host.info_foreground = false;
  chart->FocusLost();
  EXPECT_FALSE(chart->InfoWindowShown());
  EXPECT_EQ(chart->CursorPoint().x, -1);
  EXPECT_EQ(host.calls.back(), "hide info");
  EXPECT_TRUE(chart->ShowCursor()) << "the crosshair switch stays";
}

TEST_F(ChartInputTest, SwitchingViewsResizesAShownInformationWindow) {
  auto chart = FedChart();
  chart->SetShowCursor(true);
  chart->SetShowFs(true);
  EXPECT_EQ(host.calls.back(), "info height 115");
  chart->SetShowFs(false);
  EXPECT_EQ(host.calls.back(), "info height 215");
}

}  // namespace
}  // namespace vorelin::testing
