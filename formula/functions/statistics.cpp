// Window statistics built on one moving average (VARP, VAR, STDP, STD, DEVSQ, AVEDEV) and
// the least-squares line over the last N bars (FORCAST, SLOPE).
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "common/numbers.h"
#include "formula/functions/argument_values.h"
#include "formula/functions/families.h"
#include "formula/interpreter.h"

namespace vorelin {

namespace {

constexpr double M = kNoValue;

double ValueOrNone(double value) { return std::isfinite(value) ? value : M; }

// The simple moving average every statistic starts from, one bar at a time: a running sum
// to which a bar without value adds nothing, no value on the first n-1 bars and wherever
// the current or the window's oldest bar has none; n = 0 averages all bars so far.
class MovingAverage {
 public:
  explicit MovingAverage(int n) : n_(n) {}

  // The average at bar i; bars must come in order from 0. `at(k)` is the value of bar k.
  template <typename ValueAt>
  double Next(ValueAt at, int i) {
    if (n_ < 0) return M;
    const double current = at(i);
    const bool hasValue = current != M;
    if (hasValue) sum_ += current;
    if (n_ == 0) return hasValue ? sum_ / (i + 1) : M;
    if (i < n_ - 1) return M;
    const double oldest = at(i - n_ + 1);
    if (oldest == M) return M;
    const double average = hasValue ? sum_ / n_ : M;
    sum_ -= oldest;
    return average;
  }

