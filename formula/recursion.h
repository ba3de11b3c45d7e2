// The first-order recursions of EMA and SMA, result = (w·X + older·previous) / divisor,
// alone or two at a time. Each step waits for the division before it; two independent
// recursions in one loop overlap in the processor, so a pair costs about what one does.
#pragma once

namespace vorelin {

struct Recursion {
  const double* x = nullptr;
  double* out = nullptr;
  int first = 0;  // bars first .. count-1 are computed
  int count = 0;
  double previous = 0;  // the result before bar `first` (the no-value marker for none)
  double weight = 0;    // of the new value
  double older = 0;     // of the previous result
  double divisor = 1;
  bool finiteOnly = false;  // a result that is not finite has no value
};

void RunRecursion(const Recursion& recursion);
// The same values as running each alone, in either order.
void RunRecursionPair(const Recursion& a, const Recursion& b);

}  // namespace vorelin
