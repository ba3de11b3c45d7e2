// Window statistics and the least-squares line: the small worked examples, bars without
// value, the messages, and a plain two-pass reference on random series.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "formula/interpreter.h"
#include "series_expect.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;

void ExpectClose(const Series& got, const Series& want, double tolerance = 1e-9) {
  ExpectSeriesWithin(got, want, Tolerance::kAbsolute, tolerance);
}

Series Call(const char* func, const Series& x, const char* n) {
  TGS gs;
  gs.SetRawSeries("x", x.data(), static_cast<int>(x.size()));
  LibraryFunction f = gs.Functions().Lookup(func);
  EXPECT_NE(f, nullptr) << func;
  if (f == nullptr) return {};
  EXPECT_TRUE(f(gs, "r", func, {"x", n, "::", ""})) << gs.ErrorText();
  return Values(gs.FindSeries("r"));
}

struct Case {
  const char* name;
  const char* func;
  Series x;
  const char* n;
  Series want;
};

const Case kCases[] = {
    {"varp leading bars", "varp", {1, 2, 3, 4, 5, 6}, "5", {M, M, M, M, 2, 2}},
    {"varp of equal values", "varp", {7.3, 7.3, 7.3, 7.3, 7.3}, "5", {M, M, M, M, 0}},
    {"varp 0 covers all bars so far", "varp", {1, 2, 3}, "0", {0, 0.25, 2.0 / 3}},
    {"varp after leading markers", "varp", {M, 1, 3, 5}, "2", {M, M, 1, 1}},
    {"var 1 is 0 where x has a value", "var", {4, M, 9}, "1", {0, M, 0}},
    {"var 0 is x", "var", {4, M, 9}, "0", {4, M, 9}},
    {"var", "var", {1, 3}, "2", {M, 2}},
    {"std 1 is 0 where x has a value", "std", {4, M, 9}, "1", {0, M, 0}},
    {"std 0 is x", "std", {4, M, 9}, "0", {4, M, 9}},
    {"std", "std", {1, 3}, "2", {M, std::sqrt(2.0)}},
    {"std of equal values", "std", {5, 5, 5}, "3", {M, M, 0}},
    {"stdp", "stdp", {1, 3}, "2", {M, 1}},
    {"stdp 0", "stdp", {1, 3}, "0", {0, 1}},
    {"devsq", "devsq", {1, 2, 3}, "3", {M, M, 2}},
    {"devsq 0 is x", "devsq", {1, M}, "0", {1, M}},
    {"avedev", "avedev", {1, 2, 3}, "3", {M, M, 2.0 / 3}},
    {"avedev window with a gap has no value", "avedev", {1, 2, M, 4, 5, 6}, "2",
     {M, 0.5, M, M, 0.5, 0.5}},
    {"avedev 0", "avedev", {1, 2}, "0", {M, M}},
    {"negative length", "varp", {1, 2}, "-2", {M, M}},
    {"slope", "slope", {1, 3, 5}, "3", {M, M, 2}},
    {"forcast", "forcast", {1, 3, 5}, "3", {M, M, 5}},
    {"forcast fewer bars than n", "forcast", {1, 3}, "3", {M, M}},
    {"slope truncates n", "slope", {2, 1, 4, 3}, "2.9", {M, -1, 3, -1}},
    {"slope window with a gap has no value", "slope", {1, 2, M, 4, 5, 6, 7}, "2",
     {M, 1, M, M, 1, 1, 1}},
};

TEST(StatisticsFunctions, Cases) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ExpectClose(Call(c.func, c.x, c.n), c.want);
  }
}

TEST(StatisticsFunctions, FirstValuesAfterAMovingAverage) {
  TGS gs;
  LoadSampleBars(gs, MakeSampleBars(40));
  ASSERT_TRUE(gs.CompileText("A:SLOPE(MA(C,5),3);B:VARP(MA(C,3),3);C2:FORCAST(C,4);"))
      << gs.ErrorText();
  auto firstValue = [&](const char* name) {
    const Series s = Values(gs.FindSeries(name));
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] != M) return static_cast<int>(i);
    }
    return -1;
  };
  EXPECT_EQ(firstValue("a"), 6);
  EXPECT_EQ(firstValue("b"), 4);
  EXPECT_EQ(firstValue("c2"), 3);
}

TEST(StatisticsFunctions, LineMessages) {
  TGS gs;
  const Series x = {1, 2, 3};
  gs.SetRawSeries("close", x.data(), 3);
  struct MessageCase {
    const char* func;
    const char* x;
    const char* n;
    const char* message;
  };
  const MessageCase kMessages[] = {
      {"forcast", "close", "1", "FORCAST(X,N)参数N必须大于1!"},
      {"forcast", "close", "1.9", "FORCAST(X,N)参数N必须大于1!"},
      {"forcast", "foo", "3", "FORCAST(X,N)参数X:foo未定义!"},
      {"forcast", "3", "3", "FORCAST(X,N)参数X:3未定义!"},
      {"forcast", "close", "bar", "FORCAST(X,N)参数N:bar未定义!"},
      {"slope", "close", "-5", "SLOPE(X,N)参数N必须大于1!"},
      {"slope", "foo", "bar", "SLOPE(X,N)参数X:foo未定义!"},
      {"slope", "close", "close", "SLOPE(X,N)参数N:close未定义!"},
  };
  for (const MessageCase& c : kMessages) {
    SCOPED_TRACE(std::string(c.func) + "(" + c.x + "," + c.n + ")");
    EXPECT_FALSE(gs.Functions().Lookup(c.func)(gs, "r", c.func, {c.x, c.n, "::", ""}));
    EXPECT_EQ(gs.ErrorText(), c.message);
    EXPECT_EQ(gs.FindSeries("r"), nullptr);
  }
}

