// Axis ranges on round numbers for the window layer's own charts: ticks a reader can take
// in at a glance (steps of 1, 2 or 5 times a power of ten).
#pragma once

#include <string>
#include <vector>

namespace vorelin {

struct NiceScale {
  double low = 0;   // first tick, at or below the data's low
  double high = 1;  // last tick, at or above the data's high
  double step = 1;
  int decimals = 0;  // what the step needs to print exactly

  std::vector<double> Ticks() const;
  std::string Label(double value) const;
};

// A scale covering [low, high] with about `target_ticks` intervals; a range without width is
// widened around its value. `min_step` keeps whole-number axes (sequence numbers) on whole
// steps.
NiceScale MakeNiceScale(double low, double high, int target_ticks, double min_step = 0);

}  // namespace vorelin
