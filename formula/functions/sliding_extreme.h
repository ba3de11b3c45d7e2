// The highest or lowest value of the last n bars in O(1) per bar (amortised), giving what
// a scan of each window gives: the scan starts from a bound and takes a value only when it
// is strictly beyond the extreme so far, so NaN and values past the bound never count and
// of equal extremes the earliest bar is the one found.
#pragma once

#include <cstddef>
#include <vector>

namespace vorelin {

class SlidingExtreme {
 public:
  // `highest`: the maximum (bound -DBL_MAX), else the minimum (bound 1.7e308). At most
  // `capacity` bars are pushed.
  SlidingExtreme(bool highest, double bound, size_t capacity)
      : highest_(highest), bound_(bound), bars_(capacity) {}

  // Bar i enters the window, whose first bar is `lo`; `lo` grows by at most one a bar.
  void Push(const double* x, int i, int lo) {
    const double v = x[i];
    if (Beyond(v, bound_)) {
      // An earlier bar that the new one passes can never again be the extreme; an equal
      // one stays, being found first.
      while (tail_ > head_ && Beyond(v, x[bars_[tail_ - 1]])) --tail_;
      bars_[tail_++] = i;
    }
    if (tail_ > head_ && bars_[head_] < lo) ++head_;
  }
  bool Empty() const { return head_ == tail_; }
  // The bar of the extreme; only when not Empty().
  int Bar() const { return bars_[head_]; }
  double Value(const double* x) const { return Empty() ? bound_ : x[Bar()]; }

 private:
  bool Beyond(double v, double than) const { return highest_ ? v > than : v < than; }

  bool highest_;
  double bound_;
  std::vector<int> bars_;
  size_t head_ = 0;
  size_t tail_ = 0;
};

}  // namespace vorelin
