#include "formula_library/formula_test_run.h"

#include <array>

#include "common/text_file.h"
#include "formula/compiler.h"
#include "formula/interpreter.h"
#include "formula/messages.h"
#include "formula/source.h"
#include "formula_library/editor_logic.h"

namespace vorelin {
namespace {

constexpr int kSampleBars = 6;

struct SampleColumn {
  const char* name;
  std::array<double, kSampleBars> values;
};

// Entered in this order, as the editor's test always has.
const SampleColumn kSampleColumns[] = {
    {"close", {22.14, 22.15, 20.02, 20.12, 20.39, 20.44}},
    {"high", {22.59, 22.67, 21.00, 20.37, 20.60, 20.90}},
    {"low", {22.08, 21.92, 19.94, 19.64, 20.10, 20.19}},
    {"open", {22.59, 22.17, 21.00, 20.02, 20.20, 20.38}},
    {"vol", {55977300, 38599693, 117504326, 56984842, 38554183, 46305400}},
    {"amount", {1248606080, 859815744, 2385878272, 1139477760, 786200256, 952838144}},
    {"date", {20130326, 20130327, 20130328, 20130329, 20130401, 20130402}},
    {"time", {930, 930, 930, 930, 930, 930}},
};

// Finance: element 1 total, element 7 circulating capital in shares. Breadth: element 1
// advancing, element 2 declining issues. Quote: the last bar as a live quote would give it
// (3 previous close, 4 open, 5 high, 6 low, 7 last, 8 volume, 10 amount).
struct SampleRecords {
  std::array<float, 65> finance{};
  std::array<float, 65> breadth{};
  std::array<float, 101> quote{};
  SampleRecords() {
    finance[1] = 5123350528.0f;
    finance[7] = 3105358080.0f;
    breadth[1] = 1258;
    breadth[2] = 419;
    quote[3] = 20.39f;
    quote[4] = 20.38f;
    quote[5] = 20.90f;
    quote[6] = 20.19f;
    quote[7] = 20.44f;
    quote[8] = 46305400.0f;
    quote[10] = 952838144.0f;
  }
};

const SampleRecords& Records() {
  static const SampleRecords kRecords;
  return kRecords;
}

// The source line whose compilation yields statement `index` of the program: the shortest
// prefix of the lines that compiles to more than `index` statements.
int SourceLineOfStatement(const std::vector<std::string>& lines, int index) {
  std::vector<std::string> prefix;
  std::vector<std::string> program;
  std::string ignored;
  for (size_t k = 0; k < lines.size(); ++k) {
    prefix.push_back(lines[k]);
    program.clear();
    CompileProgram(prefix, StandardFunctionTable(), program, ignored);
    if (static_cast<int>(program.size()) > index) return static_cast<int>(k + 1);
  }
  return 0;
}

// The statement number (from 1) of the run's line report, 0 when it has none.
int ReportedStatement(std::string_view error) {
  const size_t mark = error.rfind("行发现错误:");
  if (mark == std::string_view::npos) return 0;
  size_t start = mark;
  while (start > 0 && error[start - 1] >= '0' && error[start - 1] <= '9') --start;
  int number = 0;
  for (size_t i = start; i < mark; ++i) number = number * 10 + (error[i] - '0');
  return number;
}

}  // namespace

void LoadTestSample(TGS& gs) {
  for (const SampleColumn& column : kSampleColumns)
    gs.SetRawSeries(column.name, column.values.data(), kSampleBars);
  const SampleRecords& records = Records();
  AttachedRecords attached;
  attached.quote = records.quote;
  attached.finance = records.finance;
  attached.breadth = records.breadth;
  gs.Attach(attached);
}

TestRunResult RunFormulaTest(std::string_view text) {
  TestRunResult result;
  const CompiledView view = CompileForDisplay(text);
  result.program = view.program;
  TGS gs;
  LoadTestSample(gs);
  result.ok = gs.CompileText(text);
  if (result.ok) return result;
  result.error = gs.ErrorText();
  if (!view.ok) {
    result.errorLine = view.errorLine;
  } else if (const int statement = ReportedStatement(result.error); statement > 0) {
    result.errorLine =
        SourceLineOfStatement(SplitLines(RemoveComments(text)), statement - 1);
  }
  return result;
}

std::string TestRunText(const TestRunResult& result) {
  std::vector<std::string> lines = result.program;
  lines.push_back(kTestSeparator);
  if (result.ok) {
    lines.push_back(kTestPassed);
  } else {
    for (std::string& line : SplitEditorLines(result.error)) lines.push_back(std::move(line));
    lines.push_back(kTestSeparator);
    lines.push_back(kTestFailed);
  }
  return JoinEditorLines(lines);
}

std::string EmptyFormulaMessage(std::string_view name) {
  return "公式" + std::string(name) + "的内容为空!";
}

std::string StoredFormulaError(std::string_view name, std::string_view text) {
  if (TrimControl(text).empty()) return EmptyFormulaMessage(name);
  if (text.size() > kFormulaTextLimit) return kTextTooLongMessage;
  return CompileForDisplay(text).error;
}

}  // namespace vorelin
