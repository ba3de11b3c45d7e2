// An argument's values as a family reads them bar by bar, whatever shape it came in.
#pragma once

#include <algorithm>
#include <vector>

#include "formula/functions/library.h"

namespace vorelin {

// Exactly `count` values: a constant stands at every bar, slots past a series' own count
// have no value, and a private copy is taken when the result series is the argument itself
// (X:=TOPRANGE(X)), so writing the result never changes what is still to be read.
class ArgumentValues {
 public:
  ArgumentValues(const Operand& operand, const Tbian& result, int count)
      : constant_(operand.constant) {
    if (!operand.IsSeries()) return;
    if (operand.series != &result && operand.series->count >= count) {
      values_ = operand.series->data();
      return;
    }
    const int kept = std::min(operand.series->count, count);
    copy_.assign(static_cast<size_t>(count), kNoValue);
    std::copy(operand.series->values.begin(), operand.series->values.begin() + kept,
              copy_.begin());
    values_ = copy_.data();
  }
  ArgumentValues(const Tbian& series, const Tbian& result, int count)
      : ArgumentValues(Operand{&series, 0.0}, result, count) {}

  double operator[](int i) const { return values_ ? values_[i] : constant_; }

 private:
  const double* values_ = nullptr;
  double constant_;
  std::vector<double> copy_;
};

}  // namespace vorelin
