// Chart speed on a QImage: a full repaint of the ten default panes over 99,000 bars with
// 250 visible (target 15 ms), and the replay step, one appended bar with reruns and repaint,
// over 99,998 and 10,000 bars (targets 3 ms with three panes, 8 ms with ten, and the long
// history within 1.5 x the short one). The machine is shared: read the CPU column.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "chart/qt/gui_session.h"
#include "formula/incremental_run.h"
#include "formula_chart/formula_chart.h"

namespace vorelin {
namespace {

constexpr int kBars = 99'000;  // raw series stop just short of 100,000 values

std::unique_ptr<FormulaChart> MakeChart(int panes, int barCount = kBars) {
  // 250 bars at Scale 5 over 1250 plot pixels plus two 50-pixel axes.
  auto formula_chart = std::make_unique<FormulaChart>(1350, 900);
  TGP& chart = formula_chart->Chart();
  chart.BeginUpdate();
  chart.SetShowBoard(false);
  chart.SetShowLeft(true);
  chart.SetTechWindows(panes);
  std::vector<TBarRecord> bars(static_cast<size_t>(barCount));
  double price = 10;
  for (int i = 0; i < barCount; ++i) {
    TBarRecord& bar = bars[static_cast<size_t>(i)];
    bar.date = std::to_string(19900101 + i);
    bar.open = price;
    price *= 1 + 0.02 * std::sin(i * 0.37) * std::cos(i * 0.011);
    bar.close = price;
    bar.high = std::max(bar.open, bar.close) * 1.01;
    bar.low = std::min(bar.open, bar.close) * 0.99;
    bar.vol = 100000 + 50000 * std::sin(i * 0.7);
    bar.amount = bar.vol * price;
  }
  FeedBars(chart, ColumnsOf(bars, 0, barCount - 1));
  chart.EndUpdate();
  return formula_chart;
}

void BM_RepaintTenPanes(benchmark::State& state) {
  auto formula_chart = MakeChart(10);
  TGP& chart = formula_chart->Chart();
  for (auto _ : state) chart.RepaintChart();
  state.counters["visible"] = chart.ReportOf(0).right - chart.ReportOf(0).left > 0
                                  ? (chart.ReportOf(0).right - chart.ReportOf(0).left) / 5
                                  : 0;
}
BENCHMARK(BM_RepaintTenPanes)->Unit(benchmark::kMillisecond);

void BM_AppendBar(benchmark::State& state) {
  auto formula_chart = MakeChart(static_cast<int>(state.range(0)));
  double date = 20300101;
  for (auto _ : state) formula_chart->Chart().AppendBar(date++, 0, 10, 10.5, 9.5, 10.2, 1e6, 1e5);
}
BENCHMARK(BM_AppendBar)->Arg(3)->Arg(10)->Iterations(200)->Unit(benchmark::kMillisecond);

// The replay step: bars revealed so far, panes shown, and 1 for reruns from the first
// changed bar or 0 for reruns over all bars (the path before them). The history starts
// short of the 99,998 limit by the iterations, so every append is accepted.
void BM_ReplayStep(benchmark::State& state) {
  const int iterations = 100;
  const int revealed = static_cast<int>(state.range(0)) - iterations;
  SetIncrementalRuns(state.range(2) != 0);
  auto formula_chart = MakeChart(static_cast<int>(state.range(1)), revealed);
  TGP& chart = formula_chart->Chart();
  double date = 20300101;
  for (auto _ : state) {
    chart.AppendBar(date++, 0, 10, 10.5, 9.5, 10.2, 1e6, 1e5);
    chart.RepaintChart();  // as the window paints after each step
  }
  SetIncrementalRuns(true);
}
BENCHMARK(BM_ReplayStep)
    ->ArgsProduct({{10'000, 99'998}, {3, 10}, {0, 1}})
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorelin

int main(int argc, char** argv) {
  vorelin::GuiSession gui(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
