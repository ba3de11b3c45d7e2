#include "app/nice_scale.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"

namespace vorelin {
namespace {

// The smallest of 1, 2, 5 and 10 times a power of ten that is at least `raw`.
double RoundStepUp(double raw) {
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double fraction = raw / magnitude;
  // A little slack: 2.0000000001 is 2 computed with rounding error, not a reason for 5.
  for (double nice : {1.0, 2.0, 5.0})
    if (fraction <= nice * (1 + 1e-9)) return nice * magnitude;
  return 10 * magnitude;
}

}  // namespace

std::vector<double> NiceScale::Ticks() const {
  std::vector<double> ticks;
  const int count = static_cast<int>(std::lround((high - low) / step));
  for (int i = 0; i <= count; ++i) ticks.push_back(low + i * step);
  return ticks;
}

std::string NiceScale::Label(double value) const {
  // -0.00 from a tick computed as -1e-17 reads as a fault.
  if (std::fabs(value) < step * 1e-6) value = 0;
  return Format("%.*f", decimals, value);
}

NiceScale MakeNiceScale(double low, double high, int target_ticks, double min_step) {
  if (low > high) std::swap(low, high);
  if (high - low < 1e-9 * std::max(1.0, std::fabs(high))) {
    const double pad = std::max(std::fabs(low) * 0.01, std::max(min_step, 1.0));
    low -= pad;
    high += pad;
  }
  NiceScale scale;
  scale.step = std::max(RoundStepUp((high - low) / std::max(target_ticks, 1)), min_step);
  scale.low = std::floor(low / scale.step + 1e-9) * scale.step;
  scale.high = std::ceil(high / scale.step - 1e-9) * scale.step;
  scale.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(scale.step) + 1e-9)));
  return scale;
}

}  // namespace vorelin
