// Drawing commands as output entries (and a named STICKLINE's series), and DRAWLINE's
// segments with and without extension.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "formula/function_table.h"
#include "formula/interpreter.h"
#include "series_expect.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;
using Texts = std::vector<std::string>;

TEST(DrawingRecorder, EveryDrawingNameSharesTheRecorder) {
  const TFunclist& table = StandardFunctionTable();
  const LibraryFunction recorder = table.Lookup("stickline");
  ASSERT_NE(recorder, nullptr);
  for (const char* name : {"ployline", "stickline", "stickbar", "drawkline", "drawicon",
                           "drawtext", "partline", "drawtext_fix", "drawnumber_fix", "twr", "btx",
                           "drawrectrel", "drawgbk", "drawbmp", "drawnumber", "drawband"}) {
    EXPECT_EQ(table.Lookup(name), recorder) << name;
  }
  EXPECT_NE(table.Lookup("drawline"), nullptr);
  EXPECT_NE(table.Lookup("drawline"), recorder);
}

TEST(DrawingRecorder, EntryHoldsEveryArgumentTextAndTheAttributes) {
  TGS gs;
  const Series x = {1, 2};
  gs.SetRawSeries("close", x.data(), 2);
  LibraryFunction recorder = gs.Functions().Lookup("drawtext");
  // An unresolvable argument is the chart's business; an empty one keeps its place.
  ASSERT_TRUE(recorder(gs, "", "drawtext", {"nosuch", "'up,down'", "", "close", "::colorred", ""}));
  ASSERT_EQ(gs.Outputs(), Texts{"drawtext=nosuch,'up,down',,close,::colorred"});
}

TEST(DrawingRecorder, CompiledStickLine) {
  const SampleBars bars = MakeSampleBars(20);
  TGS gs;
  LoadSampleBars(gs, bars);
  ASSERT_TRUE(gs.CompileText("STICKLINE(C>O,3.3,4,2,0),COLORGREEN,LINETHICK2;")) << gs.ErrorText();
  ASSERT_EQ(gs.Outputs().size(), 1u);
  const std::string& entry = gs.Outputs()[0];
  EXPECT_EQ(entry.rfind("stickline=@t_", 0), 0u) << entry;
  const std::string tail = ",3.3,4,2,0,::colorgreen,linethick2";
  ASSERT_GT(entry.size(), tail.size());
  EXPECT_EQ(entry.substr(entry.size() - tail.size()), tail) << entry;
}