TEST(StatisticsFunctions, StatisticsFailWithoutAMessage) {
  TGS gs;
  const Series x = {1, 2, 3};
  gs.SetRawSeries("close", x.data(), 3);
  for (const char* func : {"varp", "var", "stdp", "std", "devsq", "avedev"}) {
    SCOPED_TRACE(func);
    gs.SetError("");
    EXPECT_FALSE(gs.Functions().Lookup(func)(gs, "r", func, {"foo", "3", "::", ""}));
    EXPECT_FALSE(gs.Functions().Lookup(func)(gs, "r", func, {"close", "close", "::", ""}));
    EXPECT_EQ(gs.ErrorText(), "");
    EXPECT_EQ(gs.FindSeries("r"), nullptr);
  }
}

TEST(StatisticsFunctions, ResultMayBeItsOwnArgument) {
  TGS gs;
  const Series x = {1, 3, 5, 4};
  gs.SetRawSeries("close", x.data(), 4);
  ASSERT_TRUE(gs.CompileText("X:=C;X:=SLOPE(X,3);Y:=C;Y:=STD(Y,2);")) << gs.ErrorText();
  ExpectClose(Values(gs.FindSeries("x")), {M, M, 2, 0.5});
  ExpectClose(Values(gs.FindSeries("y")), {M, std::sqrt(2.0), std::sqrt(2.0),
                                            std::sqrt(0.5)});
}

// Rounding must never turn an equal-valued window into a NaN deviation.
TEST(StatisticsFunctions, EqualValuesNeverGiveNaN) {
  for (double v : {0.1, 0.3, 7.77, 12345.67, 1e-5}) {
    const Series x(500, v);
    for (const char* func : {"stdp", "std", "varp", "avedev"}) {
      for (double r : Call(func, x, "7")) {
        ASSERT_TRUE(r == M || (std::isfinite(r) && std::fabs(r) < 1e-6)) << func << " " << r;
        if (func != std::string("varp")) {
          ASSERT_TRUE(r == M || r >= 0) << func;
        }
      }
    }
  }
}

TEST(StatisticsFunctions, HugeValuesNeverGiveNaNOrInfinity) {
  const double kInfinity = std::numeric_limits<double>::infinity();
  const Series x = {1e200, 1e200, -1e200, 1e308, -1e308, 3, kInfinity, 4, std::nan(""), 5, 6};
  for (const char* func : {"varp", "var", "stdp", "std", "devsq", "avedev"}) {
    for (const char* n : {"0", "1", "2", "3"}) {
      for (double r : Call(func, x, n)) EXPECT_TRUE(std::isfinite(r)) << func << "," << n;
    }
  }
  for (const char* func : {"slope", "forcast"}) {
    for (double r : Call(func, x, "2")) EXPECT_TRUE(std::isfinite(r)) << func;
  }
}

// Plain two-pass window statistics and a direct least-squares fit, against the running sums.
TEST(StatisticsFunctions, MatchATwoPassReference) {
  const SampleBars bars = MakeSampleBars(300, 4242);
  const Series& x = bars.close;
  for (int n : {2, 3, 7, 20}) {
    SCOPED_TRACE(n);
    const std::string nText = std::to_string(n);
    const Series varp = Call("varp", x, nText.c_str());
    const Series var = Call("var", x, nText.c_str());
    const Series stdp = Call("stdp", x, nText.c_str());
    const Series std = Call("std", x, nText.c_str());
    const Series devsq = Call("devsq", x, nText.c_str());
    const Series avedev = Call("avedev", x, nText.c_str());
    const Series slope = Call("slope", x, nText.c_str());
    const Series forcast = Call("forcast", x, nText.c_str());
    for (int i = 0; i < 300; ++i) {
      if (i < n - 1) {
        for (const Series* s : {&varp, &var, &stdp, &std, &devsq, &avedev, &slope, &forcast}) {
          EXPECT_EQ((*s)[i], M) << i;
        }
        continue;
      }
      double mean = 0;
      for (int k = i - n + 1; k <= i; ++k) mean += x[k] / n;
      double squares = 0, absolute = 0, sxy = 0, sxx = 0;
      for (int k = i - n + 1; k <= i; ++k) {
        squares += (x[k] - mean) * (x[k] - mean);
        absolute += std::fabs(x[k] - mean);
        const double t = k - (i - (n - 1) / 2.0);
        sxy += t * (x[k] - mean);
        sxx += t * t;
      }
      const double tolerance = 1e-8;
      EXPECT_NEAR(varp[i], squares / n, tolerance) << i;
      EXPECT_NEAR(var[i], squares / (n - 1), tolerance) << i;
      EXPECT_NEAR(stdp[i], std::sqrt(squares / n), 1e-6) << i;
      EXPECT_NEAR(std[i], std::sqrt(squares / (n - 1)), 1e-6) << i;
      EXPECT_NEAR(devsq[i], squares, tolerance * n) << i;
      EXPECT_NEAR(avedev[i], absolute / n, tolerance) << i;
      EXPECT_NEAR(slope[i], sxy / sxx, tolerance) << i;
      EXPECT_NEAR(forcast[i], mean + sxy / sxx * (n - 1) / 2.0, tolerance) << i;
    }
  }
}

}  // namespace
}  // namespace vorelin
