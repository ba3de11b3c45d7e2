// Compiling a formula and running its program statement by statement over all bars, with
// the output list, the pane header values and the error text of a failed statement.
#include "formula/interpreter.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"
#include "common/text_file.h"
#include "formula/builtin_formulas.h"
#include "formula/compiler.h"
#include "formula/function_reach.h"
#include "formula/messages.h"
#include "formula/source.h"

namespace vorelin {

namespace {

constexpr size_t kRightSideLimit = 1000;
constexpr size_t kArgumentLimit = 38;
constexpr const char* kDefaultColours[] = {"colorwhite", "coloryellow", "colormagenta",
                                           "colorgreen", "colorgray",   "colorblue"};

// Splits at "," outside single quotes.
std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> args;
  std::string current;
  bool inQuote = false;
  for (char ch : text) {
    if (ch == '\'') inQuote = !inQuote;
    if (ch == ',' && !inQuote) {
      args.push_back(std::move(current));
      current.clear();
    } else {
      current += ch;
    }
  }
  args.push_back(std::move(current));
  return args;
}

}  // namespace

void TGS::InstallProgram(std::vector<std::string> lines, std::vector<std::string> program) {
  ClearCompiled();
  incremental_.ProgramChanged();
  sourceLines_ = std::move(lines);
  program_ = std::move(program);
}

bool TGS::CompileText(std::string_view text, std::string_view parameters) {
  if (text.empty()) {
    error_ = kEmptyTextMessage;
    return false;
  }
  if (text.size() > kFormulaTextLimit) {
    error_ = kTextTooLongMessage;
    return false;
  }
  fileName_.clear();
  std::vector<std::string> lines = SplitLines(RemoveComments(text));
  std::vector<std::string> program;
  std::string error;
  if (!CompileProgram(lines, Functions(), program, error)) {
    error_ = std::move(error);
    return false;
  }
  InstallProgram(std::move(lines), std::move(program));
  return Run(parameters);
}

bool TGS::CompileFile(const std::filesystem::path& path, std::string_view parameters) {
  std::vector<std::string> lines;
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(path, ignored)) {
    error_ = MissingFormulaFileMessage(path.string());
    return false;
  }
  // Checked before reading, so a huge file costs nothing.
  if (const auto size = std::filesystem::file_size(path, ignored);
      !ignored && size > kFormulaTextLimit) {
    error_ = kTextTooLongMessage;
    return false;
  }
  if (!ReadTextLines(path, lines)) {
    error_ = MissingFormulaFileMessage(path.string());
    return false;
  }
  std::vector<std::string> program;
  std::string error;
  if (!CompileProgram(lines, Functions(), program, error)) {
    error_ = std::move(error);
    return false;
  }
  if (program.empty()) return true;
  InstallProgram(std::move(lines), std::move(program));
  fileName_ = path.string();
  return Run(parameters);
}

bool TGS::Run(std::string_view parameters) {
  if (program_.empty() || BarCount() == 0) {
    error_ = kNothingToRunMessage;
    return false;
  }
  bool incremental = true;
  for (;;) {
    outputs_.clear();
    incremental_.KeepConstants(constants_);
    ClearConstants();
    ApplyParameterText(parameters);
    const bool adjusts = adjustmentType_ != 0 && !excludedFromAdjustment_;
    if (adjusts) {
      const Tbian* original = originals_->Find("q_close");
      const Tbian* close = raw_->Find("close");
      if (original == nullptr || (close != nullptr && close->count != original->count)) {
        ApplyAdjustment();
      }
    }
    // Adjusted prices may move on every bar when one is added: those runs go over all bars.
    incremental = incremental_.Begin(CurrentSettings(parameters), *journal_, BarCount(),
                                     program_.size(), incremental && !adjusts);
    const bool ok = RunProgram(incremental);
    // A failed incremental run is repeated over all bars, so that the error text and
    // whatever the failed statement left are exactly those of such a run.
    if (ok || !incremental) {
      incremental_.End(ok, *journal_, BarCount());
      return ok;
    }
    incremental = false;
  }
}

