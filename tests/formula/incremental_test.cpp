// Runs after appended bars against runs over all bars: for every built-in and a few hundred
// generated formulas, after each of many single-bar appends (and now and then a changed last
// bar), the pane that reran incrementally must hold exactly what a fresh pane computes.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "formula/builtin_formulas.h"
#include "formula/incremental_run.h"
#include "formula/interpreter.h"
#include "formula/run_difference.h"
#include "support/generated_formula.h"
#include "support/minute_bars.h"

namespace vorelin {
namespace {

struct Check {
  int steps;
  int firstBars;
};

// Feeds the bars one at a time; after each, the long-lived pane reruns and a fresh pane
// compiles and runs the same text over the same bars.
void ExpectIncrementalEqualsFull(const std::string& text, const std::string& label,
                                 uint32_t seed, const Check& check) {
  TGS bars;
  static const std::vector<float> kZeros(65, 0.0f);
  bars.Attach({nullptr, kZeros, kZeros, kZeros});
  MinuteBars source(seed);
  for (int i = 0; i < check.firstBars; ++i) Enter(bars, source.Next(), true);
  TGS pane(&bars);
  const bool compiled = pane.CompileText(text);
  if (!compiled && pane.Program().empty()) return;  // nothing to run
  for (int step = 0; step < check.steps; ++step) {
    // Every seventh step changes the bar still forming instead of adding one.
    Enter(bars, source.Next(), step % 7 != 6);
    const bool ok = pane.Run();
    TGS fresh(&bars);
    const bool freshOk = fresh.CompileText(text);
    ASSERT_EQ(ok, freshOk) << label << " step " << step << ": " << pane.ErrorText() << " / "
                           << fresh.ErrorText();
    const std::string difference = RunDifference(pane, fresh);
    ASSERT_TRUE(difference.empty()) << label << " step " << step << " (" << bars.BarCount()
                                    << " bars): " << difference << "\n" << text;
  }
}

TEST(IncrementalRun, EveryBuiltinEqualsARunOverAllBars) {
  for (const TFuncStr::Entry& entry : BuiltinFormulas().Entries()) {
    // Short starts pass through the lengths where N exceeds the bars so far.
    ExpectIncrementalEqualsFull(entry.text, entry.name, 3, {60, 5});
    ExpectIncrementalEqualsFull(entry.text, entry.name, 4, {40, 300});
  }
}

TEST(IncrementalRun, GeneratedFormulasEqualARunOverAllBars) {
  uint32_t seed = 2024;
  FormulaGenerator generator([&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  });
  for (int k = 0; k < 400; ++k) {
    const std::string text = generator.Formula();
    ExpectIncrementalEqualsFull(text, "formula " + std::to_string(k), 10 + k, {30, 3 + k % 40});
    if (HasFatalFailure()) return;
  }
}

// One name written by thirty statements over nearly the most bars: more values than the
// writers may keep aside, so the later ones compute all their bars; still equal.
TEST(IncrementalRun, ManyWritersOfOneNameOverLongData) {
  std::string text;
  for (int k = 1; k <= 30; ++k) {
    text += "X:=MA(C," + std::to_string(k) + ");Y" + std::to_string(k) + ":X+" +
            std::to_string(k) + ";";
  }
  ExpectIncrementalEqualsFull(text, "thirty writers", 6, {8, kRawSeriesLimit - 10});
}

// Which changes a rerun may follow from the first changed bar, and which send it over all
// bars; the values agree with a fresh run either way.
TEST(IncrementalRun, OnlyAppendedBarsRerunIncrementally) {
  const std::string text = BuiltinFormulas().TextOf("MACD");
  struct Case {
    const char* name;
    std::function<void(TGS& bars, TGS& pane, MinuteBars& source)> change;
    std::string parameters;
    bool incremental;
  };
  const Case kCases[] = {
      {"one bar appended", [](TGS& bars, TGS&, MinuteBars& s) { Enter(bars, s.Next(), true); },
       "", true},
      {"the last bar changed",
       [](TGS& bars, TGS&, MinuteBars& s) { Enter(bars, s.Next(), false); }, "", true},
      {"nothing changed", [](TGS&, TGS&, MinuteBars&) {}, "", true},
      {"other parameters", [](TGS& bars, TGS&, MinuteBars& s) { Enter(bars, s.Next(), true); },
       "5,10,3", false},
      {"another period", [](TGS&, TGS& pane, MinuteBars&) { pane.SetPeriodCode(5); }, "", false},
      {"ex-rights records",
       [](TGS&, TGS& pane, MinuteBars&) { pane.SetExRights({{1, 20240102, 1, 0, 0, 0}}); }, "",
       false},
      {"a new raw series",
       [](TGS& bars, TGS&, MinuteBars&) {
         const double extra[] = {1};
         bars.SetRawSeries("extra", extra, 1);
       },
       "", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TGS bars;
    MinuteBars source(9);
    for (int i = 0; i < 100; ++i) Enter(bars, source.Next(), true);
    TGS pane(&bars);
    ASSERT_TRUE(pane.CompileText(text));
    EXPECT_FALSE(pane.LastRunIncremental());
    Enter(bars, source.Next(), true);
    ASSERT_TRUE(pane.Run());
    EXPECT_TRUE(pane.LastRunIncremental());
    c.change(bars, pane, source);
    ASSERT_TRUE(pane.Run(c.parameters));
    EXPECT_EQ(pane.LastRunIncremental(), c.incremental);
    TGS fresh(&bars);
    fresh.SetPeriodCode(pane.PeriodCode());
    fresh.SetExRights(pane.ExRights());
    ASSERT_TRUE(fresh.CompileText(text, c.parameters));
    EXPECT_EQ(RunDifference(pane, fresh), "");
  }
}

// The switch that benchmarks use: off, every run goes over all bars, with the same results.
TEST(IncrementalRun, SwitchedOffRunsOverAllBars) {
  SetIncrementalRuns(false);
  ExpectIncrementalEqualsFull(BuiltinFormulas().TextOf("MACD"), "MACD", 5, {20, 50});
  SetIncrementalRuns(true);
  EXPECT_TRUE(IncrementalRunsEnabled());
}

}  // namespace
}  // namespace vorelin
