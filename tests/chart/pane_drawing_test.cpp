// What a pane draws, checked as recorded canvas calls: K-lines, sticks, lines, bands, texts
// and the legend. Geometry: 300 × 200, t = b = 7, so y(v) = 193 - Trunc((v - min) × M).
#include <gtest/gtest.h>

#include "chart/output_drawer.h"
#include "tests/chart/pane_test_support.h"

namespace vorelin::testing {
namespace {

constexpr double NV = kChartNoValue;

class KLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Up, down, flat: max 13, min 9, M = 46.5.
    formula.SetSeries("open", {10, 12, 11});
    formula.SetSeries("high", {13, 12.5, 11.5});
    formula.SetSeries("low", {9, 9.5, 10.5});
    formula.SetSeries("close", {12, 10, 11});
    formula.SetDrawK(1);
  }
  FakeFormula formula;
};

TEST_F(KLineTest, CandlesWith3dBodies) {
  const RecordingCanvas canvas = DrawScripted(formula, PlainPaneInput());
  EXPECT_EQ(formula.Outputs().front(), "drawkline=high,open,low,close");
  EXPECT_TRUE(canvas.Has("line 2,7 -> 2,193 pen=0x2C24DA w1 solid")) << canvas.Dump();
  EXPECT_TRUE(canvas.Has("stretch 0,147,4,54 bitmap 4x2 from 0x0000FF"));
  EXPECT_TRUE(canvas.Has("line 7,31 -> 7,170 pen=0xFFFF00 w1 solid"));
  EXPECT_TRUE(canvas.Has("stretch 5,54,9,147 bitmap 4x2 from 0xFFFF00"));
  // A flat candle is a line in the down colour.
  EXPECT_TRUE(canvas.Has("line 12,77 -> 12,124 pen=0xFFFF00 w1 solid"));
  EXPECT_TRUE(canvas.Has("line 10,100 -> 14,100 pen=0xFFFF00 w1 solid"));
}

TEST_F(KLineTest, CandlesWithout3d) {
  DrawPaneInput input = PlainPaneInput();
  input.flags.bar3d = false;
  const RecordingCanvas canvas = DrawScripted(formula, input);
  EXPECT_TRUE(canvas.Has("rect 0,147,4,54 pen=0x2C24DA w1 solid brush=0x000000")) << canvas.Dump();
  EXPECT_TRUE(canvas.Has("rect 5,54,9,147 pen=0xFFFF00 w1 solid brush=0xFFFF00"));
  EXPECT_TRUE(canvas.Has("rect 10,100,14,101 pen=0xFFFF00 w1 solid brush=0xFFFF00"));
  EXPECT_TRUE(canvas.Lines("stretch").empty());
}

TEST_F(KLineTest, AmericanBarsTickCloseLeftOpenRight) {
  DrawPaneInput input = PlainPaneInput();
  input.flags.kstyle = TKStyple::ksAmericia;
  const RecordingCanvas canvas = DrawScripted(formula, input);
  EXPECT_TRUE(canvas.Has("line 2,7 -> 2,193 pen=0xFF0000 w1 solid")) << canvas.Dump();
  EXPECT_TRUE(canvas.Has("line 0,54 -> 2,54 pen=0xFF0000 w1 solid"));     // close, left
  EXPECT_TRUE(canvas.Has("line 2,147 -> 4,147 pen=0xFF0000 w1 solid"));   // open, right
  EXPECT_TRUE(canvas.Has("line 5,147 -> 7,147 pen=0x804000 w1 solid"));   // down bar's close
  EXPECT_TRUE(canvas.Lines("stretch").empty());
}

TEST_F(KLineTest, TheKLineEntryIsInsertedOnce) {
  DrawScripted(formula, PlainPaneInput());
  DrawScripted(formula, PlainPaneInput());
  EXPECT_EQ(formula.Outputs().size(), 1u);
}

TEST_F(KLineTest, ExRightsMarkSitsUnderItsBar) {
  formula.SetSeries("date", {20240102, 20240103, 20240104});
  formula.SetExRights({20240103, 20250101});
  const RecordingCanvas canvas = DrawScripted(formula, PlainPaneInput());
  EXPECT_EQ(canvas.Lines("draw "), std::vector<std::string>{"draw -1,184 bitmap 16x16"});
}

