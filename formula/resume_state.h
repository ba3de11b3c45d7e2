// What a library function that can resume keeps between runs of its statement: the bars it
// had computed and the running values that its results alone do not give back exactly.
#pragma once

#include <cstdint>

namespace vorelin {

struct ResumeState {
  int bars = -1;  // bars the values below were taken after; -1 none
  double sum = 0;
  double sum2 = 0;
  int64_t position = 0;
};

}  // namespace vorelin
