// Compiling long formulas: the passes alone and the whole CompileText (compile and run over a
// few bars) for 100 KB texts of three shapes, and the refusal of a text over the limit.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "common/text_file.h"
#include "formula/compiler.h"
#include "formula/interpreter.h"

namespace vorelin {
namespace {

constexpr size_t kTextBytes = 100 * 1024;
constexpr int kBars = 100;

enum Shape { kLines, kChain, kNested };

// Typical statements line after line, one sum of 50,000 terms, or 50,000 nested groups.
std::string Formula(Shape shape) {
  std::string text;
  if (shape == kLines) {
    for (int i = 0; text.size() < kTextBytes; ++i) {
      const std::string previous = i > 0 ? "A" + std::to_string(i - 1) : "C";
      text += "A" + std::to_string(i) + ":MA(C," + std::to_string(i % 60 + 2) + ")+REF(" +
              previous + ",1)*2;\r\n";
    }
  } else if (shape == kChain) {
    text = "X:C";
    while (text.size() < kTextBytes) text += "+C";
    text += ";";
  } else {
    const size_t depth = kTextBytes / 2;
    text = "X:" + std::string(depth, '(') + "C" + std::string(depth, ')') + "+1;";
  }
  return text;
}

void LoadBars(TGS& gs) {
  std::vector<double> values(kBars);
  for (int i = 0; i < kBars; ++i) values[i] = 10 + i % 7;
  for (const char* name : {"date", "time", "open", "high", "low", "close", "amount", "vol"}) {
    gs.SetRawSeries(name, values.data(), kBars);
  }
}

void BM_CompilePasses(benchmark::State& state) {
  const std::vector<std::string> lines = SplitLines(Formula(static_cast<Shape>(state.range(0))));
  for (auto _ : state) {
    std::vector<std::string> program;
    std::string error;
    if (!CompileProgram(lines, StandardFunctionTable(), program, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(program.data());
  }
}

void BM_CompileText(benchmark::State& state) {
  const std::string text = Formula(static_cast<Shape>(state.range(0)));
  TGS gs;
  LoadBars(gs);
  for (auto _ : state) {
    if (!gs.CompileText(text)) {
      state.SkipWithError(gs.ErrorText().c_str());
      return;
    }
  }
}

void BM_RefuseOneMegabyte(benchmark::State& state) {
  const std::string text = "X:C" + std::string(1 << 20, '+') + ";";
  TGS gs;
  LoadBars(gs);
  for (auto _ : state) benchmark::DoNotOptimize(gs.CompileText(text));
}

// Target: each 100 KB shape under 0.5 s through CompileText, the passes well below it.
BENCHMARK(BM_CompilePasses)
    ->ArgName("shape")
    ->DenseRange(kLines, kNested)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompileText)
    ->ArgName("shape")
    ->DenseRange(kLines, kNested)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefuseOneMegabyte)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorelin

BENCHMARK_MAIN();
