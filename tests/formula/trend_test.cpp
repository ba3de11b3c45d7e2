// The trend family: SAR's reversal rules, ZIG's points and lines, the peak and trough
// queries, the ranked FIND windows, every message, and the "dclose" ... series.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "formula/interpreter.h"
#include "series_expect.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;

void ExpectClose(const Series& got, const Series& want) {
  ExpectSeriesWithin(got, want, Tolerance::kRelative, 1e-9);
}

// An interpreter holding the given raw series, the first of them fixing the bar count.
struct Fixture {
  TGS gs;

  Fixture& With(const char* name, const Series& values) {
    gs.SetRawSeries(name, values.data(), static_cast<int>(values.size()));
    return *this;
  }

  bool Call(const char* func, std::vector<std::string> args) {
    LibraryFunction f = gs.Functions().Lookup(func);
    EXPECT_NE(f, nullptr) << func;
    if (f == nullptr) return false;
    args.push_back("::");
    args.push_back("");
    return f(gs, "r", func, args);
  }

  Series Run(const char* func, std::vector<std::string> args) {
    EXPECT_TRUE(Call(func, std::move(args))) << gs.ErrorText();
    return Values(gs.FindSeries("r"));
  }
};

uint32_t NextRandom(uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  return seed >> 8;
}

// ---- SAR ------------------------------------------------------------------------------

// Worked by hand with N=1, a step of 10% and a limit of 20%: the step grows on new highs up
// to the limit, bar 5's low falls under the SAR (up trend turns down), bar 6 starts the down
// trend at the high before it, and bar 7's new low speeds it up again.
TEST(Sar, WorkedExample) {
  const Series high = {10, 11, 12, 13, 12.5, 11, 10.5, 10};
  const Series low = {9, 10, 11, 12, 11, 10, 9.5, 9};
  Fixture f;
  f.With("high", high).With("low", low);
  ExpectClose(f.Run("sar", {"1", "10", "20"}), {M, 9, 9.4, 9.92, 10.536, 10.9288, 11, 10.7});
  ExpectClose(f.Run("sarturn", {"1", "10", "20"}), {0, 0, 0, 0, 0, -1, 0, 0});
}

TEST(Sar, ReversalRules) {
  struct Case {
    const char* name;
    Series high, low;
    double sarOnBar1;
    double turnOnBar1;
  };
  const Case kCases[] = {
      {"up trend: low equal to the SAR reverses", {10, 11}, {9, 9}, 9, -1},
      {"down trend: high equal to the SAR holds", {11, 11}, {10, 9}, 11, 0},
      {"down trend: high above the SAR reverses", {11, 11.5}, {10, 9}, 11, 1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.With("high", c.high).With("low", c.low);
    ExpectClose(f.Run("sar", {"1", "2", "20"}), {M, c.sarOnBar1});
    ExpectClose(f.Run("sarturn", {"1", "2", "20"}), {0, c.turnOnBar1});
  }
}

TEST(Sar, RisingSeriesStartsAtTheLowestLowBefore) {
  Series high, low;
  for (int i = 0; i < 30; ++i) {
    high.push_back(10 + i);
    low.push_back(9 + i);
  }
  Fixture f;
  f.With("high", high).With("low", low);
  const Series sar = f.Run("sar", {"10", "2", "20"});
  for (int i = 0; i < 10; ++i) EXPECT_EQ(sar[i], M) << i;
  EXPECT_EQ(sar[10], 9);  // the lowest low of bars 0 .. 9
  const Series turns = f.Run("sarturn", {"10", "2", "20"});
  EXPECT_EQ(turns, Series(30, 0.0));
  // Percents are truncated: a step of 2.5 acts as 2.
  EXPECT_EQ(f.Run("sar", {"10", "2.5", "20.9"}), sar);
}

// A slow, literal SAR: window scans for the extremes of the N bars before each bar.
struct SlowSar {
  Series sar, turns;
};

double SlowExtreme(const Series& x, int j, int n, bool highest) {
  if (j == 0 || x[j] == M) return x[j];
  double best = highest ? -DBL_MAX : 1.7e308;
  for (int k = std::max(0, j - n + 1); k <= j; ++k) {
    if (highest ? x[k] > best : x[k] < best) best = x[k];
  }
  return best;
}

SlowSar ReferenceSar(const Series& h, const Series& l, int n, int stepPercent,
                     int limitPercent) {
  const int count = static_cast<int>(h.size());
  SlowSar r{Series(count, M), Series(count, 0.0)};
  const double step = stepPercent / 100.0, limit = limitPercent / 100.0;
  bool up = (h[1] - h[0]) + (l[1] - l[0]) >= 0;
  double af = step;
  int k = 0;
  for (int j = n; j < count; ++j) {
    const double hhp = SlowExtreme(h, j - 1, n, true);
    const double llp = SlowExtreme(l, j - 1, n, false);
    if (k == 0) {
      r.sar[j] = up ? llp : hhp;
    } else {
      if (up && h[j] > hhp) af = std::min(af + step, limit);
      if (!up && l[j] <= llp) af = std::min(af + step, limit);
      r.sar[j] = r.sar[j - 1] + af * ((up ? hhp : llp) - r.sar[j - 1]);
    }
    const bool reverse = up ? r.sar[j] >= l[j] : r.sar[j] < h[j];
    if (reverse) {
      r.turns[j] = up ? -1 : 1;
      up = !up;
      k = 0;
      af = step;
    } else {
      ++k;
    }
  }
  return r;
}

TEST(Sar, MatchesSlowReferenceOnRandomBars) {
  uint32_t seed = 7;
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    const SampleBars bars = MakeSampleBars(150 + round, 1000 + round);
    const int n = 1 + static_cast<int>(NextRandom(seed) % 12);
    const int step = 1 + static_cast<int>(NextRandom(seed) % 6);
    const int limit = step + static_cast<int>(NextRandom(seed) % 30);
    Fixture f;
    LoadSampleBars(f.gs, bars);
    const SlowSar want = ReferenceSar(bars.high, bars.low, n, step, limit);
    const std::vector<std::string> args = {std::to_string(n), std::to_string(step),
                                           std::to_string(limit)};
    ExpectClose(f.Run("sar", args), want.sar);
    ExpectClose(f.Run("sarturn", args), want.turns);
  }
}

