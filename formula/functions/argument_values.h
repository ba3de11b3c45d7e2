// Arguments copied out bar by bar, the guard that keeps NaN and infinity out of results, and
// a reader that resolves arguments in order and reports the first one that fails.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "formula/function_table.h"
#include "formula/functions/library.h"
#include "formula/interpreter.h"

namespace vorelin {

// `count` values of a series; slots past its own count have no value.
inline std::vector<double> BarValues(const Tbian& series, int count) {
  std::vector<double> values(static_cast<size_t>(std::max(count, 0)), kNoValue);
  const int available = std::min(series.count, static_cast<int>(values.size()));
  std::copy(series.values.begin(), series.values.begin() + available, values.begin());
  return values;
}

// One argument read bar by bar: a constant, a series read in place, or a private copy when
// the series is shorter than the run (the missing bars have no value) or is the result the
// function is about to overwrite. Build it before CreateResult(result, count).
class BarInput {
 public:
  BarInput(const Operand& operand, const std::string& result, int count) {
    if (!operand.IsSeries()) {
      constant_ = operand.constant;
      return;
    }
    const Tbian& series = *operand.series;
    mask_ = -1;
    if (series.count >= count && series.name != AsciiLower(result)) {
      data_ = series.data();
      return;
    }
    copy_ = BarValues(series, count);
    data_ = copy_.data();
  }
  BarInput(const BarInput&) = delete;
  BarInput& operator=(const BarInput&) = delete;

  // A constant is read as a series of one value at index 0: no test in the per-bar loops.
  double operator[](int i) const { return data_[i & mask_]; }
  // The values of a series argument (null for a constant).
  const double* data() const { return mask_ != 0 ? data_ : nullptr; }

 private:
  double constant_ = 0;
  const double* data_ = &constant_;
  int mask_ = 0;  // all ones for a series
  std::vector<double> copy_;
};

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

  // A series only (ResolveSeries).
  bool Series(size_t index, std::string_view parameter, Operand& operand) {
    operand.series = gs_.ResolveSeries(Arg(args_, index));
    return operand.series != nullptr || Fail(index, parameter);
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