TEST_F(KLineTest, KeyboardCursorSitsOnTheCloseOfItsBar) {
  DrawPaneInput input = PlainPaneInput();
  input.flags.price_pane = true;
  input.cursor_y = -2;  // keyboard mode: cursor_x is a bar index
  input.cursor_x = 1;
  RecordingCanvas canvas(300, 200);
  const PaneReport report = DrawPane(canvas, formula, input);
  EXPECT_TRUE(canvas.Has("line 0,147 -> 300,147 pen=0xFFFFFF w1 solid")) << canvas.Dump();  // close 10
  EXPECT_TRUE(canvas.Has("line 7,7 -> 7,200 pen=0xFFFFFF w1 solid"));  // the bar's centre
  EXPECT_EQ(report.cursor_bar, 1);
  EXPECT_NEAR(report.cursor_value, 10.0, 0.05);

  input.cursor_x = 50;  // beyond the last bar: the last drawn bar
  const PaneReport last = DrawPane(canvas, formula, input);
  EXPECT_EQ(last.cursor_bar, 2);
}

TEST(Colorstick, RedAboveCyanBelowWhiteOnZero) {
  FakeFormula formula;
  formula.SetSeries("close", {1, 1, 1});
  formula.SetComputed("macd", {2, -1, 0});  // max 2, min -1: M = 62, y(0) = 131
  formula.SetOutputs({"syline=macd::colorstick", "syline=0::linedot,colorwhite,"});
  const RecordingCanvas canvas = DrawScripted(formula, PlainPaneInput());
  EXPECT_TRUE(canvas.Has("stretch 0,7,5,131 bitmap 4x2 from 0x0000FF")) << canvas.Dump();
  EXPECT_TRUE(canvas.Has("stretch 5,193,10,131 bitmap 4x2 from 0xFFFF00"));
  EXPECT_TRUE(canvas.Has("line 10,131 -> 14,131 pen=0xFFFFFF w1 solid"));
  // The zero line: every even pixel of row y(0).
  EXPECT_TRUE(canvas.Has("pixel 0,131 0xFFFFFF"));
  EXPECT_TRUE(canvas.Has("pixel 300,131 0xFFFFFF"));
  EXPECT_FALSE(canvas.Has("pixel 1,131 0xFFFFFF"));

  DrawPaneInput flat = PlainPaneInput();
  flat.flags.bar3d = false;
  const RecordingCanvas plain = DrawScripted(formula, flat);
  EXPECT_TRUE(plain.Has("line 2,7 -> 2,131 pen=0x0000FF w1 solid")) << plain.Dump();
  EXPECT_TRUE(plain.Has("line 7,193 -> 7,131 pen=0xFFFF00 w1 solid"));
}

TEST(Volstick, BaseIsThePaneBottomForPositiveRanges) {
  FakeFormula formula;
  formula.SetSeries("open", {1, 2});
  formula.SetSeries("close", {2, 1});
  formula.SetSeries("vol", {100, 200});
  formula.SetOutputs({"syline=vol::colorwhite,volstick"});
  const RecordingCanvas canvas = DrawScripted(formula, PlainPaneInput());
  // The smallest bar sits on the base and is lifted one pixel.
  EXPECT_TRUE(canvas.Has("stretch 0,192,4,193 bitmap 4x2 from 0x0000FF")) << canvas.Dump();
  EXPECT_TRUE(canvas.Has("stretch 5,7,9,193 bitmap 4x2 from 0xFFFF00"));

  DrawPaneInput flat = PlainPaneInput();
  flat.flags.bar3d = false;
  const RecordingCanvas plain = DrawScripted(formula, flat);
  EXPECT_TRUE(plain.Has("rect 0,192,4,193 pen=0x0000FF w1 solid brush=0x000000")) << plain.Dump();
  EXPECT_TRUE(plain.Has("rect 5,7,9,193 pen=0xFFFF00 w1 solid brush=0xFFFF00"));
}