TEST(Sar, HugePricesGiveNoValueRatherThanNaN) {
  const Series high = {1e308, -1e308, 1e308, -1e308, 1e308, 1.7e308};
  const Series low = {-1e308, 1e308, -1.7e308, 1e308, -1e308, -1e308};
  Fixture f;
  f.With("high", high).With("low", low);
  for (const char* func : {"sar", "sarturn"}) {
    for (const double v : f.Run(func, {"1", "50", "90"})) EXPECT_TRUE(std::isfinite(v)) << func;
  }
}

// ---- ZIG and the turning-point queries ---------------------------------------------------

// Close 10 .. 17 at 10%: trough 10 (bar 0), peak 15 (bar 2), trough 11 (bar 4), peak 18
// (bar 6) confirmed by the last bar.
const Series kZigClose = {10, 12, 15, 13, 11, 14, 18, 17};

TEST(Zig, PointsAndStraightLines) {
  struct Case {
    const char* name;
    Series close;
    const char* n;
    Series want;
  };
  const Case kCases[] = {
      {"four turns", kZigClose, "10", {10, 12.5, 15, 13, 11, 14.5, 18, 17}},
      {"threshold truncated", kZigClose, "10.9", {10, 12.5, 15, 13, 11, 14.5, 18, 17}},
      // Only the rise from 10 to 18 counts; the last bar closes the peak being sought.
      {"one wide swing", kZigClose, "30", {10, 11 + 1.0 / 3, 12 + 2.0 / 3, 14, 15 + 1.0 / 3,
                                            16 + 2.0 / 3, 18, 17}},
      // A rise of exactly 50% (15/10) confirms nothing; the last bar closes the trough.
      {"rise must exceed", {10, 15, 12, 14}, "50", {10, 11 + 1.0 / 3, 12 + 2.0 / 3, 14}},
      // A fall to exactly half (10/20) confirms nothing either.
      {"fall must exceed", {10, 20, 10, 12}, "50", {10, 20, 16, 12}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.With("close", c.close);
    ExpectClose(f.Run("zig", {"3", c.n}), c.want);
  }
}

TEST(Zig, SelectorPicksTheRawSeries) {
  Fixture f;
  f.With("open", {1, 1, 1}).With("high", {2, 2, 2}).With("low", {3, 3, 3})
      .With("close", {4, 4, 4}).With("vol", {5, 9, 5});
  ExpectClose(f.Run("zig", {"0", "10"}), {1, 1, 1});
  ExpectClose(f.Run("zig", {"1", "10"}), {2, 2, 2});
  ExpectClose(f.Run("zig", {"2", "10"}), {3, 3, 3});
  ExpectClose(f.Run("zig", {"3", "10"}), {4, 4, 4});
  ExpectClose(f.Run("zig", {"4", "10"}), {5, 9, 5});
}

// Over random closes: ZIG meets the close at bar 0, the last bar and every point, runs
// straight between points, and its interior points alternate with moves beyond the
// threshold (the one confirmed only by the end of the data aside).
TEST(Zig, PropertiesOnRandomCloses) {
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    const SampleBars bars = MakeSampleBars(400, 77 + round);
    const int percent = 1 + round % 8;
    Fixture f;
    LoadSampleBars(f.gs, bars);
    const Series zig = f.Run("zig", {"3", std::to_string(percent)});
    const Series& close = bars.close;
    const int last = static_cast<int>(close.size()) - 1;
    EXPECT_EQ(zig[0], close[0]);
    EXPECT_EQ(zig[last], close[last]);
    std::vector<int> points = {0};
    for (int i = 1; i < last; ++i) {
      const double slopeIn = zig[i] - zig[i - 1];
      const double slopeOut = zig[i + 1] - zig[i];
      if (std::fabs(slopeIn - slopeOut) > 1e-9) points.push_back(i);
    }
    points.push_back(last);
    for (size_t p = 1; p + 1 < points.size(); ++p) EXPECT_EQ(zig[points[p]], close[points[p]]);
    for (size_t p = 2; p + 2 < points.size(); ++p) {
      const double before = close[points[p - 1]], at = close[points[p]];
      if (at > before) {
        EXPECT_GT(at / before, 1 + percent / 100.0) << "bar " << points[p];
      } else {
        EXPECT_LT(at / before, 1 - percent / 100.0) << "bar " << points[p];
      }
      EXPECT_NE(at > before, close[points[p + 1]] > at) << "bar " << points[p];
    }
  }
}

