// The (X) and (A,B) families: per-value maths with its domains, constant results, the
// bar-counting functions, CROSS's counter and the argument messages.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

#include "formula/interpreter.h"
#include "series_expect.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;

void ExpectClose(const Series& got, const Series& want) {
  ExpectSeriesWithin(got, want, Tolerance::kRelative, 1e-12);
}

// Runs func over the raw series "a" (and "b"); an argument text other than "a"/"b" is
// passed as written, so constants can be mixed with series.
Series Call(const char* func, const Series& a, const Series& b = {},
            std::vector<std::string> args = {"a", "b"}) {
  TGS gs;
  gs.SetRawSeries("a", a.data(), static_cast<int>(a.size()));
  if (!b.empty()) gs.SetRawSeries("b", b.data(), static_cast<int>(b.size()));
  LibraryFunction f = gs.Functions().Lookup(func);
  EXPECT_NE(f, nullptr) << func;
  if (f == nullptr) return {};
  args.insert(args.end(), {"::", ""});
  EXPECT_TRUE(f(gs, "r", func, args)) << gs.ErrorText();
  return Values(gs.FindSeries("r"));
}

struct BinaryCase {
  const char* name;
  const char* func;
  Series a;
  const char* bText;  // "b" for the series below, else a constant
  Series b;
  Series want;
};

const BinaryCase kBinaryCases[] = {
    {"max takes the marker as a number", "max", {M, 3, 5}, "b", {2, M, 6}, {2, 3, 6}},
    {"min takes the marker as a number", "min", {M, 3, 5}, "b", {2, 1, 6}, {M, 1, 5}},
    {"max with a constant", "max", {1, 5, 3}, "4", {}, {4, 5, 4}},
    {"mod signs", "mod", {7.9, -7, 7, -7}, "b", {-3, 3, 3.9, -3}, {1, -1, 1, -1}},
    {"mod by a divisor truncating to 0", "mod", {7, 7}, "b", {0.5, 0}, {M, M}},
    {"mod of the marker", "mod", {M}, "3", {}, {-1}},
    {"pow", "pow", {2, -2, 4, 0}, "b", {3, 3, 0.5, 0}, {8, -8, 2, 1}},
    {"pow outside its domain", "pow", {-8, 10, 0}, "b", {1.0 / 3, 400, -1}, {M, M, M}},
    {"cross after one bar below", "cross", {1, 3, 3, 1, 4}, "b", {2, 2, 2, 2, 2},
     {0, 0, 0, 0, 1}},
    {"cross on equality", "cross", {5, 1, 2}, "b", {2, 2, 2}, {0, 0, 1}},
    {"cross: bar 0 below is not counted", "cross", {1, 3}, "b", {2, 2}, {0, 0}},
    {"cross over a marker", "cross", {5, 5, 5, 5, 5, 1, M, 3}, "b", {2, 2, 2, 2, 2, 2, 2, 2},
     {0, 0, 0, 0, 0, 0, M, 1}},
    {"cross with b missing", "cross", {1, 1, 1, 3}, "b", {2, 2, M, 2}, {0, 0, M, 1}},
    {"cross marker on bar 0 lets bar 1 count", "cross", {M, 1, 3}, "b", {2, 2, 2}, {M, 0, 1}},
    {"b shorter than the bars has no value past its end", "cross", {1, 1, 3, 1, 3}, "b",
     {2, 2, 2}, {0, 0, 1, M, M}},
    {"cross of a series and a constant", "cross", {1, 2, 3, 2, 4}, "2.5", {}, {0, 0, 1, 0, 1}},
};

TEST(BinaryFunctions, Cases) {
  for (const BinaryCase& c : kBinaryCases) {
    SCOPED_TRACE(c.name);
    ExpectClose(Call(c.func, c.a, c.b, {"a", c.bText}), c.want);
  }
}

TEST(BinaryFunctions, TwoConstantsStillGiveASeries) {
  ExpectClose(Call("pow", {0, 0, 0}, {}, {"2", "3"}), {8, 8, 8});
  ExpectClose(Call("mod", {0, 0}, {}, {"7.9", "-3"}), {1, 1});
  ExpectClose(Call("mod", {0, 0}, {}, {"-7", "3"}), {-1, -1});
}

// CROSS against its plain meaning: 1 where A >= B and the previous bar with both values
// (not bar 0) had A < B.
TEST(BinaryFunctions, CrossMatchesItsDefinitionOnRandomSeries) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> level(0, 4);
  for (int round = 0; round < 20; ++round) {
    Series a(300), b(300);
    for (int i = 0; i < 300; ++i) {
      a[i] = level(random) == 0 ? M : level(random);
      b[i] = level(random) == 0 ? M : level(random);
    }
    const Series got = Call("cross", a, b);
    for (int i = 0; i < 300; ++i) {
      double want = 0;
      if (a[i] == M || b[i] == M) {
        want = M;
      } else if (i > 0 && a[i] >= b[i]) {
        int j = i - 1;
        while (j > 0 && (a[j] == M || b[j] == M)) --j;
        want = j > 0 && a[j] < b[j] ? 1 : 0;
      }
      ASSERT_EQ(got[i], want) << "round " << round << " bar " << i;
    }
  }
}

