// Generated formulas rerun after each of many single-bar appends (and now and then a
// changed last bar): the incremental rerun must leave exactly what a fresh run over the
// same bars leaves, or the target aborts naming the difference.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "formula/interpreter.h"
#include "formula/run_difference.h"
#include "support/generated_formula.h"
#include "support/minute_bars.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorelin;
  if (size < 4 || size > 4096) return 0;
  // The first bytes choose the data and the steps, the rest the formula.
  const uint32_t seed = data[0] | (data[1] << 8);
  const int firstBars = 1 + data[2] % 64;
  const int steps = 1 + data[3] % 48;
  size_t at = 4;
  FormulaGenerator generator([&] {
    uint32_t value = 0;
    for (int k = 0; k < 4 && at < size; ++k) value |= static_cast<uint32_t>(data[at++]) << (8 * k);
    return value;
  });
  const std::string text = generator.Formula();

  TGS bars;
  static const std::vector<float> kRecords(65, 1.0f);
  bars.Attach({nullptr, kRecords, kRecords, kRecords});
  MinuteBars source(seed);
  for (int i = 0; i < firstBars; ++i) Enter(bars, source.Next(), true);
  TGS pane(&bars);
  pane.CompileText(text);
  if (pane.Program().empty()) return 0;
  for (int step = 0; step < steps; ++step) {
    Enter(bars, source.Next(), (data[step % size] & 7) != 0);
    const bool ok = pane.Run();
    TGS fresh(&bars);
    const bool freshOk = fresh.CompileText(text);
    const std::string difference = ok != freshOk ? "run outcome" : RunDifference(pane, fresh);
    if (!difference.empty()) {
      std::fprintf(stderr, "step %d, %d bars: %s\n%s\n", step, bars.BarCount(),
                   difference.c_str(), text.c_str());
      std::abort();
    }
  }
  return 0;
}
