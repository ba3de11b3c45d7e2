// The trainee's trades on the price pane: which bar holds a trade at each period, and the
// triangles and letters drawn for them.
#include <gtest/gtest.h>

#include "chart/trade_marks.h"
#include "tests/chart/pane_test_support.h"

namespace vorelin::testing {
namespace {

SeriesView View(const std::vector<double>& values) {
  return {values.data(), static_cast<int>(values.size())};
}

TEST(TradeMarks, BarAtEveryPeriod) {
  struct Case { const char* name; std::vector<double> date, time; TradeMark mark; int bar; };
  const Case cases[] = {
      {"day bar", {20240102, 20240103, 20240104}, {}, {20240103, 0, true, 10}, 1},
      {"after the last bar", {20240102, 20240103}, {}, {20240104, 0, true, 10}, -1},
      // Week bars carry the date of their last day.
      {"combined week bar", {20240105, 20240112}, {}, {20240108, 0, true, 10}, 1},
      {"minute bar", {20240102, 20240102, 20240103}, {931, 932, 931}, {20240102, 932, false, 10}, 1},
      {"minute trade on a day bar", {20240102, 20240103}, {1500, 1500}, {20240103, 1001, true, 10}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BarOfTradeMark(View(c.date), c.time.empty() ? SeriesView{} : View(c.time), c.mark), c.bar);
  }
  const std::vector<double> dates = {20240102, 20240103};
  const std::vector<TradeMark> marks = {{20240103, 0, true, 10.5}, {20240103, 0, false, 11}};
  EXPECT_EQ(TradeMarkTexts(marks, View(dates), {}, 1), (std::vector<std::string>{"买入 10.50", "卖出 11.00"}));
  EXPECT_TRUE(TradeMarkTexts(marks, View(dates), {}, 0).empty());
}

// Geometry of the K-line fixture: y(v) = 193 − Trunc((v − 9) × 46.5), bar centre 5i + 2.
TEST(TradeMarks, BuyUnderTheLowSaleOverTheHigh) {
  FakeFormula formula;
  formula.SetSeries("date", {20240102, 20240103, 20240104});
  formula.SetSeries("open", {10, 12, 11});
  formula.SetSeries("high", {13, 12.5, 11.5});
  formula.SetSeries("low", {9, 9.5, 10.5});
  formula.SetSeries("close", {12, 10, 11});
  formula.SetDrawK(1);
  DrawPaneInput input = PlainPaneInput();
  input.flags.price_pane = true;
  const std::vector<TradeMark> marks = {{20240103, 0, true, 10}, {20240104, 0, false, 11}};
  input.trade_marks = &marks;
  const RecordingCanvas canvas = DrawScripted(formula, input);
  // Buy at bar 1: low 9.5 at y 170, apex 2 below it.
  EXPECT_TRUE(canvas.Has("polygon 7,172 2,180 12,180 pen=0x0000FF w1 solid brush=0x0000FF")) << canvas.Dump();
  EXPECT_EQ(canvas.Lines("text 4,181 'B'").size(), 1u) << canvas.Dump();
  // Sale at bar 2: high 11.5 at y 77, apex 2 above it.
  EXPECT_TRUE(canvas.Has("polygon 12,75 7,67 17,67 pen=0x00A000 w1 solid brush=0x00A000"));
  EXPECT_EQ(canvas.Lines("text 9,").size(), 1u);

  // Not the price pane, or no marks: nothing.
  input.flags.price_pane = false;
  EXPECT_TRUE(DrawScripted(formula, input).Lines("polygon").empty());
}

// A buy at the lowest low would fall out of the plot: it is held inside it.
TEST(TradeMarks, KeptInsideThePlot) {
  FakeFormula formula;
  formula.SetSeries("date", {20240102, 20240103});
  formula.SetSeries("open", {10, 12});
  formula.SetSeries("high", {13, 12.5});
  formula.SetSeries("low", {9, 9.5});
  formula.SetSeries("close", {12, 10});
  formula.SetDrawK(1);
  DrawPaneInput input = PlainPaneInput();
  input.flags.price_pane = true;
  const std::vector<TradeMark> marks = {{20240102, 0, true, 10}, {20240102, 0, false, 10}};
  input.trade_marks = &marks;
  const RecordingCanvas canvas = DrawScripted(formula, input);
  for (const std::string& line : canvas.Lines("polygon")) {
    int x = 0, y = 0;
    ASSERT_EQ(sscanf(line.c_str(), "polygon %d,%d", &x, &y), 2) << line;
    EXPECT_GE(y, 7) << line;
    EXPECT_LE(y, 193) << line;
  }
  EXPECT_EQ(canvas.Lines("polygon").size(), 2u);
}

}  // namespace
}  // namespace vorelin::testing
