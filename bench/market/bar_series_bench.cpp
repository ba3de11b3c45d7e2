// Loading and aggregating a 100,000-line minute file.
// Targets (2-core machine): LoadBars at least 2 million lines/s; Aggregate with N = 240
// (which parses its rows again) at least as fast.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "common/format.h"
#include "market/bar_series.h"

namespace {

constexpr int kLines = 100000;

const std::string& MinuteFile() {
  static const std::string path = [] {
    auto file = std::filesystem::temp_directory_path() / "vorelin_bench_minutes.TXT";
    std::ofstream out(file, std::ios::binary);
    double price = 10.0;
    for (int i = 0; i < kLines; ++i) {
      int day = 20200101 + i / 240;
      int k = i % 240;
      int minutes = k < 120 ? 9 * 60 + 31 + k : 13 * 60 + 1 + (k - 120);
      price += ((i * 7919) % 21 - 10) * 0.001;
      out << vorelin::Format("%d,%04d,%.2f,%.2f,%.2f,%.2f,%.2f,%d\r\n", day,
                             minutes / 60 * 100 + minutes % 60, price, price + 0.02, price - 0.02,
                             price + 0.01, price * 1200, 1200);
    }
    return file.string();
  }();
  return path;
}

void BM_LoadBars(benchmark::State& state) {
  vorelin::Tstock stock;
  stock.FileName = MinuteFile();
  for (auto _ : state) {
    stock.LoadBars();
    benchmark::DoNotOptimize(stock.Bars.data());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_LoadBars)->Unit(benchmark::kMillisecond);

void BM_Aggregate240(benchmark::State& state) {
  vorelin::Tstock base;
  base.FileName = MinuteFile();
  base.LoadBars();
  vorelin::Tstock aggregate;
  aggregate.CopyFrom(base);
  aggregate.StartRow = 0;
  aggregate.PeriodMultiplier = 240;
  for (auto _ : state) {
    aggregate.CurrentRow = kLines - 1;
    aggregate.Aggregate();
    benchmark::DoNotOptimize(aggregate.Bars.data());
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_Aggregate240)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
