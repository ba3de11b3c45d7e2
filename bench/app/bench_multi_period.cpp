// One replay step with the multi-period window open over the chart, nine charts in view,
// on the sample market's minute stock: Enter on the chart until all nine are repainted.
// Target: under 50 ms. Argument 0 is the same step with the window closed, for comparison.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include "app/main_window.h"
#include "app/startup.h"

namespace vorelin {
namespace {

class Silent final : public MessageSink {
 public:
  void Show(const std::string&) override {}
  bool Ask(const std::string&) override { return true; }
};

void BM_StepWithNineCharts(benchmark::State& state) {
  QTemporaryDir dir;
  const std::filesystem::path root = dir.path().toStdString();
  std::string error;
  if (!PrepareDataRoot(root, &error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  Silent messages;
  TForm1 window(root, "bench", messages);
  window.resize(1366, 768);
  window.show();
  QApplication::processEvents();
  ReplayController& r = window.Session().Replay();
  r.Boxes.Period = 0;
  r.ApplyStockCode("600001");
  r.Boxes.StartRow = "10";
  r.StartRowEnter();
  // Leave room for the steps, revealing most of the file's 6,000 minutes.
  const int rows = r.Base().BarCount;
  r.Base().SetCurrentRow(rows - static_cast<int>(state.max_iterations) - 10);
  r.Redraw();
  TfrmDzq& dzq = window.MultiPeriod();
  const bool open = state.range(0) > 0;
  dzq.Logic().SetLayoutCount(open ? static_cast<int>(state.range(0)) : 9);
  if (open) dzq.Open(r.Boxes.Period);
  QApplication::processEvents();
  QWidget& chart = window.ChartView();
  QWidget& shown = open ? static_cast<QWidget&>(dzq) : chart;
  for (auto _ : state) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&chart, &press);
    shown.repaint();
  }
  state.counters["rows"] = r.Base().CurrentRow - r.Base().StartRow + 1;
  state.counters["minute_bars_in_chart_0"] = dzq.Chart(0).Chart().Pane(0).BarCount();
}
BENCHMARK(BM_StepWithNineCharts)->Arg(9)->Arg(0)->Iterations(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorelin

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
