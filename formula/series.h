// A named series of per-bar values, the unit every formula variable, raw bar series and
// library result is made of.
#pragma once

#include <string>
#include <vector>

namespace vorelin {

// A slot holding exactly this value has no value at that bar (tested by exact equality).
inline constexpr double kNoValue = -10'000'000.0;
// Bars a series may hold; raw data refuses to grow past kRawSeriesLimit.
inline constexpr int kSeriesCapacity = 100'000;
inline constexpr int kRawSeriesLimit = 99'998;

// `values` holds at least `count` entries, index 0 being the oldest bar. The vector is
// reused between runs, so it never shrinks below what a run needed.
struct Tbian {
  std::string name;  // lower case
  int count = 0;
  std::vector<double> values;

  double* data() { return values.data(); }
  const double* data() const { return values.data(); }
  double Last() const { return count > 0 ? values[count - 1] : kNoValue; }
};

}  // namespace vorelin
