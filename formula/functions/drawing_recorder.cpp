// The drawing recorder, which turns a drawing call (STICKLINE, DRAWTEXT, ...) into an output
// entry for the chart, and DRAWLINE, which computes its straight segments as a series.
#include <algorithm>
#include <string>
#include <vector>

#include "formula/function_table.h"
#include "formula/functions/argument_values.h"
#include "formula/functions/families.h"
#include "formula/interpreter.h"

namespace vorelin {

namespace {

constexpr double M = kNoValue;
constexpr size_t kRecordedTexts = 101;    // the first argument and at most 100 after it
constexpr size_t kAttributeSearch = 20;  // where DRAWLINE looks for the attribute text

using Args = std::vector<std::string>;

// FUNC=arg1,arg2,...,::attributes — every text of the call but the empty terminator.
std::string DrawingCommandEntry(const std::string& func, const Args& args) {
  size_t texts = args.size();
  if (texts > 0 && args.back().empty()) --texts;
  texts = std::min(texts, kRecordedTexts);
  std::string entry = func + "=";
  for (size_t i = 0; i < texts; ++i) {
    if (i > 0) entry += ",";
    entry += args[i];
  }
  return entry;
}

bool RecordDrawing(TGS& gs, const std::string& result, const std::string& func,
                   const Args& args) {
  if (!result.empty() && AsciiLower(func) == "stickline") {
    // A named STICKLINE also keeps its condition, so the name can be used as a series.
    Operand condition;
    if (!ResolveOperand(gs, Arg(args, 0), condition)) {
      gs.SetError(func + "参数X 不存在!");
      return false;
    }
    const BarInput x(condition, result, gs.BarCount());
    Tbian& out = gs.CreateResult(result, gs.BarCount());
    for (int i = 0; i < out.count; ++i) out.values[i] = x[i] > 0 ? 1 : 0;
  }
  gs.AddOutput(DrawingCommandEntry(func, args));
  return true;
}

// The output line that draws DRAWLINE's series under an internal name. The run already adds
// one for a bare call, so an existing line of that name is not repeated.
void AddInternalLine(TGS& gs, const std::string& result, const Args& args) {
  for (const std::string& entry : gs.Outputs()) {
    const size_t end = entry.find("::");
    if (entry.rfind("syline=", 0) == 0 && end != std::string::npos &&
        AsciiLower(entry.substr(7, end - 7)) == AsciiLower(result)) {
      return;
    }
  }
  std::string attributes = "::";
  for (size_t i = 0; i < std::min(args.size(), kAttributeSearch); ++i) {
    if (args[i].find("::") != std::string::npos) {
      attributes = args[i];
      break;
    }
  }
  gs.AddOutput("syline=" + result + attributes);
}

// DRAWLINE(X1,V1,X2,V2,EX): from the latest bar where X2 holds back to the latest earlier bar
// where X1 holds, a straight line from V1 to V2; then the same before that segment.
bool DrawLine(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  ArgumentReader in(gs, args, "DRAWLINE(X1,V1,X2,V2,EX)", "没定义!");
  Operand x1, v1, x2, v2;
  double ex = 0;
  if (!in.Value(0, "X1", x1) || !in.Value(1, "V1", v1) || !in.Value(2, "X2", x2) ||
      !in.Value(3, "V2", v2) || !in.Constant(4, "EX", ex)) {
    return false;
  }
  if (!result.empty() && result[0] == '@') AddInternalLine(gs, result, args);

  const int count = gs.BarCount();
  const BarInput start(x1, result, count), from(v1, result, count), end(x2, result, count),
      to(v2, result, count);
  Tbian& out = gs.CreateResult(result, count);
  std::fill(out.values.begin(), out.values.begin() + count, M);

  int limit = count - 1;  // an extended segment stops before this bar
  int searchFrom = count - 1;
  while (true) {
    int e = searchFrom;
    while (e > 0 && !(end[e] != M && end[e] >= 1)) --e;
    if (e <= 0) break;
    int c = e - 1;
    while (c >= 0 && !(start[c] != M && start[c] > 0)) --c;
    if (c < 0) break;
    const double p = from[c], q = to[e];
    // A segment whose end has no value stays without value rather than aiming at the marker.
    if (p != M && q != M) {
      const int last = ex == 1 && e < limit ? limit - 1 : e;
      for (int i = c; i <= last; ++i) {
        out.values[i] = p + (q - p) * (i - c) / (e - c);
      }
    }
    limit = c - 1;
    searchFrom = c;
  }
  ReplaceNonFinite(out);
  return true;
}

constexpr LibraryEntry kEntries[] = {
    {"ployline", RecordDrawing},     {"stickline", RecordDrawing},   {"stickbar", RecordDrawing},
    {"drawkline", RecordDrawing},    {"drawicon", RecordDrawing},    {"drawtext", RecordDrawing},
    {"partline", RecordDrawing},     {"drawtext_fix", RecordDrawing},
    {"drawnumber_fix", RecordDrawing}, {"twr", RecordDrawing},       {"btx", RecordDrawing},
    {"drawline", DrawLine},          {"drawrectrel", RecordDrawing}, {"drawgbk", RecordDrawing},
    {"drawbmp", RecordDrawing},      {"drawnumber", RecordDrawing},  {"drawband", RecordDrawing},
};

}  // namespace

LibraryFamily DrawingFamily() { return {kEntries}; }

}  // namespace vorelin
