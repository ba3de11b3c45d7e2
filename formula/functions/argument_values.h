// Arguments copied out bar by bar, the guard that keeps NaN and infinity out of results, and
// a reader that resolves arguments in order and reports the first one that fails.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "formula/functions/library.h"
#include "formula/interpreter.h"

namespace vorelin {

// `count` values of a series; slots past its own count have no value. A copy, so a result
// that overwrites the argument's series cannot disturb the computation.
inline std::vector<double> BarValues(const Tbian& series, int count) {
  std::vector<double> values(static_cast<size_t>(std::max(count, 0)), kNoValue);
  const int available = std::min(series.count, static_cast<int>(values.size()));
  std::copy(series.values.begin(), series.values.begin() + available, values.begin());
  return values;
}

// A series operand's values, or its constant on every bar.
inline std::vector<double> BarValues(const Operand& operand, int count) {
  if (operand.IsSeries()) return BarValues(*operand.series, count);
  return std::vector<double>(static_cast<size_t>(std::max(count, 0)), operand.constant);
}

inline double FiniteOrNoValue(double value) { return std::isfinite(value) ? value : kNoValue; }

inline void ReplaceNonFinite(Tbian& series) {
  for (int i = 0; i < series.count; ++i) series.values[i] = FiniteOrNoValue(series.values[i]);
}

// Reads the arguments of one function; each read that fails sets the message
// signature + "参数" + parameter + ":" + argument text + missingText and returns false.
class ArgumentReader {
 public:
  ArgumentReader(TGS& gs, const std::vector<std::string>& args, std::string_view signature,
                 std::string_view missingText)
      : gs_(gs), args_(args), signature_(signature), missingText_(missingText) {}

  void SetMissingText(std::string_view missingText) { missingText_ = missingText; }

  // A series (ResolveSeries), copied to BarCount values.
  bool Series(size_t index, std::string_view parameter, std::vector<double>& values) {
    const Tbian* series = gs_.ResolveSeries(Arg(args_, index));
    if (series == nullptr) return Fail(index, parameter);
    values = BarValues(*series, gs_.BarCount());
    return true;
  }
  // A series, or else a constant.
  bool Value(size_t index, std::string_view parameter, Operand& operand) {
    return ResolveOperand(gs_, Arg(args_, index), operand) || Fail(index, parameter);
  }
  // A constant only (named constant, parameter, market constant or number).
  bool Constant(size_t index, std::string_view parameter, double& value) {
    return gs_.ResolveConstant(Arg(args_, index), value) || Fail(index, parameter);
  }
  bool Fail(size_t index, std::string_view parameter) {
    gs_.SetError(std::string(signature_) + "参数" + std::string(parameter) + ":" +
                 Arg(args_, index) + std::string(missingText_));
    return false;
  }

 private:
  TGS& gs_;
  const std::vector<std::string>& args_;
  std::string_view signature_;
  std::string_view missingText_;
};

}  // namespace vorelin