TEST(Volstick, AllZeroVolumeDrawsThinBarsAtTheMiddle) {
  FakeFormula formula;
  formula.SetSeries("open", {1, 2});
  formula.SetSeries("close", {2, 1});
  formula.SetSeries("vol", {0, 0});
  formula.SetOutputs({"syline=vol::colorwhite,volstick"});
  DrawPaneInput input = PlainPaneInput();
  input.flags.bar3d = false;
  const RecordingCanvas canvas = DrawScripted(formula, input);
  EXPECT_TRUE(canvas.Has("rect 0,99,4,100 pen=0x0000FF w1 solid brush=0x000000")) << canvas.Dump();
}

TEST(Volstick, WithoutOpenAndCloseReportsAndDrawsNothing) {
  FakeFormula formula;
  formula.SetSeries("vol", {100, 200});
  formula.SetOutputs({"syline=vol::colorwhite,volstick"});
  const RecordingCanvas canvas = DrawScripted(formula, PlainPaneInput());
  EXPECT_EQ(formula.ErrorText(), "vol:volstick输出需要开盘,收盘原始数据!");
  EXPECT_TRUE(canvas.Lines("stretch").empty());
  EXPECT_TRUE(canvas.Lines("rect").empty());
}

TEST(Stickline, HalfWidthFollowsWidthAndBodyWidth) {
  FakeFormula formula;
  formula.SetSeries("close", {10, 12});
  formula.SetComputed("cond", {1, 0});
  formula.SetComputed("p1", {10, 10});
  formula.SetComputed("p2", {12, 12});
  formula.SetOutputs({"stickline=cond,p1,p2,6,0,::colorred"});
  const RecordingCanvas wide = DrawScripted(formula, PlainPaneInput());
  // P = 4, WIDTH 6: half-width 4 around the centre 2; the second bar's COND is 0.
  EXPECT_EQ(wide.Lines("rect"), std::vector<std::string>{"rect -2,193,6,7 pen=0x0000FF w1 solid brush=0x0000FF"});

  formula.SetOutputs({"stickline=cond,p1,p2,1,0,::colorred"});
  const RecordingCanvas thin = DrawScripted(formula, PlainPaneInput());
  EXPECT_TRUE(thin.Lines("rect").empty());
  EXPECT_TRUE(thin.Has("line 2,193 -> 2,7 pen=0x0000FF w1 solid")) << thin.Dump();
}

TEST(Lines, PlainLineBreaksAtGapsPartlineBridgesThem) {
  FakeFormula formula;
  formula.SetSeries("close", {1, 1, 1, 1, 1});
  formula.SetComputed("x", {1, 3, NV, 2, 5});  // y: 193, 100, -, 147, 7
  formula.SetOutputs({"syline=x::colorwhite,"});
  const RecordingCanvas plain = DrawScripted(formula, PlainPaneInput());
  const std::vector<std::string> white = {"line 2,193 -> 7,100 pen=0xFFFFFF w1 solid",
                                          "line 17,147 -> 22,7 pen=0xFFFFFF w1 solid"};
  std::vector<std::string> drawn;
  for (const std::string& line : plain.Lines("line")) {
    if (line.find("0xFFFFFF") != std::string::npos) drawn.push_back(line);
  }
  EXPECT_EQ(drawn, white) << plain.Dump();

  // A partline adds nothing to the range: two constant lines keep it at 1 … 5.
  formula.SetOutputs({"syline=1::colorblack,", "syline=5::colorblack,", "partline=x,colorred,colorgreen,::"});
  const RecordingCanvas part = DrawScripted(formula, PlainPaneInput());
  EXPECT_TRUE(part.Has("line 2,193 -> 7,100 pen=0x0000FF w1 solid")) << part.Dump();
  EXPECT_TRUE(part.Has("line 7,100 -> 17,147 pen=0x00FF00 w1 solid"));
  EXPECT_TRUE(part.Has("line 17,147 -> 22,7 pen=0x0000FF w1 solid"));
}

TEST(Lines, AttributeWordsSetStyleColourAndWidth) {
  FakeFormula formula;
  formula.SetSeries("close", {1, 2});
  formula.SetOutputs({"syline=close::colorred,linethick3,linedashdotdot"});
  const RecordingCanvas canvas = DrawScripted(formula, PlainPaneInput());
  EXPECT_TRUE(canvas.Has("line 2,193 -> 7,7 pen=0x0000FF w3 dashdotdot")) << canvas.Dump();
}