TEST(BinaryFunctions, CrossOfMovingAverages) {
  TGS gs;
  LoadSampleBars(gs, MakeSampleBars(120));
  ASSERT_TRUE(gs.CompileText("X:CROSS(MA(C,5),MA(C,10));")) << gs.ErrorText();
  const Series x = Values(gs.FindSeries("x"));
  ASSERT_EQ(x.size(), 120u);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(x[i], M) << i;
  for (int i = 9; i < 120; ++i) EXPECT_TRUE(x[i] == 0 || x[i] == 1) << i;
}

struct UnaryCase {
  const char* name;
  const char* func;
  Series x;
  Series want;
};

const double kPi = std::numbers::pi;

const UnaryCase kUnaryCases[] = {
    {"abs", "abs", {-2.5, 0, 3, M}, {2.5, 0, 3, M}},
    {"sin in degrees", "sin", {90, 30, -90, 0}, {1, 0.5, -1, 0}},
    {"cos in degrees", "cos", {0, 60, 180}, {1, 0.5, -1}},
    {"tan in degrees", "tan", {45, -45, 0}, {1, -1, 0}},
    {"tan at 90 degrees", "tan", {90, -90, 270, 450}, {M, M, M, M}},
    {"asin atan acos in radians", "asin", {1, -1, 0.5}, {kPi / 2, -kPi / 2, kPi / 6}},
    {"atan", "atan", {1, 0}, {0.7853981633974483, 0}},
    {"acos", "acos", {1, -1, 0}, {0, kPi, kPi / 2}},
    {"asin outside -1..1", "asin", {1.5, -1.0001}, {M, M}},
    {"acos outside -1..1", "acos", {2, -3}, {M, M}},
    {"sqrt", "sqrt", {4, 0, 2, -1}, {2, 0, std::sqrt(2.0), M}},
    {"exp", "exp", {0, 1, 1000}, {1, std::exp(1.0), M}},
    {"log base 10", "log", {100, 1, 0, -5}, {2, 0, M, M}},
    {"ln natural", "ln", {100, std::exp(1.0), 1, 0, -1}, {std::log(100.0), 1, 0, M, M}},
    {"reverse", "reverse", {3, -2, 0}, {-3, 2, 0}},
    {"ceiling", "ceiling", {1.2, -1.5, 2, 3e9, -3e9}, {2, -1, 2, M, M}},
    {"floor", "floor", {1.8, -1.5, 2, 3e9, -3e9}, {1, -2, 2, M, M}},
    {"intpart", "intpart", {1.8, -1.7, 3e9, 1e19}, {1, -1, 3e9, M}},
    {"not", "not", {0, 2, -1, M}, {1, 0, 0, M}},
    {"sgn", "sgn", {5, -0.1, 0, M}, {1, -1, 0, M}},
    {"barscount", "barscount", {7, 7, M, 7}, {0, 1, M, 3}},
    {"barslast", "barslast", {0, 1, 0, M, 0, 2, -1}, {M, 0, 1, M, 3, 0, 1}},
    {"barssince", "barssince", {0, 0, -1, M, 0, 3}, {0, 0, 1, M, 3, 4}},
    {"barsnext", "barsnext", {0, 1, 0, M, 0, 2, 0, 0}, {2, 1, 3, M, 2, 1, M, M}},
    {"toprange new high after ten lower bars", "toprange",
     {1, 2, 3, 4, 4, 3, 2, 1, 0, 1, 6}, {0, 1, 2, 3, 0, 0, 0, 0, 0, 1, 10}},
    {"toprange equal bar stops", "toprange", {2, 3, 3}, {0, 1, 0}},
    {"toprange runs through leading markers", "toprange", {M, M, 4, 5}, {0, 0, 2, 3}},
    {"lowrange stops at markers", "lowrange", {M, 4, 3, 5, 1}, {0, 0, 1, 0, 3}},
};

TEST(UnaryFunctions, SeriesCases) {
  for (const UnaryCase& c : kUnaryCases) {
    SCOPED_TRACE(c.name);
    ExpectClose(Call(c.func, c.x, {}, {"a"}), c.want);
  }
}

