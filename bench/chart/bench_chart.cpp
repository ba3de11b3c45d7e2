// Chart speed on a QImage: a full repaint of the ten default panes over 100,000 bars with
// 250 visible (target 15 ms), and one appended bar with reruns and repaint (targets 16 ms
// with three panes, 50 ms with ten).
#include <benchmark/benchmark.h>

#include <cmath>

#include "chart/gp.h"
#include "chart/qt/gui_session.h"
#include "chart/qt/qt_canvas.h"
#include "chart/tgs_pane_formula.h"

namespace vorelin {
namespace {

constexpr int kBars = 99'000;  // raw series stop just short of 100,000 values

std::unique_ptr<TGP> MakeChart(const IndicatorLibrary& library, int panes) {
  // 250 bars at Scale 5 over 1250 plot pixels plus two 50-pixel axes.
  auto chart = std::make_unique<TGP>(
      1350, 900, [](int w, int h) { return std::make_unique<QtCanvas>(w, h); }, TgsPaneFormula::Factory(), library);
  chart->BeginUpdate();
  chart->SetShowBoard(false);
  chart->SetShowLeft(true);
  chart->SetTechWindows(panes);
  std::vector<double> date(kBars), time(kBars, 0), open(kBars), high(kBars), low(kBars), close(kBars),
      amount(kBars), vol(kBars);
  double price = 10;
  for (int i = 0; i < kBars; ++i) {
    date[i] = 19900101 + i;
    open[i] = price;
    price *= 1 + 0.02 * std::sin(i * 0.37) * std::cos(i * 0.011);
    close[i] = price;
    high[i] = std::max(open[i], close[i]) * 1.01;
    low[i] = std::min(open[i], close[i]) * 0.99;
    vol[i] = 100000 + 50000 * std::sin(i * 0.7);
    amount[i] = vol[i] * price;
  }
  chart->SetSeries("date", date, false);
  chart->SetSeries("time", time, false);
  chart->SetSeries("open", open, false);
  chart->SetSeries("high", high, false);
  chart->SetSeries("low", low, false);
  chart->SetSeries("close", close, false);
  chart->SetSeries("amount", amount, false);
  chart->SetSeries("vol", vol, true);
  chart->EndUpdate();
  return chart;
}

void BM_RepaintTenPanes(benchmark::State& state) {
  BuiltinIndicatorLibrary library;
  auto chart = MakeChart(library, 10);
  for (auto _ : state) chart->RepaintChart();
  state.counters["visible"] = chart->ReportOf(0).right - chart->ReportOf(0).left > 0
                                  ? (chart->ReportOf(0).right - chart->ReportOf(0).left) / 5
                                  : 0;
}
BENCHMARK(BM_RepaintTenPanes)->Unit(benchmark::kMillisecond);

void BM_AppendBar(benchmark::State& state) {
  BuiltinIndicatorLibrary library;
  auto chart = MakeChart(library, static_cast<int>(state.range(0)));
  double date = 20300101;
  for (auto _ : state) chart->AppendBar(date++, 0, 10, 10.5, 9.5, 10.2, 1e6, 1e5);
}
BENCHMARK(BM_AppendBar)->Arg(3)->Arg(10)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorelin

int main(int argc, char** argv) {
  vorelin::GuiSession gui(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