TEST(Drawband, ColoursSwapAtTheCrossing) {
  FakeFormula formula;
  formula.SetSeries("close", {1, 1, 1});
  formula.SetComputed("v1", {1, 3, 3});
  formula.SetComputed("v2", {2, 2, 2});  // y(1) = 193, y(2) = 100, y(3) = 7
  formula.SetOutputs({"drawband=v1,255,v2,65280,::"});
  const RecordingCanvas canvas = DrawScripted(formula, PlainPaneInput());
  EXPECT_EQ(canvas.Lines("polygon"),
            (std::vector<std::string>{
                "polygon 0,193 2,193 4,100 2,100 0,100 0,193 pen=0x00FF00 w1 solid brush=0x00FF00",
                "polygon 4,100 7,7 12,7 12,100 7,100 4,100 4,100 pen=0x0000FF w1 solid brush=0x0000FF"}))
      << canvas.Dump();
}

TEST(Drawtext, AnchoredAtTheLeftEdgeCentredOnThePrice) {
  FakeFormula formula;
  formula.SetSeries("close", {1, 1});
  formula.SetSeries("low", {9, 10});
  formula.SetComputed("up", {0, 1});
  formula.SetOutputs({"drawtext=up,low,'买',::colorred"});
  const RecordingCanvas canvas = DrawScripted(formula, PlainPaneInput());
  EXPECT_EQ(canvas.Lines("text"), std::vector<std::string>{"text 5,0 '买' 0x0000FF size12"});
}

TEST(Drawgbk, PaintsThePlotOnceWhateverTheBars) {
  FakeFormula formula;
  formula.SetSeries("close", {1, 1, 1});
  formula.SetComputed("cond", {1, 1, 1});
  formula.SetOutputs({"drawgbk=cond,255,65280,1,'back',::"});
  const RecordingCanvas canvas = DrawScripted(formula, PlainPaneInput());
  EXPECT_EQ(canvas.Lines("draw "), std::vector<std::string>{"draw 0,7 bitmap 300x186"});
}

TEST(Drawicon, StandsOnThePrice) {
  FakeFormula formula;
  formula.SetSeries("close", {10, 12});
  formula.SetComputed("cond", {0, 1});
  formula.SetOutputs({"drawicon=cond,close,1,::", "drawicon=cond,close,99,::"});
  const RecordingCanvas canvas = DrawScripted(formula, PlainPaneInput());
  // c(1) = 7, y(12) = 7: the 16 × 16 icon is centred and stands on the price; IC99 is none.
  EXPECT_EQ(canvas.Lines("draw "), std::vector<std::string>{"draw -1,-9 bitmap 16x16"});
}

class LegendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    formula.SetSeries("close", {1, 1});
    formula.SetComputed("dif", {1.5, 2.5});
    formula.SetComputed("@tt_3", {3, 4});
    formula.SetComputed("dea", {0.5, 1});
    formula.SetComputed("nv", {NV, NV});
    formula.SetShortName("macd");
    formula.SetParameters({12, 26, 9});
    formula.SetOutputs({"syline=dif::colorwhite,", "syline=@tt_3::coloryellow,", "syline=dea::nodraw,colorred",
                        "syline=gone::colorwhite,", "syline=nv::colorgreen,"});
    input.flags.title = true;
    input.flags.period_label = "日线";
  }
  FakeFormula formula;
  DrawPaneInput input = PlainPaneInput();
};

TEST_F(LegendTest, TitleThenNamesAndValuesOfTheLastBar) {
  EXPECT_EQ(PaneTitle(formula, input.flags), "(日线)MACD(12_26_9)");
  const RecordingCanvas canvas = DrawScripted(formula, input);
  // The title is 114 pixels wide; each legend starts at l + L + 2 and is written one "."
  // further right, its decimals underlined and one pixel smaller.
  EXPECT_TRUE(canvas.Has("text 2,2 '(日线)MACD(12_26_9)' 0xFFFFFF size12")) << canvas.Dump();
  EXPECT_TRUE(canvas.Has("text 122,2 'DIF:2.' 0xFFFFFF size12"));
  EXPECT_TRUE(canvas.Has("text 158,2 '500' 0xFFFFFF size11 underline"));
  EXPECT_TRUE(canvas.Has("text 179,2 ':4.' 0x00FFFF size12"));
  EXPECT_TRUE(canvas.Has("text 218,2 'DEA:1.' 0x0000FF size12"));
  EXPECT_TRUE(canvas.Has("text 275,2 'NV:-' 0x00FF00 size12"));
  EXPECT_EQ(canvas.Lines("text 2,2").size(), 1u);  // the title only; "gone" has no legend
}

