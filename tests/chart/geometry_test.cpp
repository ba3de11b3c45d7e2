// Scale rules, axis formats, margins and the splitting of output entries.
#include <gtest/gtest.h>

#include "chart/axis_format.h"
#include "chart/output_entry.h"
#include "chart/pane_geometry.h"
#include "tests/chart/fake_formula.h"

namespace vorelin::testing {
namespace {

TEST(AxisFormat, DivisorAndDecimalsFollowTheAxisWidth) {
  struct Case {
    const char* name;
    int characters;
    double maximum;
    const char* format;
    int divisor;
  };
  const Case kCases[] = {
      {"six digits on a five-character axis", 5, 123456.7, "%5.0f", 10},
      {"short price gets three decimals", 6, 12.34, "%2.3f", 1},
      {"fills the axis exactly", 5, 12345, "%5.0f", 1},
      {"one decimal when one character is spare", 5, 123.4, "%3.2f", 1},
      {"volume in the millions", 5, 12345678, "%5.0f", 1000},
      {"huge numbers", 5, 1e13, "%8.2f", 1},
      {"negative maximum counts its sign", 6, -12.5, "%3.3f", 1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const AxisNumberFormat f = AxisFormat(c.characters, c.maximum);
    EXPECT_EQ(f.format, c.format);
    EXPECT_EQ(f.divisor, c.divisor);
  }
}

TEST(AxisFormat, DivisorBoxText) {
  EXPECT_EQ(DivisorText(10), "×10");
  EXPECT_EQ(DivisorText(1000), "×1000");
  EXPECT_EQ(DivisorText(100000), "×10万");
}

TEST(PaneLayout, MarginsAndMappings) {
  PaneFlags flags;
  flags.time_sharing = false;
  flags.title = true;
  flags.bottom_axis = true;
  flags.left_axis = true;
  flags.right_axis = true;
  const PaneGeometry g = LayoutPane(flags, 600, 300, 14, 20, 5, 1000);
  EXPECT_EQ(g.t, 18);      // h + h / 3
  EXPECT_EQ(g.b, 7 + 18);  // h2 + 18
  EXPECT_EQ(g.l, 50);
  EXPECT_EQ(g.r, 50);
  EXPECT_EQ(g.d, 20);
  EXPECT_EQ(g.e, 20 + 100);
  EXPECT_DOUBLE_EQ(g.P, 4);
  EXPECT_EQ(g.X(20), 50);
  EXPECT_EQ(g.X(23), 65);
  EXPECT_EQ(g.Centre(23), 67);
  EXPECT_EQ(g.BarAtX(67), 23);

  PaneFlags fs;
  fs.title = false;
  const PaneGeometry t = LayoutPane(fs, 530, 300, 14, 0, 5, 100);
  EXPECT_EQ(t.t, 0);
  EXPECT_EQ(t.b, 2);
  EXPECT_DOUBLE_EQ(t.u, 2);  // one slot per minute: (530 - 50) / 240
  EXPECT_EQ(t.e, 100);
}

TEST(PaneLayout, BodyWidthNarrowsWithSpacing) {
  PaneFlags flags;
  flags.time_sharing = false;
  for (auto [scale, body] : {std::pair{2.0, 2.0}, {3.0, 2.0}, {8.0, 7.0}, {9.0, 7.0}, {12.0, 10.0}}) {
    EXPECT_DOUBLE_EQ(LayoutPane(flags, 600, 300, 14, 0, scale, 10).P, body) << scale;
  }
}

TEST(MinuteMapping, MorningAndAfternoonSessions) {
  EXPECT_EQ(MinuteIndexToClock(0), 9 * 60 + 30);
  EXPECT_EQ(MinuteIndexToClock(120), 11 * 60 + 30);
  EXPECT_EQ(MinuteIndexToClock(121), 13 * 60 + 1);
  EXPECT_EQ(MinuteIndexToClock(240), 15 * 60);
}

class ScaleTest : public ::testing::Test {
 protected:
  PaneGeometry Scale(const PaneFlags& flags, bool klines = false) {
    PaneGeometry g = LayoutPane(flags, 600, 300, 14, 0, 5, formula.BarCount());
    ComputeScale(formula, flags, klines, g);
    return g;
  }
  FakeFormula formula;
};

TEST_F(ScaleTest, EqualValuesAreWidenedAroundThem) {
  formula.SetSeries("close", {5, 5, 5});
  formula.SetOutputs({"syline=close::colorwhite,"});
  PaneFlags flags;
  flags.time_sharing = false;
  const PaneGeometry g = Scale(flags);
  EXPECT_DOUBLE_EQ(g.max, 5.001);
  EXPECT_DOUBLE_EQ(g.min, 4.999);
}

TEST_F(ScaleTest, NoValidValueGivesASmallRangeAroundZero) {
  formula.SetSeries("close", {kChartNoValue, kChartNoValue});
  formula.SetOutputs({"syline=close::colorwhite,"});
  PaneFlags flags;
  flags.time_sharing = false;
  const PaneGeometry g = Scale(flags);
  EXPECT_DOUBLE_EQ(g.max, 0.001);
  EXPECT_DOUBLE_EQ(g.min, -0.001);
}

TEST_F(ScaleTest, NodrawLinesAndOtherArgumentsStayOutOfTheRange) {
  formula.SetSeries("close", {10, 11});
  formula.SetComputed("big", {100, 200});
  formula.SetComputed("cond", {1, 1});
  formula.SetOutputs({"syline=close::colorwhite,", "syline=big::nodraw", "stickline=cond,close,30,6,0,::",
                      "drawicon=cond,close,1,::"});
  PaneFlags flags;
  flags.time_sharing = false;
  const PaneGeometry g = Scale(flags);
  EXPECT_DOUBLE_EQ(g.max, 30);  // the stickline's constant PRICE2
  EXPECT_DOUBLE_EQ(g.min, 10);
}

TEST_F(ScaleTest, KLinesAddTheRawPrices) {
  formula.SetSeries("open", {10});
  formula.SetSeries("close", {11});
  formula.SetSeries("high", {12});
  formula.SetSeries("low", {9});
  PaneFlags flags;
  flags.time_sharing = false;
  const PaneGeometry g = Scale(flags, true);
  EXPECT_DOUBLE_EQ(g.max, 12);
  EXPECT_DOUBLE_EQ(g.min, 9);
}

TEST_F(ScaleTest, TimeSharingAroundThePreviousClose) {
  formula.SetSeries("close", {9.8, 10.1, 10.4});
  formula.SetOutputs({"syline=close::colorwhite,"});
  PaneFlags flags;
  flags.price_pane = true;
  flags.prev_close = 10.0;
  struct Case {
    const char* name;
    bool pr10;
    const char* stock;
    double max, min;
  };
  const Case kCases[] = {{"full height", false, "平安银行", 10.4, 9.6},
                         {"ten percent", true, "平安银行", 11.0, 9.0},
                         {"ST stock", true, "*ST海润", 10.5, 9.5}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    flags.pr10 = c.pr10;
    flags.stock_name = c.stock;
    const PaneGeometry g = Scale(flags);
    EXPECT_NEAR(g.max, c.max, 1e-9);
    EXPECT_NEAR(g.min, c.min, 1e-9);
  }
}

TEST(OutputEntries, SplitAtSeparatorsOutsideQuotes) {
  const OutputEntry line = ParseOutputEntry("syline=macd::colorstick");
  EXPECT_EQ(line.command, "syline");
  EXPECT_EQ(line.arguments, std::vector<std::string>{"macd"});
  EXPECT_EQ(line.words, std::vector<std::string>{"colorstick"});

  const OutputEntry command = ParseOutputEntry("stickline=@t_7_5,3.3,4,2,0,::colorgreen,linethick2");
  EXPECT_EQ(command.command, "stickline");
  EXPECT_EQ(command.arguments, (std::vector<std::string>{"@t_7_5", "3.3", "4", "2", "0"}));
  EXPECT_EQ(command.words, (std::vector<std::string>{"colorgreen", "linethick2"}));

  const OutputEntry quoted = ParseOutputEntry("drawtext=c,l,'a,b::c',::coloryellow linedot");
  EXPECT_EQ(quoted.arguments, (std::vector<std::string>{"c", "l", "'a,b::c'"}));
  EXPECT_EQ(quoted.words, (std::vector<std::string>{"coloryellow", "linedot"}));
  EXPECT_EQ(WithoutQuotes(quoted.arguments[2]), "a,b::c");
}

}  // namespace
}  // namespace vorelin::testing
