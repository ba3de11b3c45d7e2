// Comparing a computed series with the expected one: the no-value marker must match exactly,
// numbers as each suite needs.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "formula/series.h"

namespace vorelin {

using Series = std::vector<double>;

enum class Tolerance { kUlps, kAbsolute, kRelative };

// kUlps: the usual four-ulp double equality; kAbsolute: |got - want| <= tolerance;
// kRelative: |got - want| <= tolerance × max(1, |want|).
inline void ExpectSeriesWithin(const Series& got, const Series& want, Tolerance kind,
                               double tolerance) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) {
    if (want[i] == kNoValue) {
      EXPECT_EQ(got[i], kNoValue) << "bar " << i;
    } else if (kind == Tolerance::kUlps) {
      EXPECT_DOUBLE_EQ(got[i], want[i]) << "bar " << i;
    } else {
      const double scale = kind == Tolerance::kRelative ? std::max(1.0, std::fabs(want[i])) : 1.0;
      EXPECT_NEAR(got[i], want[i], tolerance * scale) << "bar " << i;
    }
  }
}

inline void ExpectSeries(const Series& got, const Series& want) {
  ExpectSeriesWithin(got, want, Tolerance::kUlps, 0);
}

}  // namespace vorelin