TEST(UnaryFunctions, ConstantsGiveNamedConstantsWithTwoDecimals) {
  struct ConstantCase {
    const char* func;
    const char* x;
    const char* stored;
  };
  const ConstantCase kCases[] = {
      {"not", "0", "1.00"},        {"sqrt", "2", "1.41"},        {"sin", "90", "1.00"},
      {"ln", "100", "4.61"},       {"log", "100", "2.00"},       {"reverse", "3", "-3.00"},
      {"sqrt", "-1", "-10000000.00"}, {"ceiling", "-1.5", "-1.00"},
      {"ceiling", "-0.5", "0.00"}, {"intpart", "-0.7", "0.00"}, {"floor", "2.5", "2.00"},
      {"barslast", "5", "5.00"},   {"barssince", "0", "0.00"},   {"barsnext", "2", "2.00"},
      {"toprange", "-4", "-4.00"}, {"lowrange", "7.5", "7.50"},
  };
  for (const ConstantCase& c : kCases) {
    SCOPED_TRACE(std::string(c.func) + "(" + c.x + ")");
    TGS gs;
    const Series bars = {1, 2, 3};
    gs.SetRawSeries("close", bars.data(), 3);
    ASSERT_TRUE(gs.Functions().Lookup(c.func)(gs, "r", c.func, {c.x, "::", ""}));
    EXPECT_EQ(gs.FindSeries("r"), nullptr);
    ASSERT_EQ(gs.Constants().size(), 1u);
    EXPECT_EQ(gs.Constants()[0].first, "r");
    EXPECT_EQ(gs.Constants()[0].second, c.stored);
  }
  TGS gs;
  const Series bars = {1, 2, 3};
  gs.SetRawSeries("close", bars.data(), 3);
  ASSERT_TRUE(gs.CompileText("A:=SQRT(2);B:A*100;")) << gs.ErrorText();
  double b = 0;
  ASSERT_TRUE(gs.ResolveConstant("b", b));
  EXPECT_DOUBLE_EQ(b, 141);
}

TEST(UnaryFunctions, BarsCountOfAConstantIsTheBarIndex) {
  ExpectClose(Call("barscount", {9, 9, 9, 9}, {}, {"5"}), {0, 1, 2, 3});
}

TEST(UnaryFunctions, ResultMayBeItsOwnArgument) {
  TGS gs;
  const Series x = {3, 1, 2, 5, 4};
  gs.SetRawSeries("close", x.data(), 5);
  ASSERT_TRUE(gs.CompileText("X:=C;X:=TOPRANGE(X);Y:=C;Y:=MAX(Y,REF(Y,1));")) << gs.ErrorText();
  ExpectClose(Values(gs.FindSeries("x")), {0, 0, 1, 3, 0});
  ExpectClose(Values(gs.FindSeries("y")), {3, 3, 2, 5, 5});
}

// A plain backward count, as the functions are defined, against the one-pass version.
TEST(UnaryFunctions, RangesMatchABackwardCount) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int> level(0, 6);
  for (int round = 0; round < 20; ++round) {
    Series x(400);
    for (double& v : x) v = level(random) == 0 ? M : level(random);
    const Series top = Call("toprange", x, {}, {"a"});
    const Series low = Call("lowrange", x, {}, {"a"});
    for (int i = 0; i < 400; ++i) {
      int up = 0, down = 0;
      if (x[i] != M) {
        for (int k = i - 1; k >= 0 && x[i] > x[k]; --k) ++up;
        for (int k = i - 1; k >= 0 && x[i] < x[k]; --k) ++down;
      }
      ASSERT_EQ(top[i], up) << "round " << round << " bar " << i;
      ASSERT_EQ(low[i], down) << "round " << round << " bar " << i;
    }
  }
}

// Whatever the input, even an infinity or a NaN, no NaN or infinity leaves a function.
TEST(UnaryFunctions, NeverNaNOrInfinity) {
  const Series x = {0, -0.0, 1e308, -1e308, 1e-320, -1, 1, 90, 2.5e9, -2.5e9, 710, -745, M,
                    std::numeric_limits<double>::infinity(),
                    std::numeric_limits<double>::quiet_NaN()};
  for (const char* func : {"not", "sgn", "sin", "abs", "acos", "asin", "atan", "cos", "exp",
                           "ln", "reverse", "floor", "intpart", "log", "sqrt", "tan",
                           "barscount", "barssince", "barslast", "toprange", "lowrange",
                           "barsnext", "ceiling"}) {
    for (double v : Call(func, x, {}, {"a"})) EXPECT_TRUE(std::isfinite(v)) << func << " " << v;
  }
  for (const char* func : {"max", "min", "mod", "pow", "cross"}) {
    Series b(x.rbegin(), x.rend());
    for (double v : Call(func, x, b)) EXPECT_TRUE(std::isfinite(v)) << func << " " << v;
  }
}

TEST(UnaryBinaryFunctions, ArgumentMessages) {
  TGS gs;
  const Series x = {1, 2, 3};
  gs.SetRawSeries("close", x.data(), 3);
  const TFunclist& table = gs.Functions();
  EXPECT_FALSE(table.Lookup("cross")(gs, "r", "cross", {"foo", "bar", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "CROSS(A,B)参数A:foo不存在!");
  EXPECT_FALSE(table.Lookup("pow")(gs, "r", "pow", {"close", "bar", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "POW(A,B)参数B:bar不存在!");
  EXPECT_FALSE(table.Lookup("max")(gs, "r", "max", {"2", "", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "MAX(A,B)参数B:不存在!");
  EXPECT_FALSE(table.Lookup("sqrt")(gs, "r", "sqrt", {"closex", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "SQRT(X)参数X:closex不存在!");
  EXPECT_FALSE(table.Lookup("barslast")(gs, "r", "barslast", {"", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "BARSLAST(X)参数X:不存在!");
  EXPECT_EQ(gs.FindSeries("r"), nullptr);
  EXPECT_TRUE(gs.Constants().empty());
}

}  // namespace
}  // namespace vorelin
