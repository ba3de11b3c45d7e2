// 测试公式: a formula compiled and run on six fixed sample bars with sample finance,
// market-breadth and quote records, so an editor can say whether it works before it is
// saved; and the same check for a formula read back from the library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

class TGS;

// Enters the six sample bars (raw series in the order close, high, low, open, vol, amount,
// date, time) and attaches the sample records: CAPITAL 31,053,580.8, TOTALCAPITAL
// 51,233,505.28, ADVANCE 1258, DECLINE 419, and a quote record for DYNAINFO. The records
// live for the whole program, so `gs` may keep them.
void LoadTestSample(TGS& gs);

struct TestRunResult {
  bool ok = false;
  std::vector<std::string> program;  // the compiled program, up to where compiling stopped
  std::string error;                 // the interpreter's error text when !ok
  int errorLine = 0;                 // 1-based source line the error belongs to, 0 unknown
};

// Compiles `text` for display, then CompileText on a fresh test interpreter.
TestRunResult RunFormulaTest(std::string_view text);

// The message area after 测试公式: the program, "===============", then "测试通过"; or on
// failure the program, "===============", the error, "===============" and "测试错误".
std::string TestRunText(const TestRunResult& result);

// "公式" + name + "的内容为空!"
std::string EmptyFormulaMessage(std::string_view name);

// Why a stored formula cannot be loaded: empty when it compiles, else the compile message
// (an empty formula says so). Errors that depend on the bars show when the chart runs it.
std::string StoredFormulaError(std::string_view name, std::string_view text);

}  // namespace vorelin
