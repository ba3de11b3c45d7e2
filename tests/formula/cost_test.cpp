// COST and WINNER: the 10.0–11.0 bar worked through, bars that add only to the total, the
// messages, and a plain map-based volume table compared on random bars.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "formula/interpreter.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;
using Series = std::vector<double>;

struct Bars {
  Series high, low, vol;
};

Series Call(const Bars& bars, const char* func, const std::string& arg,
            const Series& argSeries = {}) {
  TGS gs;
  const int n = static_cast<int>(bars.high.size());
  gs.SetRawSeries("high", bars.high.data(), n);
  gs.SetRawSeries("low", bars.low.data(), n);
  gs.SetRawSeries("vol", bars.vol.data(), n);
  if (!argSeries.empty()) gs.SetRawSeries("p", argSeries.data(), n);
  LibraryFunction f = gs.Functions().Lookup(func);
  EXPECT_NE(f, nullptr);
  if (f == nullptr) return {};
  EXPECT_TRUE(f(gs, "r", func, {arg, "::", ""})) << gs.ErrorText();
  return Values(gs.FindSeries("r"));
}

const Bars kOneBar = {{11.0}, {10.0}, {1000}};

TEST(CostDistribution, OneBarFromTenToEleven) {
  struct Case {
    const char* percent;
    double want;
  };
  // Ten steps fill 10.0 … 10.9 with 100 each, and the summed price still below 11.0 adds
  // 100 more at 11.0; the total stays 1000.
  const Case kCases[] = {{"50", 10.6}, {"0", 10.1}, {"-1", 10.0}, {"95", 11.0}, {"100", 0}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.percent);
    EXPECT_EQ(Call(kOneBar, "cost", c.percent), Series{c.want});
  }
}

TEST(CostDistribution, WinnerTakesAHundredSteps) {
  // A hundred steps of 10: 10.0 gets 60 (10.00 … 10.05 round to it), 11.0 gets 50.
  EXPECT_DOUBLE_EQ(Call(kOneBar, "winner", "10.45")[0], 0.46);
  EXPECT_DOUBLE_EQ(Call(kOneBar, "winner", "20")[0], 1.01);
  EXPECT_DOUBLE_EQ(Call(kOneBar, "winner", "9")[0], 0);
}

TEST(CostDistribution, FlatBarOnlyAddsToTheTotal) {
  const Bars bars = {{11.0, 10.5}, {10.0, 10.5}, {1000, 500}};
  const Series winner = Call(bars, "winner", "20");
  EXPECT_DOUBLE_EQ(winner[1], 1010.0 / 1500);
  const Series cost = Call(bars, "cost", "50");
  EXPECT_EQ(cost[1], 10.8);  // 700 of 1500 lie below 10.7, 800 below 10.8
}

TEST(CostDistribution, NoValueForAMarkedArgumentOrNoVolume) {
  const Bars bars = {{11.0, 11.0}, {10.0, 10.0}, {1000, 1000}};
  EXPECT_EQ(Call(bars, "cost", "p", {50, M}), (Series{10.6, M}));
  EXPECT_EQ(Call(bars, "winner", "p", {M, 10.45}), (Series{M, 0.46}));
  const Bars noVolume = {{11.0}, {10.0}, {0}};
  EXPECT_EQ(Call(noVolume, "cost", "50"), Series{M});
  EXPECT_EQ(Call(noVolume, "winner", "10"), Series{M});
}

TEST(CostDistribution, Messages) {
  TGS gs;
  const Series close = {1, 2};
  gs.SetRawSeries("close", close.data(), 2);
  gs.SetRawSeries("high", close.data(), 2);
  gs.SetRawSeries("low", close.data(), 2);
  LibraryFunction cost = gs.Functions().Lookup("cost");
  LibraryFunction winner = gs.Functions().Lookup("winner");
  EXPECT_FALSE(cost(gs, "r", "cost", {"50", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "COST(N)需要最高，最低，成交量三种原始数据!");
  EXPECT_FALSE(winner(gs, "r", "winner", {"50", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "WINNER(N)需要最高，最低，成交量三种原始数据!");
  gs.SetRawSeries("vol", close.data(), 2);
  EXPECT_FALSE(cost(gs, "r", "cost", {"foo", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "COST(N)参数N:foo未定义!");
  EXPECT_FALSE(winner(gs, "r", "winner", {"foo", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "WINNER(N)参数N:foo未定义!");
  EXPECT_EQ(gs.FindSeries("r"), nullptr);

  TGS intraday;  // only close: HIGH would resolve to it, but the table needs the raw series
  intraday.SetRawSeries("close", close.data(), 2);
  intraday.SetRawSeries("vol", close.data(), 2);
  EXPECT_FALSE(intraday.Functions().Lookup("cost")(intraday, "r", "cost", {"50", "::", ""}));
  EXPECT_EQ(intraday.ErrorText(), "COST(N)需要最高，最低，成交量三种原始数据!");
}

TEST(CostDistribution, AFullTableTakesNoNewPrices) {
  // Bar t spans t … t+1: ten new prices a bar, so the 20,001 slots are full after bar 1999.
  Bars bars;
  for (int t = 0; t < 2100; ++t) {
    bars.low.push_back(t);
    bars.high.push_back(t + 1);
    bars.vol.push_back(10);
  }
  const Series winner = Call(bars, "winner", "1e9");
  ASSERT_EQ(winner.size(), 2100u);
  const double heldAt2050 = winner[2050] * 10 * 2051;
  for (int t = 2002; t < 2100; ++t) {
    EXPECT_NEAR(winner[t] * 10 * (t + 1), heldAt2050, 1e-6) << t;  // only the total grows
  }
  EXPECT_LT(winner.back(), 1.0);
}

// The table kept in a std::map and read the obvious way, bar by bar.
Series Reference(const SampleBars& bars, bool cost, const Series& argument) {
  std::map<double, double> table;
  double total = 0;
  const int steps = cost ? 10 : 100;
  Series out;
  for (size_t t = 0; t < bars.high.size(); ++t) {
    total += bars.vol[t];
    const double step = (bars.high[t] - bars.low[t]) / steps;
    for (double p = bars.low[t]; step > 0 && p < bars.high[t]; p += step) {
      table[std::nearbyint(p * 10) / 10] += bars.vol[t] / steps;
    }
    double below = 0, result = cost ? 0 : -1;
    for (const auto& [price, volume] : table) {
      if (cost && below / total > argument[t] / 100) {
        result = price;
        break;
      }
      if (!cost && price > argument[t]) break;
      below += volume;
    }
    out.push_back(cost ? result : below / total);
  }
  return out;
}

TEST(CostDistribution, MatchesAPlainTableOnRandomBars) {
  SampleBars bars = MakeSampleBars(500, 4242);
  for (size_t t = 0; t < bars.high.size(); t += 7) bars.low[t] = bars.high[t];  // flat bars
  Bars input = {bars.high, bars.low, bars.vol};
  for (const char* percent : {"-5", "0", "10", "50", "90", "99.9"}) {
    SCOPED_TRACE(percent);
    EXPECT_EQ(Call(input, "cost", percent),
              Reference(bars, true, Series(bars.high.size(), std::stod(percent))));
  }
  EXPECT_EQ(Call(input, "winner", "p", bars.close), Reference(bars, false, bars.close));
  EXPECT_EQ(Call(input, "winner", "11"), Reference(bars, false, Series(bars.high.size(), 11)));
}

}  // namespace
}  // namespace vorelin
