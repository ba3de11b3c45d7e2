// Output entries are formula text: whatever a formula author writes must draw or be skipped,
// never crash. The input's lines are entries; its bytes also shape the series drawn.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/pane_painter.h"
#include "tests/chart/fake_formula.h"
#include "tests/chart/recording_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorelin;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> entries;
  size_t start = 0;
  while (start < text.size() && entries.size() < 16) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    entries.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  testing::FakeFormula formula;
  std::vector<double> a, b;
  for (size_t i = 0; i < size && i < 64; ++i) {
    a.push_back(data[i] == 0 ? kChartNoValue : data[i] - 100.0);
    b.push_back((data[i] * 37 % 200) - 50.0);
  }
  if (a.empty()) a.push_back(1);
  if (b.empty()) b.push_back(1);
  formula.SetSeries("close", a);
  formula.SetSeries("open", b);
  formula.SetSeries("high", a);
  formula.SetSeries("low", b);
  formula.SetComputed("x", b);
  formula.SetConstant("k", 3);
  formula.SetOutputs(entries);
  formula.SetDrawK(size % 3 == 0 ? 1 : -1);
  DrawPaneInput input;
  input.flags.time_sharing = size % 5 == 0;
  input.flags.price_pane = size % 2 == 0;
  input.flags.high_definition = size % 7 == 0;
  input.flags.bottom_axis = true;
  input.scale = 1 + size % 12;
  input.cursor_x = static_cast<int>(size % 300);
  input.cursor_y = size % 11 == 0 ? -2 : 40;
  input.flags.cursor = true;
  testing::RecordingCanvas canvas(300, 160);
  DrawPane(canvas, formula, input);
  return 0;
}
