#include "formula/recursion.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "formula/series.h"

namespace vorelin {

namespace {

constexpr double M = kNoValue;

// Called rather than selected, so that the finiteness test stays a branch off the
// recursion's path instead of a blend on it.
[[gnu::cold, gnu::noinline]] double NoValueForNonFinite() { return M; }

// One recursion's loop state: its coefficients and the previous result in registers.
template <bool kFiniteOnly>
struct Chain {
  explicit Chain(const Recursion& r)
      : x(r.x), out(r.out), previous(r.previous), weight(r.weight), older(r.older),
        divisor(r.divisor) {}

  [[gnu::always_inline]] void Step(int i) {
    const double v = x[i];
    if (v == M) {
      previous = M;
    } else if (previous != M) {
      previous = (weight * v + older * previous) / divisor;
      if constexpr (kFiniteOnly) {
        if (!(std::fabs(previous) <= DBL_MAX)) [[unlikely]] previous = NoValueForNonFinite();
      }
    } else {
      previous = v;
    }
    out[i] = previous;
  }

  const double* x;
  double* out;
  double previous;
  const double weight, older, divisor;
};

template <bool kFiniteOnly>
void RunAlone(const Recursion& r) {
  Chain<kFiniteOnly> chain(r);
  for (int i = r.first; i < r.count; ++i) chain.Step(i);
}

template <bool kFiniteA, bool kFiniteB>
void RunTogether(const Recursion& a, const Recursion& b) {
  Chain<kFiniteA> ca(a);
  Chain<kFiniteB> cb(b);
  // Each alone up to the later start, both together while both have bars, then each alone.
  const int together = std::max(a.first, b.first);
  const int end = std::max(together, std::min(a.count, b.count));
  for (int i = a.first; i < std::min(together, a.count); ++i) ca.Step(i);
  for (int i = b.first; i < std::min(together, b.count); ++i) cb.Step(i);
  for (int i = together; i < end; ++i) {
    ca.Step(i);
    cb.Step(i);
  }
  for (int i = end; i < a.count; ++i) ca.Step(i);
  for (int i = end; i < b.count; ++i) cb.Step(i);
}

}  // namespace

void RunRecursion(const Recursion& recursion) {
  if (recursion.finiteOnly) {
    RunAlone<true>(recursion);
  } else {
    RunAlone<false>(recursion);
  }
}

void RunRecursionPair(const Recursion& a, const Recursion& b) {
  if (a.finiteOnly && b.finiteOnly) return RunTogether<true, true>(a, b);
  if (a.finiteOnly) return RunTogether<true, false>(a, b);
  if (b.finiteOnly) return RunTogether<false, true>(a, b);
  RunTogether<false, false>(a, b);
}

}  // namespace vorelin
