// One replay step as the trainee makes it: Enter on the chart widget until the new frame is
// painted, on a 99,998-bar minute file, with the default three panes and with ten.
// Target: under 30 ms with three panes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <fstream>

#include "app/main_window.h"
#include "common/format.h"

namespace vorelin {
namespace {

constexpr int kBars = 99'998;

class Silent final : public MessageSink {
 public:
  void Show(const std::string&) override {}
  bool Ask(const std::string&) override { return true; }
};

// A minute file of kBars one-minute bars, 240 a day.
void WriteMinuteFile(const std::filesystem::path& root) {
  std::filesystem::create_directories(root / "MinData");
  std::ofstream out(root / "MinData" / "600001.TXT", std::ios::binary);
  double price = 10;
  for (int i = 0; i < kBars; ++i) {
    const int day = i / 240, minute = i % 240;
    const int since_open = minute < 120 ? 9 * 60 + 31 + minute : 13 * 60 + 1 + minute - 120;
    const int clock = since_open / 60 * 100 + since_open % 60;
    const double open = price;
    price *= 1 + 0.002 * std::sin(i * 0.37) * std::cos(i * 0.011);
    out << Format("%d,%04d,%.2f,%.2f,%.2f,%.2f,%.0f,%.0f\r\n", 20000101 + day, clock, open,
                  std::max(open, price) * 1.001, std::min(open, price) * 0.999, price,
                  1e6 + 1e5 * std::sin(i * 0.7), 1e5 + 1e4 * std::sin(i * 0.7));
  }
}

void BM_EnterStep(benchmark::State& state) {
  QTemporaryDir dir;
  const std::filesystem::path root = dir.path().toStdString();
  WriteMinuteFile(root);
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
  window.ChartView().Chart().SetTechWindows(static_cast<int>(state.range(0)));
  // Reveal nearly the whole history, so each step reruns every pane over it.
  r.Base().SetCurrentRow(kBars - 2000);
  r.Redraw();
  QApplication::processEvents();
  QWidget& chart = window.ChartView();
  for (auto _ : state) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&chart, &press);
    chart.repaint();
  }
  state.counters["bars"] = r.Base().CurrentRow;
}
BENCHMARK(BM_EnterStep)->Arg(3)->Arg(10)->Iterations(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorelin

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
