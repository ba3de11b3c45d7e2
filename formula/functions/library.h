// The calling convention every library function keeps, and the small helpers that let a
// function read its arguments the way all others do.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formula/series.h"

namespace vorelin {

class TGS;

// `result`: the lower-case name that receives the result (empty for drawing commands).
// `func`: the function name as written, lower case. `args`: the argument texts in order,
// then "::" + the statement's attribute words, then an empty text.
// True when the result (series or named constant) is stored; false with the interpreter's
// error text set and nothing stored.
using LibraryFunction = bool (*)(TGS& gs, const std::string& result, const std::string& func,
                                 const std::vector<std::string>& args);

struct LibraryEntry {
  const char* name;  // lower case, as registered
  LibraryFunction function;
};

// Turning points of `price` (its first `price.count` values) for a reversal threshold in
// percent: `points` gets the price at each turning point and kNoValue elsewhere.
using ZigZagPointFinder = bool (*)(const Tbian& price, double thresholdPercent,
                                   std::vector<double>& points);
// Loads the market index series (indexo, indexc, ...) into the interpreter.
using IndexSeriesLoader = bool (*)(TGS& gs);

// What one family file contributes: its {name, entry} table and any service that name
// resolution needs from it.
struct LibraryFamily {
  std::span<const LibraryEntry> entries;
  ZigZagPointFinder zigZag = nullptr;
  IndexSeriesLoader loadIndex = nullptr;
};

// The i-th text of an argument list, or an empty text past its end.
inline const std::string& Arg(const std::vector<std::string>& args, size_t i) {
  static const std::string kEmpty;
  return i < args.size() ? args[i] : kEmpty;
}

// An argument resolved the way every function resolves it: a series first, else a constant.
struct Operand {
  const Tbian* series = nullptr;
  double constant = 0.0;

  bool IsSeries() const { return series != nullptr; }
  double At(int i) const { return series ? series->values[i] : constant; }
};

// False when `text` is neither a series nor a constant (nothing is reported).
bool ResolveOperand(TGS& gs, std::string_view text, Operand& out);

}  // namespace vorelin
