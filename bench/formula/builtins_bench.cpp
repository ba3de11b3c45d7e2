// Every built-in indicator over the most bars raw data may hold (99,998 minute bars), one
// benchmark each and one for the whole set, as panes that share the bars like the chart's.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formula/builtin_formulas.h"
#include "formula/incremental_run.h"
#include "formula/interpreter.h"

namespace vorelin {
namespace {

constexpr int kBars = kRawSeriesLimit;
constexpr int kBarsPerDay = 240;

// A random walk of minute bars: 240 a day from 09:31, weekdays only.
TGS& SharedBars() {
  static TGS* bars = [] {
    auto* gs = new TGS;
    std::vector<double> columns[8];
    for (auto& column : columns) column.reserve(kBars);
    uint32_t seed = 7;
    double price = 10;
    int year = 2001, month = 1, day = 1, weekday = 1;  // 2001-01-01 was a Monday
    for (int i = 0; i < kBars; ++i) {
      if (i > 0 && i % kBarsPerDay == 0) {
        do {
          weekday = (weekday + 1) % 7;
          if (++day > 28) {
            day = 1;
            if (++month > 12) month = 1, ++year;
          }
        } while (weekday == 0 || weekday == 6);
      }
      const int minute = i % kBarsPerDay;
      const int clock = minute < 120 ? 571 + minute : 781 + minute;  // 09:31 .. 11:30, 13:01 ..
      seed = seed * 1103515245u + 12345u;
      const double open = price;
      price = std::max(1.0, price * (1 + ((seed >> 8) % 2001 - 1000.0) / 100000.0));
      const double close = std::round(price * 100) / 100;
      const double vol = 1000 + (seed >> 4) % 5000;
      columns[0].push_back(year * 10000 + month * 100 + day);
      columns[1].push_back((clock / 60) * 100 + clock % 60);
      columns[2].push_back(std::round(open * 100) / 100);
      columns[3].push_back(std::max(open, close) + 0.02);
      columns[4].push_back(std::min(open, close) - 0.02);
      columns[5].push_back(close);
      columns[6].push_back(vol * close * 100);
      columns[7].push_back(vol);
    }
    const char* const kNames[] = {"date", "time", "open", "high", "low", "close", "amount", "vol"};
    for (int k = 0; k < 8; ++k) gs->SetRawSeries(kNames[k], columns[k].data(), kBars);
    static const std::vector<float> kZeros(65, 0.0f);
    gs->Attach({nullptr, kZeros, kZeros, kZeros});
    return gs;
  }();
  return *bars;
}

// Reruns over unchanged bars would otherwise go the incremental way and compute nearly
// nothing: these benchmarks time runs over all bars.
struct RunsOverAllBars {
  RunsOverAllBars() { SetIncrementalRuns(false); }
  ~RunsOverAllBars() { SetIncrementalRuns(true); }
};

void OneBuiltin(benchmark::State& state, const std::string& name) {
  const RunsOverAllBars full;
  TGS pane(&SharedBars());
  if (!pane.CompileText(BuiltinFormulas().TextOf(name))) {
    state.SkipWithError(pane.ErrorText().c_str());
    return;
  }
  for (auto _ : state) {
    bool ok = pane.Run();
    benchmark::DoNotOptimize(ok);
  }
}

// Every built-in compiled over `bars` and rerun each iteration, as a chart showing all of
// them would do after one new bar.
void RunAllBuiltins(benchmark::State& state, TGS& bars) {
  const RunsOverAllBars full;
  std::vector<std::unique_ptr<TGS>> panes;
  for (const TFuncStr::Entry& entry : BuiltinFormulas().Entries()) {
    panes.push_back(std::make_unique<TGS>(&bars));
    if (!panes.back()->CompileText(entry.text)) {
      state.SkipWithError((entry.name + ": " + panes.back()->ErrorText()).c_str());
      return;
    }
  }
  for (auto _ : state) {
    bool ok = true;
    for (auto& pane : panes) ok = pane->Run() && ok;
    benchmark::DoNotOptimize(ok);
  }
}

void BM_AllBuiltins(benchmark::State& state) { RunAllBuiltins(state, SharedBars()); }

// Twice the bars must cost about twice the time: a per-bar cost that grows with the data
// shows here as a ratio well above 2.
void BM_AllBuiltinsHalfBars(benchmark::State& state) {
  static TGS* half = [] {
    auto* gs = new TGS;
    for (const Tbian* series : SharedBars().RawSeries()) {
      gs->SetRawSeries(series->name, series->data(), kBars / 2);
    }
    gs->Attach(SharedBars().Attached());
    return gs;
  }();
  RunAllBuiltins(state, *half);
}

// The replay step of all 37: one bar appended, then every built-in reruns from the first
// changed bar (argument 1) or over all bars (argument 0). Starts 1,000 bars short of the
// limit so that every iteration appends.
void BM_AllBuiltinsAfterOneBar(benchmark::State& state) {
  constexpr int kSteps = 1000;
  TGS bars;
  for (const Tbian* series : SharedBars().RawSeries()) {
    bars.SetRawSeries(series->name, series->data(), kBars - kSteps);
  }
  bars.Attach(SharedBars().Attached());
  SetIncrementalRuns(state.range(0) != 0);
  std::vector<std::unique_ptr<TGS>> panes;
  for (const TFuncStr::Entry& entry : BuiltinFormulas().Entries()) {
    panes.push_back(std::make_unique<TGS>(&bars));
    panes.back()->CompileText(entry.text);
  }
  int next = kBars - kSteps;
  for (auto _ : state) {
    for (const Tbian* series : SharedBars().RawSeries()) {
      bars.PushRawValue(series->name, series->values[static_cast<size_t>(next)], true);
    }
    ++next;
    bool ok = true;
    for (auto& pane : panes) ok = pane->Run() && ok;
    benchmark::DoNotOptimize(ok);
  }
  SetIncrementalRuns(true);
}

const bool kRegistered = [] {
  for (const TFuncStr::Entry& entry : BuiltinFormulas().Entries()) {
    benchmark::RegisterBenchmark(("BM_Builtin/" + entry.name).c_str(), OneBuiltin, entry.name)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("BM_AllBuiltins", BM_AllBuiltins)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_AllBuiltinsHalfBars", BM_AllBuiltinsHalfBars)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("BM_AllBuiltinsAfterOneBar", BM_AllBuiltinsAfterOneBar)
      ->Arg(0)
      ->Arg(1)
      ->Iterations(200)
      ->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace
}  // namespace vorelin

BENCHMARK_MAIN();