TEST_F(LegendTest, ValuesUnderTheCursor) {
  input.flags.cursor = true;
  input.cursor_x = 2;  // bar 0
  input.cursor_y = 50;
  const RecordingCanvas canvas = DrawScripted(formula, input);
  EXPECT_TRUE(canvas.Has("text 122,2 'DIF:1.' 0xFFFFFF size12")) << canvas.Dump();
}

TEST_F(LegendTest, NodrawLineDrawsNothing) {
  formula.SetOutputs({"syline=dea::nodraw,colorred"});
  const RecordingCanvas canvas = DrawScripted(formula, input);
  for (const std::string& line : canvas.Lines("line")) EXPECT_EQ(line.find("0x0000FF"), std::string::npos) << line;
}

TEST(Title, PriceAndAdjustedPanes) {
  FakeFormula formula;
  formula.SetShortName("ma");
  formula.SetParameters({5, 10});
  PaneFlags flags;
  flags.time_sharing = false;
  flags.price_pane = true;
  flags.stock_label = "600000";
  flags.period_label = "日线";
  flags.quan = TQuanStyle::qsBefore;
  EXPECT_EQ(PaneTitle(formula, flags), "600000(日线.前复权)");
  flags.stock_name = "浦发银行";
  flags.quan = TQuanStyle::qsNone;
  EXPECT_EQ(PaneTitle(formula, flags), "浦发银行(日线)");
  flags.price_pane = false;
  flags.stock_name.clear();
  flags.stock_label.clear();
  formula.SetParameters({});
  EXPECT_EQ(PaneTitle(formula, flags), "(日线)MA");
}

}  // namespace
}  // namespace vorelin::testing

namespace vorelin::testing {
namespace {

TEST(SmoothLine, BlendsTheTwoPixelsAroundTheExactLine) {
  RecordingCanvas canvas(10, 10);
  SmoothLine(canvas, 0, 0, 4, 2, 0xFFFFFF);
  EXPECT_EQ(canvas.GetPixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(canvas.GetPixel(1, 0), 0x808080u);  // m = 0.5: half on each row
  EXPECT_EQ(canvas.GetPixel(1, 1), 0x808080u);
  EXPECT_EQ(canvas.GetPixel(2, 1), 0xFFFFFFu);  // whole m: one pixel
  EXPECT_EQ(canvas.GetPixel(4, 2), 0xFFFFFFu);
  SmoothLine(canvas, 6, 1, 6, 5, 0x0000FF);  // vertical: a plain pen line
  EXPECT_TRUE(canvas.Has("line 6,1 -> 6,5 pen=0x0000FF w1 solid"));
}

TEST(SmoothLine, HighDefinitionLinesUseIt) {
  FakeFormula formula;
  formula.SetSeries("close", {1, 3});
  formula.SetOutputs({"syline=close::colorwhite,"});
  DrawPaneInput input = PlainPaneInput();
  input.flags.high_definition = true;
  const RecordingCanvas canvas = DrawScripted(formula, input);
  EXPECT_FALSE(canvas.Lines("pixel 2,193").empty());
  for (const std::string& line : canvas.Lines("line")) EXPECT_EQ(line.find("0xFFFFFF"), std::string::npos) << line;
}

}  // namespace
}  // namespace vorelin::testing

namespace vorelin::testing {
namespace {

TEST(SmoothLine, ValuesFarOffTheScaleStayCheap) {
  FakeFormula formula;
  formula.SetSeries("close", {1, 1, 1});
  formula.SetComputed("x", {1e12, -1e12, 5});  // a partline adds nothing to the range
  formula.SetOutputs({"partline=x,colorred,colorgreen,::"});
  DrawPaneInput input = PlainPaneInput();
  input.flags.high_definition = true;
  const RecordingCanvas canvas = DrawScripted(formula, input);
  EXPECT_LE(canvas.Lines("pixel").size(), 2u * 2u * 200u);  // at most two per row crossed
}

}  // namespace
}  // namespace vorelin::testing
