// How a name becomes a series or a constant: stored series, bar-position functions,
// aliases, derived date and time series, and references to built-in formulas.
#include <cmath>

#include "common/dates.h"
#include "common/numbers.h"
#include "formula/builtin_formulas.h"
#include "formula/interpreter.h"

namespace vorelin {

namespace {

bool IsBarPositionName(const std::string& name) {
  return name == "lfs" || name == "barstatus" || name == "currbarscount" ||
         name == "totalbarscount" || name == "islastbar";
}

std::string ReplaceAlias(const std::string& name) {
  if (name == "h") return "high";
  if (name == "l") return "low";
  if (name == "o") return "open";
  if (name == "c") return "close";
  if (name == "v") return "vol";
  return name;
}

double TruncValue(double value) { return std::trunc(value); }

}  // namespace

Tbian* TGS::ResolveSeries(std::string_view name) {
  std::string lower = AsciiLower(name);
  if (lower.empty()) return nullptr;
  if (lower.rfind("index", 0) == 0) {
    if (IndexSeriesLoader loader = StandardIndexLoader()) loader(*this);
  }
  if (Tbian* found = FindSeries(lower)) return found;
  if (IsBarPositionName(lower)) {
    if (LibraryFunction function = Functions().Lookup(lower)) {
      const std::string result = lower + "_1";
      const std::vector<std::string> args = {"::", ""};
      if (function(*this, result, lower, args)) {
        if (Tbian* found = FindSeries(result)) return found;
      }
    }
  }
  const std::string aliased = ReplaceAlias(lower);
  if (aliased != lower) {
    if (Tbian* found = FindSeries(aliased)) return found;
  }
  if (aliased == "high" || aliased == "low" || aliased == "open") {
    if (Tbian* close = FindSeries("close")) return close;
  }
  if (Tbian* derived = DerivedSeries(lower)) return derived;
  return ReferenceSeries(lower);
}

// Date and time parts computed from the raw "date" and "time" series, made (or remade in
// place) under their own name.
Tbian* TGS::DerivedSeries(const std::string& lowerName) {
  const bool fromDate = lowerName == "datetoday" || lowerName == "year" ||
                        lowerName == "month" || lowerName == "day" || lowerName == "week";
  const bool fromTime = lowerName == "hour" || lowerName == "minute" || lowerName == "fromopen";
  if (!fromDate && !fromTime) return nullptr;
  Tbian* source = FindSeries(fromDate ? "date" : "time");
  if (source == nullptr) return nullptr;
  const int n = source->count;
  std::vector<double> values(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const int v = TruncToInt(TruncValue(source->values[i]));
    double out = 0;
    if (lowerName == "datetoday") out = DaysFrom19901219(v);
    else if (lowerName == "year") out = v / 10000;
    else if (lowerName == "month") out = (v % 10000) / 100;
    else if (lowerName == "day") out = v % 100;
    else if (lowerName == "week") out = Weekday(v) + 1;
    else if (lowerName == "hour") out = v / 100;
    else if (lowerName == "minute") out = v % 100;
    else out = (v / 100) * 60 + v % 100 - 570;
    values[i] = out;
  }
  Tbian* existing = computed_.Find(lowerName);
  Tbian& series = existing != nullptr ? *existing : AddComputed(lowerName, n);
  series.count = n;
  series.values = std::move(values);
  return &series;
}

// "FORMULA.LINE" or "FORMULA": the line computed by a child running the built-in text with
// its default parameters, copied into a scratch series of its own.
Tbian* TGS::ReferenceSeries(const std::string& lowerName) {
  if (depth_ >= kMaxReferenceDepth) return nullptr;
  std::string text;
  for (char ch : lowerName) {
    if (ch != '"') text += ch;
  }
  std::string formula = text;
  std::string line;
  if (size_t dot = text.find('.'); dot != std::string::npos) {
    formula = text.substr(0, dot);
    line = text.substr(dot + 1);
  }
  const std::string& source = BuiltinFormulas().TextOf(formula);
  if (source.empty()) return nullptr;
  TGS child(this);
  if (!child.CompileText(source)) return nullptr;
  if (line.empty()) {
    if (child.Outputs().empty()) return nullptr;
    const std::string& first = child.Outputs().front();
    const size_t start = first.find('=');
    const size_t end = first.find("::");
    if (start == std::string::npos || end == std::string::npos || end < start) return nullptr;
    line = first.substr(start + 1, end - start - 1);
  }
  const Tbian* found = child.ResolveSeries(line);
  if (found == nullptr) return nullptr;
  Tbian& scratch = NextScratch();
  scratch.name = lowerName;
  scratch.count = found->count;
  scratch.values.assign(found->values.begin(), found->values.begin() + found->count);
  return &scratch;
}

bool TGS::ResolveConstant(std::string_view name, double& value) {
  std::string lower = AsciiLower(name);
  if (lower.empty()) return false;
  if (lower == "setcode") {
    if (attached_.stock == nullptr) return false;
    value = attached_.stock->Market();
    return true;
  }
  if (lower == "capital" || lower == "totalcapital") {
    const size_t element = lower == "capital" ? 7 : 1;
    if (attached_.finance.size() <= element) return false;
    value = static_cast<double>(attached_.finance[element]) / 100.0;
    return true;
  }
  if ((lower == "advance" || lower == "decline") && attached_.breadth.size() > 2 &&
      ResolveSeries(lower) == nullptr) {
    value = attached_.breadth[lower == "advance" ? 1 : 2];
    return true;
  }
  if (lower == "fromopen") {
    value = 240;
    return true;
  }
  if (lower == "period") {
    value = periodCode_;
    return true;
  }
  const std::string* text = &lower;
  if (const auto found = constantIndex_.find(lower); found != constantIndex_.end()) {
    text = &constants_[found->second].second;
  }
  std::optional<double> parsed = ParseDecimal(*text);
  if (!parsed) return false;
  value = *parsed;
  return true;
}

double TGS::LastValue(std::string_view name) {
  const Tbian* series = ResolveSeries(name);
  return series != nullptr ? series->Last() : kNoValue;
}

}  // namespace vorelin