TEST(Zig, OddPricesStayInsideTheData) {
  struct Case {
    const char* name;
    Series close;
  };
  const Case kCases[] = {
      {"all negative", {-5, -3, -8, -2, -9}},
      {"zeros", {0, 0, 5, 0, 0}},
      {"leading and trailing markers", {M, 4, 6, 3, M}},
      {"single bar", {7}},
      {"huge", {1.7e308, -1.7e308, 1.7e308, 1e-300}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.With("close", c.close);
    const Series zig = f.Run("zig", {"3", "10"});
    ASSERT_EQ(zig.size(), c.close.size());
    EXPECT_EQ(zig.front(), c.close.front());
    EXPECT_EQ(zig.back(), c.close.back());
    for (const double v : zig) EXPECT_TRUE(std::isfinite(v));
    for (const char* func : {"peak", "peakbars", "trough", "troughbars"}) {
      for (const double v : f.Run(func, {"3", "10", "1"})) EXPECT_TRUE(std::isfinite(v));
    }
  }
}

TEST(TurningPoints, PeaksAndTroughs) {
  struct Case {
    const char* name;
    const char* func;
    Series close;
    const char* m;
    Series want;
  };
  const Series kLastIsPeak = {10, 12, 15, 13, 11, 14, 18, 19};
  const Case kCases[] = {
      {"peak", "peak", kZigClose, "1", {M, M, 15, 15, 15, 15, 18, 18}},
      {"second last peak", "peak", kZigClose, "2", {M, M, M, M, M, M, 15, 15}},
      {"peakbars", "peakbars", kZigClose, "1", {M, M, 0, 1, 2, 3, 0, 1}},
      {"trough: bar 0 is no trough, the last bar is", "trough", kZigClose, "1",
       {M, M, M, M, 11, 11, 11, 17}},
      {"troughbars", "troughbars", kZigClose, "1", {M, M, M, M, 0, 1, 2, 0}},
      {"last bar counts as a peak", "peak", kLastIsPeak, "1", {M, M, 15, 15, 15, 15, 15, 19}},
      {"m truncated", "peakbars", kZigClose, "1.9", {M, M, 0, 1, 2, 3, 0, 1}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.With("close", c.close);
    ExpectClose(f.Run(c.func, {"3", "10", c.m}), c.want);
  }
}

// PEAK(1,5,1) over sample bars: no value before the first peak, then the high of the latest
// peak, whose bar PEAKBARS counts from (0 on the peak bar itself).
TEST(TurningPoints, PeakBarsCountsFromThePeakItQuotes) {
  const SampleBars bars = MakeSampleBars(300);
  Fixture f;
  LoadSampleBars(f.gs, bars);
  const Series peak = f.Run("peak", {"1", "5", "1"});
  const Series peakBars = f.Run("peakbars", {"1", "5", "1"});
  bool seen = false;
  for (size_t i = 0; i < peak.size(); ++i) {
    SCOPED_TRACE(i);
    if (peak[i] == M) {
      EXPECT_FALSE(seen);
      EXPECT_EQ(peakBars[i], M);
      continue;
    }
    seen = true;
    ASSERT_NE(peakBars[i], M);
    const size_t at = i - static_cast<size_t>(peakBars[i]);
    EXPECT_EQ(peak[i], bars.high[at]);
    if (i > 0 && peakBars[i] > 0) {
      EXPECT_EQ(peakBars[i], peakBars[i - 1] + 1);
    }
  }
  EXPECT_TRUE(seen);
}

// ---- FINDHIGH / FINDLOW ------------------------------------------------------------------

TEST(Find, Cases) {
  struct Case {
    const char* name;
    const char* func;
    Series x;
    const char* n;
    const char* m;
    const char* t;
    Series want;
  };
  const Series kTies = {3, 5, 5, 2, 5, 1};
  const Case kCases[] = {
      {"findhigh t=1", "findhigh", kTies, "0", "3", "1", {3, 5, 5, 5, 5, 5}},
      {"findhighbars t=1: the oldest of equal highs", "findhighbars", kTies, "0", "3", "1",
       {0, 0, 1, 2, 2, 1}},
      {"findhigh t=2: slot s while s < t", "findhigh", kTies, "0", "3", "2", {3, 3, 5, 5, 5, 2}},
      {"findhighbars t=2", "findhighbars", kTies, "0", "3", "2", {0, 1, 0, 1, 0, 2}},
      {"findlow t=1", "findlow", kTies, "0", "3", "1", {3, 3, 3, 2, 2, 1}},
      {"findlow t=2", "findlow", kTies, "0", "3", "2", {3, 5, 5, 5, 5, 2}},
      {"findlowbars t=2", "findlowbars", kTies, "0", "3", "2", {0, 0, 1, 2, 2, 2}},
      {"offset n", "findhigh", kTies, "2", "3", "1", {M, M, 3, 5, 5, 5}},
      {"t limited to m", "findhigh", kTies, "0", "2", "9", {3, 3, 5, 2, 2, 1}},
      {"equal values leave one slot per bar", "findhigh", {7, 7, 7, 1, 1, 1}, "0", "3", "1",
       {7, 7, 7, 7, 7, 1}},
      {"third of three equal leaving", "findhigh", {7, 7, 7, 1, 1, 1}, "0", "3", "3",
       {7, 7, 7, 1, 1, 1}},
      {"offset beyond the data", "findlow", kTies, "6", "3", "1", {M, M, M, M, M, M}},
      {"m of 0: nothing to rank", "findhigh", kTies, "0", "0", "1", {M, M, M, M, M, M}},
      {"t of 0: nothing to rank", "findlowbars", kTies, "0", "3", "0", {M, M, M, M, M, M}},
      {"negative n does not look ahead", "findhigh", kTies, "-1", "3", "1",
       {M, M, M, M, M, M}},
      {"a marker read from the window is no value", "findlow", {4, M, 6}, "0", "2", "1",
       {4, M, M}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.With("x", c.x);
    ExpectClose(f.Run(c.func, {"x", c.n, c.m, c.t}), c.want);
  }
}

TEST(Find, FindHighMatchesHhvAndTheSecondHighest) {
  const SampleBars bars = MakeSampleBars(60);
  Fixture f;
  LoadSampleBars(f.gs, bars);
  const Series high = f.Run("findhigh", {"close", "0", "5", "1"});
  const Series hhv = f.Run("hhv", {"close", "5"});
  for (size_t i = 4; i < high.size(); ++i) EXPECT_EQ(high[i], hhv[i]) << i;
  Series closes(bars.close.begin() + 4, bars.close.begin() + 9);
  std::sort(closes.rbegin(), closes.rend());
  EXPECT_EQ(f.Run("findhigh", {"c", "2", "5", "2"})[10], closes[1]);
}

// The T-th best of the window by sorting it afresh, oldest first among equals.
Series ReferenceFind(const Series& x, int n, int m, int t, bool highest, bool bars) {
  const int count = static_cast<int>(x.size());
  Series out(count, M);
  t = std::min(t, m);
  for (int s = 0; s + n < count; ++s) {
    std::vector<std::pair<double, int>> window;
    for (int k = std::max(0, s - m + 1); k <= s; ++k) window.push_back({x[k], k});
    std::stable_sort(window.begin(), window.end(), [&](const auto& a, const auto& b) {
      return highest ? a.first > b.first : a.first < b.first;
    });
    const auto& chosen = window[s < t ? s : t - 1];
    out[s + n] = bars ? s + n - chosen.second : chosen.first;
  }
  return out;
}

TEST(Find, MatchesSortedWindowsOnRandomSeries) {
  uint32_t seed = 99;
  struct Func {
    const char* name;
    bool highest, bars;
  };
  const Func kFuncs[] = {{"findhigh", true, false}, {"findhighbars", true, true},
                         {"findlow", false, false}, {"findlowbars", false, true}};
  for (int round = 0; round < 30; ++round) {
    Series x(120);
    // Few distinct values, so ties are common.
    for (double& v : x) v = static_cast<double>(NextRandom(seed) % 7);
    const int n = static_cast<int>(NextRandom(seed) % 5);
    const int m = 1 + static_cast<int>(NextRandom(seed) % 9);
    const int t = 1 + static_cast<int>(NextRandom(seed) % 11);
    Fixture f;
    f.With("x", x);
    for (const Func& func : kFuncs) {
      SCOPED_TRACE(std::string(func.name) + " round " + std::to_string(round));
      ExpectClose(f.Run(func.name, {"x", std::to_string(n), std::to_string(m), std::to_string(t)}),
                   ReferenceFind(x, n, m, t, func.highest, func.bars));
    }
  }
}

// ---- messages ------------------------------------------------------------------------------

TEST(TrendMessages, ExactTexts) {
  struct Case {
    const char* func;
    std::vector<std::string> args;
    const char* want;
  };
  const Case kCases[] = {
      {"sar", {"foo", "2", "20"}, "SAR(N,S,M)参数N:foo未定义!"},
      {"sar", {"4", "foo", "20"}, "SAR(N,S,M)参数S:foo未定义!"},
      {"sar", {"4", "2", "foo"}, "SAR(N,S,M)参数M:foo未定义!"},
      {"sar", {"close", "2", "20"}, "SAR(N,S,M)参数N:close未定义!"},
      {"sar", {"0", "2", "20"}, "SAR 参数N小于1 或 数据长度小于N!"},
      {"sar", {"6", "2", "20"}, "SAR 参数N小于1 或 数据长度小于N!"},
      {"sar", {"0", "foo", "20"}, "SAR 参数N小于1 或 数据长度小于N!"},
      {"sarturn", {"foo", "2", "20"}, "SARTRUN(N,S,M)参数N:foo未定义!"},
      {"sarturn", {"4", "foo", "20"}, "SARTRUN(N,S,M)参数S:foo未定义!"},
      {"sarturn", {"4", "2", "foo"}, "SARTRUN(N,S,M)参数M:foo未定义!"},
      {"sarturn", {"0.9", "2", "20"}, "SARTRUN 参数N小于1 或 数据长度小于N!"},
      {"zig", {"foo", "10"}, "ZIG(K,N)参数K:foo未定义!"},
      {"zig", {"3", "foo"}, "ZIG(K,N)参数N:foo未定义!"},
      {"zig", {"5", "10"}, "ZIG(K,N)参数K:5在0到3之间!"},
      {"zig", {"-1", "10"}, "ZIG(K,N)参数K:-1在0到3之间!"},
      {"peak", {"foo", "10", "1"}, "PEAK(K,N,M)参数K:foo未定义!"},
      {"peak", {"3", "foo", "1"}, "PEAK(K,N,M)参数N:foo未定义!"},
      {"peak", {"3", "10", "foo"}, "PEAK(K,N,M)参数M:foo未定义!"},
      {"peak", {"7", "10", "1"}, "PEAK(K,N,M)参数K:7在0到3之间!"},
      {"peak", {"3", "10", "0.5"}, "PEAK(K,N,M)参数M:0.5必须大于等于1!"},
      {"peakbars", {"3", "10", "0"}, "PEAKBARS(K,N,M)参数M:0必须大于等于1!"},
      {"trough", {"9", "10", "1"}, "TROUGH(K,N,M)参数K:9在0到3之间!"},
      {"troughbars", {"3", "x", "1"}, "TROUGHBARS(K,N,M)参数N:x未定义!"},
      {"findhigh", {"foo", "0", "5", "1"}, "FINDHIGH(X,N,M,T)参数X:foo未定义!"},
      {"findhigh", {"5", "0", "5", "1"}, "FINDHIGH(X,N,M,T)参数X:5未定义!"},
      {"findhigh", {"close", "foo", "5", "1"}, "FINDHIGH(X,N,M,T)参数N:foo未定义!"},
      {"findhigh", {"close", "0", "foo", "1"}, "FindHIGH(X,N,M,T)参数M:foo未定义!"},
      {"findhigh", {"close", "0", "5", "foo"}, "FindHIGH(X,N,M,T)参数T:foo未定义!"},
      {"findhighbars", {"foo", "0", "5", "1"}, "FindHIGHBARS(X,N,M,T)参数X:foo未定义!"},
      {"findhighbars", {"close", "foo", "5", "1"}, "FindHIGHBARS((X,N,M,T)参数N:foo未定义!"},
      {"findhighbars", {"close", "0", "foo", "1"}, "FindHIGHBARS((X,N,M,T)参数M:foo未定义!"},
      {"findhighbars", {"close", "0", "5", "foo"}, "FindHIGHBARS((X,N,M,T)参数T:foo未定义!"},
      {"findlow", {"foo", "0", "5", "1"}, "FINDLOW(X,N,M,T)参数X:foo未定义!"},
      {"findlow", {"close", "foo", "5", "1"}, "FINDLOW(X,N,M,T)参数N:foo未定义!"},
      {"findlow", {"close", "0", "foo", "1"}, "FINDLOW(X,N,M,T)参数M:foo未定义!"},
      {"findlow", {"close", "0", "5", "foo"}, "FINDLOW(X,N,M,T)参数T:foo未定义!"},
      {"findlowbars", {"foo", "0", "5", "1"}, "FINDLOWBARS(X,N,M,T)参数X:foo未定义!"},
      {"findlowbars", {"close", "foo", "5", "1"}, "FINDLOWBARS(X,N,M,T)参数N:foo未定义!"},
      {"findlowbars", {"close", "0", "foo", "1"}, "FINDLOWBARS(X,N,M,T)参数M:foo未定义!"},
      {"findlowbars", {"close", "0", "5", "foo"}, "FINDLOWBARS(X,N,M,T)参数T:foo未定义!"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.want);
    Fixture f;
    f.With("close", {1, 2, 3, 4, 5}).With("high", {2, 3, 4, 5, 6}).With("low", {0, 1, 2, 3, 4});
    EXPECT_FALSE(f.Call(c.func, c.args));
    EXPECT_EQ(f.gs.ErrorText(), c.want);
    EXPECT_EQ(f.gs.FindSeries("r"), nullptr);
  }
}

// Intraday data holds only close (and volume): the functions that need other raw series
// refuse with their own texts rather than falling back to close.
TEST(TrendMessages, MissingRawSeries) {
  struct Case {
    const char* func;
    std::vector<std::string> args;
    const char* want;
  };
  const Case kCases[] = {
      {"sar", {"1", "2", "20"}, "没最高价或最低价数据!"},
      {"sarturn", {"1", "2", "20"}, "没最高价或最低价原始数据!"},
      {"zig", {"1", "10"}, "ZIG(K,N)需要开盘价,最高价,最低价,收盘价原始数据!"},
      {"zig", {"4", "10"}, "ZIG(K,N)需要开盘价,最高价,最低价,收盘价原始数据!"},
      {"peak", {"2", "10", "1"}, "PEAK(K,N,M)需要开盘价,最高价,最低价,收盘价原始数据!"},
      {"peakbars", {"0", "10", "1"},
       "PEAKBARS(K,N,M)需要开盘价,最高价,最低价,收盘价原始数据!"},
      {"trough", {"1", "10", "1"}, "TROUGH(K,N,M)需要开盘价,最高价,最低价,收盘价原始数据!"},
      {"troughbars", {"1", "10", "1"},
       "TROUGHBARS(K,N,M)需要开盘价,最高价,最低价,收盘价原始数据!"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.want);
    Fixture f;
    f.With("time", {930, 931, 932}).With("close", {1, 2, 3});
    EXPECT_FALSE(f.Call(c.func, c.args));
    EXPECT_EQ(f.gs.ErrorText(), c.want);
  }
}

// ---- odd inputs ----------------------------------------------------------------------------

// Lengths, percents, ranks and offsets far outside their sensible ranges, over prices with
// markers, zeros, negatives and huge values: every call either fails with a message or
// gives one finite value (or no value) per bar. Under the sanitizers this also shows that
// nothing outside the data is touched.
TEST(TrendRobustness, OddArgumentsStayInsideTheData) {
  const Series kPrices[] = {
      {5, M, 0, -3, 1.7e308, 2, 2, 2, -1e308, 4},
      {1, 2},
      {M, M, M},
      {0, 0, 0, 0, 1e-310},
  };
  const std::vector<std::string> kOdd = {"-7", "0", "1", "2", "3", "1e12", "-1e12", "0.5"};
  uint32_t seed = 5;
  const auto pick = [&] { return kOdd[NextRandom(seed) % kOdd.size()]; };
  for (const Series& prices : kPrices) {
    Fixture f;
    for (const char* name : {"open", "high", "low", "close", "vol"}) f.With(name, prices);
    for (int round = 0; round < 300; ++round) {
      const std::vector<std::pair<const char*, std::vector<std::string>>> calls = {
          {"sar", {pick(), pick(), pick()}},
          {"sarturn", {pick(), pick(), pick()}},
          {"zig", {std::to_string(round % 5), pick()}},
          {"peak", {std::to_string(round % 5), pick(), pick()}},
          {"troughbars", {std::to_string(round % 5), pick(), pick()}},
          {"findhigh", {"close", pick(), pick(), pick()}},
          {"findlowbars", {"low", pick(), pick(), pick()}},
      };
      for (const auto& [func, args] : calls) {
        if (!f.Call(func, args)) {
          EXPECT_FALSE(f.gs.ErrorText().empty()) << func;
          continue;
        }
        const Series out = Values(f.gs.FindSeries("r"));
        ASSERT_EQ(out.size(), prices.size()) << func;
        for (const double v : out) EXPECT_TRUE(std::isfinite(v)) << func;
      }
    }
  }
}

// ---- in formulas -------------------------------------------------------------------------

// A result stored over the series it reads (LOW:=SAR(...), CLOSE:=ZIG(...)) equals the
// result stored under a new name.
TEST(TrendInFormulas, ResultsOverwriteTheirOwnInput) {
  struct Case {
    const char* call;
    const char* input;
  };
  const Case kCases[] = {
      {"SAR(4,2,20)", "LOW"},          {"SARTURN(4,2,20)", "HIGH"},
      {"ZIG(3,5)", "CLOSE"},           {"PEAK(1,3,2)", "HIGH"},
      {"TROUGHBARS(2,3,1)", "LOW"},    {"FINDHIGH(CLOSE,2,6,2)", "CLOSE"},
      {"FINDLOWBARS(VOL,0,4,3)", "VOL"},
  };
  const SampleBars bars = MakeSampleBars(200);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.call);
    Fixture f;
    LoadSampleBars(f.gs, bars);
    const std::string text = std::string("R:") + c.call + ";\n" + c.input + ":=" + c.call + ";";
    ASSERT_TRUE(f.gs.CompileText(text)) << f.gs.ErrorText();
    const Series want = Values(f.gs.FindSeries("r"));
    ASSERT_EQ(want.size(), 200u);
    EXPECT_EQ(Values(f.gs.FindSeries(c.input)), want);
  }
}

// The built-in SAR pane's own statements: INPUT parameters are constants to SAR.
TEST(TrendInFormulas, SarWithInputParameters) {
  const SampleBars bars = MakeSampleBars(120);
  Fixture f;
  LoadSampleBars(f.gs, bars);
  ASSERT_TRUE(f.gs.CompileText("N:=INPUT(1,100,4,4);\nS:=INPUT(1,100,2,2);\n"
                               "M:=INPUT(1,100,20,20);\nSAR:SAR(N,S,M),NODRAW;\n"
                               "T:SARTURN(N,S,M);"))
      << f.gs.ErrorText();
  const Series sar = Values(f.gs.FindSeries("sar"));
  const Series turns = Values(f.gs.FindSeries("t"));
  const SlowSar want = ReferenceSar(bars.high, bars.low, 4, 2, 20);
  ExpectClose(sar, want.sar);
  ExpectClose(turns, want.turns);
  EXPECT_NE(std::count(turns.begin(), turns.end(), 1.0), 0);
  EXPECT_NE(std::count(turns.begin(), turns.end(), -1.0), 0);
  EXPECT_EQ(f.gs.Outputs().front(), "syline=sar::colorwhite,nodraw");
}

// The "d" series: the price through the zig-zag finder at 0.001% with straight lines
// between its points. Sample closes move by a cent or more, far above 0.001%, so every
// strict local extreme of the close is a turning point that DCLOSE passes through.
TEST(DrawnSeries, DCloseFromAFormula) {
  const SampleBars bars = MakeSampleBars(300);
  Fixture f;
  LoadSampleBars(f.gs, bars);
  ASSERT_TRUE(f.gs.CompileText("A:DCLOSE;\nB:DVOL;\nE:DHIGH-HIGH;")) << f.gs.ErrorText();
  const Series a = Values(f.gs.FindSeries("a"));
  const Series& c = bars.close;
  ASSERT_EQ(a.size(), 300u);
  EXPECT_EQ(a.front(), c.front());
  EXPECT_EQ(a.back(), c.back());
  int extremes = 0;
  for (size_t i = 1; i + 1 < c.size(); ++i) {
    EXPECT_NE(a[i], M) << i;
    const bool peak = c[i] > c[i - 1] && c[i] > c[i + 1];
    const bool trough = c[i] < c[i - 1] && c[i] < c[i + 1];
    if (!peak && !trough) continue;
    ++extremes;
    EXPECT_EQ(a[i], c[i]) << i;
  }
  EXPECT_GT(extremes, 50);
  EXPECT_EQ(Values(f.gs.FindSeries("b")).size(), 300u);
  EXPECT_EQ(Values(f.gs.FindSeries("e")).size(), 300u);
}

TEST(DrawnSeries, InterpolatesBetweenTurningPoints) {
  // 10, 10.00001 ... a rise under 0.001% is no turn: bar 1 lies on the line from 10 to 12.
  const Series close = {10, 10.00001, 12, 11, 13};
  Fixture f;
  f.With("close", close);
  ASSERT_TRUE(f.gs.CompileText("A:DCLOSE;")) << f.gs.ErrorText();
  ExpectClose(Values(f.gs.FindSeries("a")), {10, 11, 12, 11, 13});
  // Once made, the series is found by its name like any other.
  ExpectClose(Values(f.gs.FindSeries("dclose")), {10, 11, 12, 11, 13});
}

// The chart reruns a pane after each new bar: DCLOSE must reach the new last bar (always a
// point of the zig-zag) instead of keeping the turning points of the shorter data.
TEST(DrawnSeries, FollowsAppendedBars) {
  const SampleBars bars = MakeSampleBars(40);
  Fixture f;
  LoadSampleBars(f.gs, bars);
  ASSERT_TRUE(f.gs.CompileText("A:DCLOSE;")) << f.gs.ErrorText();
  for (const char* name : {"date", "time", "open", "high", "low", "amount", "vol"}) {
    f.gs.PushRawValue(name, f.gs.FindSeries(name)->Last(), true);
  }
  f.gs.PushRawValue("close", 99, true);
  ASSERT_TRUE(f.gs.Run()) << f.gs.ErrorText();
  const Series a = Values(f.gs.FindSeries("a"));
  ASSERT_EQ(a.size(), 41u);
  EXPECT_EQ(a.back(), 99);
  EXPECT_EQ(a.front(), bars.close.front());
}

}  // namespace
}  // namespace vorelin
