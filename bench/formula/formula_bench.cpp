// Interpreter runs of MACD, MA and VOL over 100,000 bars against hand-written loops that
// compute the same values, and the rerun of all three that the chart does per bar.
#include <benchmark/benchmark.h>

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "formula/builtin_formulas.h"
#include "formula/incremental_run.h"
#include "formula/interpreter.h"

namespace vorelin {
namespace {

constexpr int kBars = kRawSeriesLimit;  // the most bars raw data may hold (99,998)
constexpr double M = kNoValue;

struct Data {
  std::vector<double> close, vol;
};

const Data& Bars() {
  static const Data data = [] {
    Data d;
    uint32_t seed = 1;
    double price = 10;
    for (int i = 0; i < kBars; ++i) {
      seed = seed * 1103515245u + 12345u;
      price *= 1 + ((seed >> 8) % 2001 - 1000.0) / 200000.0;
      d.close.push_back(std::round(price * 100) / 100);
      d.vol.push_back(100000 + (seed >> 4) % 50000);
    }
    return d;
  }();
  return data;
}

void Load(TGS& gs) {
  const Data& d = Bars();
  std::vector<double> zeros(kBars, 0.0);
  for (const char* name : {"date", "time", "open", "high", "low"}) {
    gs.SetRawSeries(name, zeros.data(), kBars);
  }
  gs.SetRawSeries("close", d.close.data(), kBars);
  gs.SetRawSeries("amount", zeros.data(), kBars);
  gs.SetRawSeries("vol", d.vol.data(), kBars);
}

void Ema(const double* x, int n, int count, double* out) {
  n = std::min(n, count - 1);
  out[0] = x[0];
  for (int i = 1; i < count; ++i) {
    if (x[i] == M) {
      out[i] = M;
    } else if (out[i - 1] == M) {
      out[i] = x[i];
    } else {
      out[i] = (2 * x[i] + (n - 1) * out[i - 1]) / (n + 1);
    }
  }
}

void Ma(const double* x, int n, int count, double* out) {
  double s = 0;
  for (int i = 0; i < count; ++i) {
    const bool has = x[i] != M;
    if (has) s += x[i];
    if (i >= n - 1) {
      const double oldest = x[i - n + 1];
      if (oldest == M) {
        out[i] = M;
      } else {
        out[i] = has ? s / n : M;
        s -= oldest;
      }
    } else {
      out[i] = M;
    }
  }
}

// The hand-written values of a formula's lines, for checking that both sides agree.
std::vector<std::pair<const char*, std::vector<double>>> HandValues(const std::string& name) {
  const Data& d = Bars();
  std::vector<std::pair<const char*, std::vector<double>>> lines;
  auto line = [&](const char* lineName) -> std::vector<double>& {
    lines.emplace_back(lineName, std::vector<double>(kBars));
    return lines.back().second;
  };
  if (name == "MACD") {
    std::vector<double> fast(kBars), slow(kBars);
    Ema(d.close.data(), 12, kBars, fast.data());
    Ema(d.close.data(), 26, kBars, slow.data());
    std::vector<double>& dif = line("dif");
    for (int i = 0; i < kBars; ++i) dif[i] = fast[i] - slow[i];
    std::vector<double> difCopy = dif;
    Ema(difCopy.data(), 9, kBars, line("dea").data());
  } else if (name == "MA") {
    const char* names[] = {"ma1", "ma2", "ma3", "ma4", "ma5"};
    const int lengths[] = {5, 10, 20, 30, 60};
    for (int k = 0; k < 5; ++k) Ma(d.close.data(), lengths[k], kBars, line(names[k]).data());
  } else {
    Ma(d.vol.data(), 5, kBars, line("mavol1").data());
    Ma(d.vol.data(), 10, kBars, line("mavol2").data());
  }
  return lines;
}

// Reruns over unchanged bars would otherwise go the incremental way and compute nearly
// nothing: these benchmarks time runs over all bars.
struct RunsOverAllBars {
  RunsOverAllBars() { SetIncrementalRuns(false); }
  ~RunsOverAllBars() { SetIncrementalRuns(true); }
};

void Interpreted(benchmark::State& state, const char* name) {
  const RunsOverAllBars full;
  TGS gs;
  Load(gs);
  if (!gs.CompileText(BuiltinFormulas().TextOf(name))) {
    state.SkipWithError(gs.ErrorText().c_str());
    return;
  }
  for (const auto& [lineName, values] : HandValues(name)) {
    const Tbian* series = gs.FindSeries(lineName);
    if (series == nullptr || !std::equal(values.begin(), values.end(), series->values.begin())) {
      state.SkipWithError("the interpreter and the hand-written loop disagree");
      return;
    }
  }
  for (auto _ : state) {
    bool ok = gs.Run();
    benchmark::DoNotOptimize(ok);
  }
}

void BM_MacdInterpreter(benchmark::State& state) { Interpreted(state, "MACD"); }
void BM_MaInterpreter(benchmark::State& state) { Interpreted(state, "MA"); }
void BM_VolInterpreter(benchmark::State& state) { Interpreted(state, "VOL"); }

void BM_MacdHandLoop(benchmark::State& state) {
  const double* close = Bars().close.data();
  std::vector<double> fast(kBars), slow(kBars), dif(kBars), dea(kBars), macd(kBars);
  for (auto _ : state) {
    Ema(close, 12, kBars, fast.data());
    Ema(close, 26, kBars, slow.data());
    for (int i = 0; i < kBars; ++i) {
      dif[i] = fast[i] == M || slow[i] == M ? M : fast[i] - slow[i];
    }
    Ema(dif.data(), 9, kBars, dea.data());
    for (int i = 0; i < kBars; ++i) {
      const double d = dif[i] == M || dea[i] == M ? M : dif[i] - dea[i];
      macd[i] = d == M ? M : d * 2;
    }
    benchmark::DoNotOptimize(macd.data());
    benchmark::ClobberMemory();
  }
}

void BM_MaHandLoop(benchmark::State& state) {
  const double* close = Bars().close.data();
  std::vector<std::vector<double>> lines(5, std::vector<double>(kBars));
  const int lengths[] = {5, 10, 20, 30, 60};
  for (auto _ : state) {
    for (int k = 0; k < 5; ++k) Ma(close, lengths[k], kBars, lines[k].data());
    benchmark::DoNotOptimize(lines[4].data());
    benchmark::ClobberMemory();
  }
}

void BM_VolHandLoop(benchmark::State& state) {
  const std::vector<double>& vol = Bars().vol;
  std::vector<double> volume(kBars), ma1(kBars), ma2(kBars);
  for (auto _ : state) {
    std::copy(vol.begin(), vol.end(), volume.begin());
    Ma(volume.data(), 5, kBars, ma1.data());
    Ma(volume.data(), 10, kBars, ma2.data());
    benchmark::DoNotOptimize(ma2.data());
    benchmark::ClobberMemory();
  }
}

// What the chart does after each appended bar: every shown pane runs again.
void BM_RerunMaVolMacd(benchmark::State& state) {
  const RunsOverAllBars full;
  TGS main;
  Load(main);
  TGS vol(&main);
  TGS macd(&main);
  if (!main.CompileText(BuiltinFormulas().TextOf("MA")) ||
      !vol.CompileText(BuiltinFormulas().TextOf("VOL")) ||
      !macd.CompileText(BuiltinFormulas().TextOf("MACD"))) {
    state.SkipWithError("compile failed");
    return;
  }
  for (auto _ : state) {
    bool ok = main.Run() && vol.Run() && macd.Run();
    benchmark::DoNotOptimize(ok);
  }
}

BENCHMARK(BM_MacdInterpreter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MacdHandLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MaInterpreter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MaHandLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VolInterpreter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VolHandLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RerunMaVolMacd)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorelin

BENCHMARK_MAIN();