 private:
  int n_;
  double sum_ = 0;
};

enum class Statistic { kVarp, kVar, kStdp, kStd, kDevsq, kAvedev };

// Population variance at every bar, the mean of the squares less the square of the mean,
// handed to `f` where it has a value; `out` gets f's results and no value elsewhere.
template <typename F>
void FromVariance(const BarInput& x, int count, int n, double* out, F f) {
  MovingAverage mean(n), meanOfSquares(n);
  const auto value = [&x](int k) { return x[k]; };
  const auto square = [&x](int k) { return x[k] == M ? M : x[k] * x[k]; };
  for (int i = 0; i < count; ++i) {
    const double a = mean.Next(value, i);
    const double s = meanOfSquares.Next(square, i);
    out[i] = a == M || s == M ? M : ValueOrNone(f(ValueOrNone(s - a * a)));
  }
}

// Mean absolute deviation from the window's moving average. A window that holds a bar
// without value has none either: the marker would enter the sum as a huge number.
void MeanAbsoluteDeviation(const BarInput& x, int count, int n, double* out) {
  MovingAverage mean(n);
  const auto value = [&x](int k) { return x[k]; };
  for (int i = 0; i < count; ++i) {
    const double a = mean.Next(value, i);
    out[i] = M;
    if (n <= 0 || i < n - 1 || a == M) continue;
    double s = 0;
    bool complete = true;
    for (int j = i - n + 1; j <= i && complete; ++j) {
      complete = x[j] != M;
      s += std::fabs(x[j] - a);
    }
    if (complete) out[i] = ValueOrNone(s / n);
  }
}

void Compute(Statistic which, const BarInput& x, int count, int n, double* out) {
  const double scale = n > 1 ? static_cast<double>(n) / (n - 1) : 1.0;
  const bool copiesX = n == 0 && (which == Statistic::kVar || which == Statistic::kStd ||
                                  which == Statistic::kDevsq);
  if (copiesX) {
    for (int i = 0; i < count; ++i) out[i] = ValueOrNone(x[i]);
    return;
  }
  switch (which) {
    case Statistic::kVarp: return FromVariance(x, count, n, out, [](double v) { return v; });
    case Statistic::kVar:
      return FromVariance(x, count, n, out, [&](double v) { return v * scale; });
    case Statistic::kStdp:
      // Rounding can leave an equal-valued window a hair below zero.
      return FromVariance(x, count, n, out, [](double v) { return v > 0 ? std::sqrt(v) : 0.0; });
    case Statistic::kStd:
      if (n == 1) return FromVariance(x, count, n, out, [](double v) { return v; });
      return FromVariance(x, count, n, out,
                          [&](double v) { return v > 0 ? std::sqrt(v * scale) : 0.0; });
    case Statistic::kDevsq:
      return FromVariance(x, count, n, out, [&](double v) { return v * n; });
    case Statistic::kAvedev: return MeanAbsoluteDeviation(x, count, n, out);
  }
}

// The statistics fail without a message when X is no series or N no constant.
template <Statistic kWhich>
bool StatisticEntry(TGS& gs, const std::string& result, const std::string&,
                    const std::vector<std::string>& args) {
  const Tbian* x = gs.ResolveSeries(Arg(args, 0));
  double nValue = 0;
  if (x == nullptr || !gs.ResolveConstant(Arg(args, 1), nValue)) return false;
  const int count = gs.BarCount();
  Tbian& out = gs.CreateResult(result, count);
  const BarInput input(Operand{x, 0.0}, out.name, count);
  Compute(kWhich, input, count, TruncToInt(nValue), out.data());
  return true;
}

// ---- least-squares line ------------------------------------------------------------------

enum class Line { kForcast, kSlope };

std::string LineArgumentUndefined(std::string_view func, const char* which,
                                  const std::string& arg) {
  return std::string(func) + "(X,N)参数" + which + ":" + arg + "未定义!";
}

std::string LineLengthTooShort(std::string_view func) {
  return std::string(func) + "(X,N)参数N必须大于1!";
}

// Fits y = c0 + c1*k through (k, X[i-n+k]), k = 1 .. n, at every bar whose n-bar window
// has values throughout; FORCAST is the line at the newest bar, SLOPE its gradient. A
// window with a bar without value gives none: the marker would tilt the line absurdly.
void LeastSquaresLine(Line which, const BarInput& x, int count, int n, double* out) {
  const double meanK = (n + 1) / 2.0;
  const double spread = static_cast<double>(n) * (static_cast<double>(n) * n - 1) / 12.0;
  int missing = 0;  // bars without value in the window ending at i
  for (int i = 0; i < count; ++i) {
    out[i] = M;
    if (x[i] == M) ++missing;
    if (i >= n && x[i - n] == M) --missing;
    if (i < n - 1 || missing > 0) continue;
    double sumY = 0, sumKY = 0;
    for (int k = 1; k <= n; ++k) {
      const double y = x[i - n + k];
      sumY += y;
      sumKY += (k - meanK) * y;
    }
    const double c1 = sumKY / spread;
    const double c0 = sumY / n - c1 * meanK;
    out[i] = ValueOrNone(which == Line::kSlope ? c1 : c0 + c1 * n);
  }
}

template <Line kWhich>
bool LineEntry(TGS& gs, const std::string& result, const std::string&,
               const std::vector<std::string>& args) {
  const std::string_view func = kWhich == Line::kSlope ? "SLOPE" : "FORCAST";
  const Tbian* x = gs.ResolveSeries(Arg(args, 0));
  if (x == nullptr) {
    gs.SetError(LineArgumentUndefined(func, "X", Arg(args, 0)));
    return false;
  }
  double nValue = 0;
  if (!gs.ResolveConstant(Arg(args, 1), nValue)) {
    gs.SetError(LineArgumentUndefined(func, "N", Arg(args, 1)));
    return false;
  }
  const int n = TruncToInt(nValue);
  if (n <= 1) {
    gs.SetError(LineLengthTooShort(func));
    return false;
  }
  const int count = gs.BarCount();
  Tbian& out = gs.CreateResult(result, count);
  const BarInput input(Operand{x, 0.0}, out.name, count);
  LeastSquaresLine(kWhich, input, count, n, out.data());
  return true;
}

constexpr LibraryEntry kEntries[] = {
    {"varp", StatisticEntry<Statistic::kVarp>},   {"var", StatisticEntry<Statistic::kVar>},
    {"stdp", StatisticEntry<Statistic::kStdp>},   {"std", StatisticEntry<Statistic::kStd>},
    {"devsq", StatisticEntry<Statistic::kDevsq>}, {"avedev", StatisticEntry<Statistic::kAvedev>},
    {"forcast", LineEntry<Line::kForcast>},       {"slope", LineEntry<Line::kSlope>},
};

}  // namespace

LibraryFamily StatisticsFamily() { return {kEntries}; }

}  // namespace vorelin