bool TGS::RunProgram(bool incremental) {
  // Whichever way the program ends, a recursion held back for a partner is run.
  struct RunsHeldRecursion {
    TGS& gs;
    ~RunsHeldRecursion() { gs.RunHeldRecursion(); }
  } runsHeld{*this};
  error_.clear();
  int colourIndex = 0;
  for (size_t i = 0; i < program_.size(); ++i) {
    scratchUsed_ = 0;
    statementIndex_ = static_cast<int>(i);
    const StatementOutcome outcome = RunStatement(program_[i], static_cast<int>(i), colourIndex);
    statementIndex_ = -1;
    if (outcome == StatementOutcome::kAbandoned) return false;
    if (outcome == StatementOutcome::kFailed) {
      if (incremental) return false;
      error_ += LineReport(stockName_, fileName_, static_cast<int>(i), program_[i]);
      return false;
    }
  }
  return true;
}

TGS::StatementOutcome TGS::RunStatement(const std::string& compiled, int index,
                                        int& colourIndex) {
  constexpr StatementOutcome kDone = StatementOutcome::kDone;
  constexpr StatementOutcome kFailed = StatementOutcome::kFailed;
  const std::string statement = AsciiLower(TrimControl(compiled));
  if (statement.empty() || statement[0] == '#' || statement[0] == '*' || statement[0] == '{') {
    return kDone;
  }
  std::string name;
  std::string rhs = statement;
  bool isOutput = false;
  if (size_t at = statement.find(":="); at != std::string::npos) {
    name = statement.substr(0, at);
    rhs = statement.substr(at + 2);
  } else if (size_t colon = statement.find(':'); colon != std::string::npos) {
    const size_t quote = statement.find('\'');
    if (quote == std::string::npos || quote > colon) {
      name = statement.substr(0, colon);
      rhs = statement.substr(colon + 1);
      isOutput = true;
    }
  }
  if (rhs.size() > kRightSideLimit) rhs.resize(kRightSideLimit);

  std::string attributes;
  {
    size_t comma = std::string::npos;
    for (size_t k = rhs.size(); k-- > 0;) {
      if (rhs[k] == ')') break;
      if (rhs[k] == ',') comma = k;
    }
    if (comma != std::string::npos) {
      attributes = rhs.substr(comma + 1);
      rhs.resize(comma);
    }
  }

  if (name == "techtitle") {
    title_ = rhs;
    return kDone;
  }
  if (name == "drawk") {
    drawK_ = rhs == "true" ? 1 : 0;
    return kDone;
  }
  if (name == "techname") {
    shortName_ = rhs;
    return kDone;
  }

  auto withDefaultColour = [&](std::string attrs) {
    if (attrs.find("color") == std::string::npos) {
      attrs = std::string(kDefaultColours[colourIndex]) + "," + attrs;
      ++colourIndex;
    }
    if (colourIndex == 6) colourIndex = 0;
    return attrs;
  };
  if (isOutput && !name.empty()) AddOutput("syline=" + name + "::" + withDefaultColour(attributes));

  const size_t open = rhs.find('(');
  const size_t close = rhs.find(')');
  if (open != std::string::npos && (close == std::string::npos || open < close)) {
    const std::string func = rhs.substr(0, open);
    const std::string argsText =
        rhs.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    if (LibraryFunction function = Functions().Lookup(func)) {
      std::vector<std::string> args = SplitArguments(argsText);
      if (args.size() > kArgumentLimit) args.resize(kArgumentLimit);
      args.push_back("::" + attributes);
      args.emplace_back();
      if (name.empty() && !IsDrawingCommandName(func)) {
        name = Format("@TT_%d", index);
        AddOutput("syline=" + name + "::" + attributes);
      }
      const std::string result = AsciiLower(name);
      const bool ownValues = TakeOwnValues(result, args);
      int from = 0;
      if (incremental_.Active() && ownValues) {
        from = ReachFrom(*this, func, args, ArgumentsChangedFrom(func, args),
                         incremental_.LastBars());
        resumeFrom_ = std::clamp(from, 0, BarCount());
      }
      const bool ok = function(*this, result, func, args);
      resumeFrom_ = 0;
      NoteResult(result, from);
      return ok ? kDone : kFailed;
    }
    TakeOwnValues(AsciiLower(name), {});
    const StatementOutcome outcome = CallFormula(name, func, argsText);
    NoteResult(name, 0);
    return outcome;
  }

  if (name.empty()) {
    double value = 0;
    if (ResolveConstant(rhs, value)) AddOutput("syline=" + rhs + "::" + withDefaultColour(attributes));
    return kDone;
  }
  const bool ownValues = TakeOwnValues(name, {rhs});
  const int from = incremental_.Active() && ownValues
                       ? std::min(ChangedFromOf(rhs), incremental_.LastBars())
                       : 0;
  if (const Tbian* source = ResolveSeries(rhs)) {
    const int count = source->count;
    const int previousCount = FindStored(name) != nullptr ? FindStored(name)->count : 0;
    Tbian& target = CreateResult(name, count);
    if (&target != source) {
      // Bars before `from` hold what the last run copied, when it copied as many.
      const int first = previousCount >= std::min(from, count) ? std::clamp(from, 0, count) : 0;
      std::copy(source->values.begin() + first, source->values.begin() + count,
                target.values.begin() + first);
    }
    NoteResult(name, from);
    return kDone;
  }
  double value = 0;
  if (ResolveConstant(rhs, value)) {
    AddConstant(name, value);
    NoteResult(name, from);
    return kDone;
  }
  error_ = UnresolvedOperandMessage(rhs);
  return kFailed;
}

