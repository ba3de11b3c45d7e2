// The highest or lowest value of every window of n bars in three branch-free passes over
// blocks of n bars (the van Herk / Gil-Werman scheme): a window is the tail of one block
// and the head of the next. It gives what a scan of each window gives: the scan starts
// from a bound and takes a value only when it is strictly beyond the extreme so far, so
// NaN and values past the bound never count and of equal extremes (0 and -0) the earliest
// bar's is the one found.
#pragma once

#include <algorithm>
#include <vector>

namespace vorelin {

// out[i] = the extreme of x[lo .. i], lo = max(0, i - n + 1), or of x[0 .. i] when n <= 0.
// `scratch` is resized as needed and may be kept from call to call.
template <bool kHighest>
void BlockWindowExtremes(const double* x, int count, int n, double bound, double* out,
                         std::vector<double>& scratch) {
  auto beyond = [](double v, double than) { return kHighest ? v > than : v < than; };
  auto atLeast = [](double v, double than) { return kHighest ? v >= than : v <= than; };
  const int block = n > 0 ? n : std::max(count, 1);
  // Head of each block: the extreme from the block's first bar to bar i.
  for (int start = 0; start < count; start += block) {
    const int end = std::min(start + block, count);
    double e = bound;
    for (int i = start; i < end; ++i) {
      e = beyond(x[i], e) ? x[i] : e;
      out[i] = e;
    }
  }
  if (n <= 0 || n >= count) return;
  // Tail of each block: the extreme from bar i to the block's last bar, the earliest of
  // equals (walking back, an equal value replaces the later one).
  scratch.resize(static_cast<size_t>(count));
  double* tail = scratch.data();
  for (int start = 0; start < count; start += block) {
    const int end = std::min(start + block, count);
    double e = bound;
    for (int i = end - 1; i >= start; --i) {
      e = atLeast(x[i], e) ? x[i] : e;
      tail[i] = e;
    }
  }
  // A window from bar lo = i - n + 1 on is the tail of lo's block (the earlier bars, kept
  // on a tie) and the head of bar i's block; a window that is one whole block gets the
  // same value either way.
  for (int i = n; i < count; ++i) {
    const double earlier = tail[i - n + 1];
    out[i] = beyond(out[i], earlier) ? out[i] : earlier;
  }
}

}  // namespace vorelin