TEST(DrawingRecorder, NamedStickLineKeepsItsCondition) {
  TGS gs;
  const Series close = {5, 6, 4, M};
  gs.SetRawSeries("close", close.data(), 4);
  ASSERT_TRUE(gs.CompileText("S:STICKLINE(C-5,C,0,1,0);")) << gs.ErrorText();
  ExpectSeries(Values(gs.FindSeries("s")), {0, 1, 0, 0});
  ASSERT_EQ(gs.Outputs().size(), 2u);
  EXPECT_EQ(gs.Outputs()[0], "syline=s::colorwhite,");
  EXPECT_EQ(gs.Outputs()[1].rfind("stickline=", 0), 0u);

  LibraryFunction recorder = gs.Functions().Lookup("stickline");
  EXPECT_FALSE(recorder(gs, "t", "stickline", {"foo", "1", "2", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "stickline参数X 不存在!");
  EXPECT_EQ(gs.FindSeries("t"), nullptr);
  EXPECT_EQ(gs.Outputs().size(), 2u);
  EXPECT_TRUE(recorder(gs, "", "stickline", {"foo", "1", "2", "::", ""}));  // unnamed: recorded
}

struct LineCase {
  const char* name;
  Series x1, x2;
  const char* ex;
  Series want;
};

// V1 = 10 + bar, V2 = 100 + 2·bar; segments written out as p + (q − p)·(i − c)/(e − c).
const LineCase kLines[] = {
    {"one segment", {0, 0, 0, 1, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 1, 0, 0}, "0",
     {M, M, M, 13, 13 + 101.0 / 4, 13 + 202.0 / 4, 13 + 303.0 / 4, 114, M, M}},
    {"one segment extended to the bar before the last", {0, 0, 0, 1, 0, 0, 0, 0, 0, 0},
     {0, 0, 0, 0, 0, 0, 0, 1, 0, 0}, "1",
     {M, M, M, 13, 13 + 101.0 / 4, 13 + 202.0 / 4, 13 + 303.0 / 4, 114, 13 + 505.0 / 4, M}},
    {"latest start before the end, two segments", {0, 1, 0, 0, 1, 1, 0, 0, 0, 0},
     {0, 0, 1, 0, 0, 0, 0, 0, 1, 0}, "0",
     {M, 11, 104, M, M, 15, 15 + 101.0 / 3, 15 + 202.0 / 3, 116, M}},
    {"extension stops before the later segment", {0, 1, 0, 0, 1, 1, 0, 0, 0, 0},
     {0, 0, 1, 0, 0, 0, 0, 0, 1, 0}, "1",
     {M, 11, 104, 197, M, 15, 15 + 101.0 / 3, 15 + 202.0 / 3, 116, M}},
    {"an end on bar 0 does not count", {1, 0, 0}, {1, 0, 0}, "0", {M, M, M}},
    {"an end without an earlier start", {0, 0, 0, 1}, {0, 1, 0, 0}, "0", {M, M, M, M}},
    {"end needs at least 1, start above 0", {0.5, 0, 0, 0, 0}, {0, 0, 0, 1, 0.99}, "0",
     {10, 42, 74, 106, M}},
    {"ex other than exactly 1 does not extend", {1, 0, 1, 0, 0}, {0, 1, 0, 0, 0}, "2",
     {10, 102, M, M, M}},
};

TEST(DrawLine, Segments) {
  for (const LineCase& c : kLines) {
    SCOPED_TRACE(c.name);
    TGS gs;
    const int n = static_cast<int>(c.x1.size());
    Series v1(n), v2(n);
    for (int i = 0; i < n; ++i) {
      v1[i] = 10 + i;
      v2[i] = 100 + 2 * i;
    }
    gs.SetRawSeries("x1", c.x1.data(), n);
    gs.SetRawSeries("x2", c.x2.data(), n);
    gs.SetRawSeries("v1", v1.data(), n);
    gs.SetRawSeries("v2", v2.data(), n);
    LibraryFunction drawLine = gs.Functions().Lookup("drawline");
    ASSERT_TRUE(drawLine(gs, "r", "drawline", {"x1", "v1", "x2", "v2", c.ex, "::", ""}))
        << gs.ErrorText();
    ExpectSeries(Values(gs.FindSeries("r")), c.want);
    EXPECT_TRUE(gs.Outputs().empty());  // a named result draws as its own output line
  }
}

TEST(DrawLine, SegmentEndWithoutValueStaysWithoutValue) {
  TGS gs;
  const Series x1 = {1, 0, 0}, x2 = {0, 0, 1}, v = {M, 5, 6};
  gs.SetRawSeries("x1", x1.data(), 3);
  gs.SetRawSeries("x2", x2.data(), 3);
  gs.SetRawSeries("v", v.data(), 3);
  LibraryFunction drawLine = gs.Functions().Lookup("drawline");
  ASSERT_TRUE(drawLine(gs, "r", "drawline", {"x1", "v", "x2", "v", "0", "::", ""}));
  ExpectSeries(Values(gs.FindSeries("r")), {M, M, M});
}

TEST(DrawLine, BareCallDrawsOnceUnderItsInternalName) {
  const SampleBars bars = MakeSampleBars(30);
  TGS gs;
  LoadSampleBars(gs, bars);
  ASSERT_TRUE(gs.CompileText("DRAWLINE(C>O,L,C<O,H,0),COLORRED;")) << gs.ErrorText();
  ASSERT_EQ(gs.Outputs().size(), 1u) << gs.Outputs().back();
  EXPECT_EQ(gs.Outputs()[0], "syline=@TT_2::colorred");
  ASSERT_NE(gs.FindSeries("@tt_2"), nullptr);

  // Called for an internal name that has no output line yet, DRAWLINE adds it.
  LibraryFunction drawLine = gs.Functions().Lookup("drawline");
  ASSERT_TRUE(drawLine(gs, "@t_9_1", "drawline", {"1", "l", "1", "h", "0", "::linedot", ""}));
  EXPECT_EQ(gs.Outputs().back(), "syline=@t_9_1::linedot");
}

TEST(DrawLine, Messages) {
  const char* kWant[] = {"DRAWLINE(X1,V1,X2,V2,EX)参数X1:foo没定义!",
                         "DRAWLINE(X1,V1,X2,V2,EX)参数V1:foo没定义!",
                         "DRAWLINE(X1,V1,X2,V2,EX)参数X2:foo没定义!",
                         "DRAWLINE(X1,V1,X2,V2,EX)参数V2:foo没定义!",
                         "DRAWLINE(X1,V1,X2,V2,EX)参数EX:foo没定义!"};
  for (size_t bad = 0; bad < 5; ++bad) {
    TGS gs;
    const Series close = {1, 2};
    gs.SetRawSeries("close", close.data(), 2);
    Texts args = {"close", "close", "close", "close", "0", "::", ""};
    args[bad] = "foo";
    LibraryFunction drawLine = gs.Functions().Lookup("drawline");
    EXPECT_FALSE(drawLine(gs, "@tt_0", "drawline", args));
    EXPECT_EQ(gs.ErrorText(), kWant[bad]);
    EXPECT_EQ(gs.FindSeries("@tt_0"), nullptr);
    EXPECT_TRUE(gs.Outputs().empty());
  }
}

// Every function of the conditional, drawing and cost families, called with odd arguments
// over extreme values, either fails with a message or stores only finite values.
TEST(ConditionalDrawingCost, NoNaNOrInfinityForAnyArguments) {
  const Series x = {1e300, -1e300, M, 0, 1, 1e-300, 5, 1, 1, -2, 1e300, 3};
  const Series a = {2, M, -1e300, 1, 0, 1e300, 1, 1, 0, 3, -1e300, 1};
  const Texts pool = {"x",   "a",      "drawnull", "0",         "1",   "-1",  "2.5",
                      "1e300", "-1e300", "-10000000", "100000000", "foo", ""};
  const char* kNames[] = {"if", "sma", "longcross", "between", "range", "nday", "upnday",
                          "downnday", "barslastcount", "exist", "every", "last", "rgb", "const",
                          "drawline", "stickline", "drawtext", "cost", "winner"};
  std::mt19937 random(11);
  std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
  for (const char* name : kNames) {
    SCOPED_TRACE(name);
    for (int round = 0; round < 300; ++round) {
      TGS gs;
      gs.SetRawSeries("x", x.data(), static_cast<int>(x.size()));
      gs.SetRawSeries("a", a.data(), static_cast<int>(a.size()));
      gs.SetRawSeries("high", x.data(), static_cast<int>(x.size()));
      gs.SetRawSeries("low", a.data(), static_cast<int>(a.size()));
      gs.SetRawSeries("vol", a.data(), static_cast<int>(a.size()));
      Texts args;
      for (int k = 0; k < 5; ++k) args.push_back(pool[pick(random)]);
      args.push_back("::");
      args.emplace_back();
      const std::string result = round % 2 ? "r" : "@tt_1";
      if (!gs.Functions().Lookup(name)(gs, result, name, args)) {
        EXPECT_FALSE(gs.ErrorText().empty());
        continue;
      }
      if (const Tbian* series = gs.FindSeries(result)) {
        for (double v : Values(series)) ASSERT_TRUE(std::isfinite(v)) << args[0] << "," << args[1];
      }
      for (const auto& [constant, text] : gs.Constants()) {
        EXPECT_EQ(text.find_first_of("ni"), std::string::npos) << text;  // no "nan", "inf"
      }
    }
  }
}

}  // namespace
}  // namespace vorelin