// A call of another formula: "MACD.DIF"(5,10,3) runs the built-in MACD in a child with the
// parameter text 5,10,3, and copies its DIF line.
TGS::StatementOutcome TGS::CallFormula(const std::string& name, const std::string& func,
                      const std::string& argsText) {
  std::string reference;
  for (char ch : func) {
    if (ch != '"') reference += ch;
  }
  std::string formula = reference;
  std::string line;
  if (size_t dot = reference.find('.'); dot != std::string::npos) {
    formula = reference.substr(0, dot);
    line = reference.substr(dot + 1);
  }
  std::string parameters;
  for (const std::string& arg :
       argsText.empty() ? std::vector<std::string>{} : SplitArguments(argsText)) {
    double value = 0;
    if (!ResolveConstant(arg, value)) {
      error_ = FormulaArgumentsMessage(formula, argsText);
      return StatementOutcome::kAbandoned;
    }
    parameters += Format("%ld,", std::lround(value));
  }
  const std::string& text = BuiltinFormulas().TextOf(formula);
  if (text.empty() || depth_ >= kMaxReferenceDepth) {
    error_ = UnknownFormulaMessage(formula);
    return StatementOutcome::kFailed;
  }
  TGS child(this);
  if (!child.CompileText(text, parameters)) {
    error_ = child.ErrorText();
    return StatementOutcome::kFailed;
  }
  if (line.empty()) {
    if (child.Outputs().empty()) return StatementOutcome::kFailed;
    const std::string& first = child.Outputs().front();
    const size_t start = first.find('=');
    const size_t end = first.find("::");
    if (start == std::string::npos || end == std::string::npos || end < start) return StatementOutcome::kFailed;
    line = first.substr(start + 1, end - start - 1);
  }
  const Tbian* found = child.ResolveSeries(line);
  if (found == nullptr) return StatementOutcome::kFailed;
  Tbian& target = CreateResult(name, found->count);
  std::copy(found->values.begin(), found->values.begin() + found->count, target.values.begin());
  return StatementOutcome::kDone;
}

}  // namespace vorelin
