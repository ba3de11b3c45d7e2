// Window statistics built on one moving average (VARP, VAR, STDP, STD, DEVSQ, AVEDEV) and
// the least-squares line over the last N bars (FORCAST, SLOPE).
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "common/numbers.h"
#include "formula/functions/families.h"
#include "formula/interpreter.h"

namespace vorelin {

namespace {

constexpr double M = kNoValue;
using Values = std::vector<double>;

double ValueOrNone(double value) { return std::isfinite(value) ? value : M; }

// X as exactly `count` values (slots past its own count have no value), copied so that the
// result may be X itself.
Values ReadSeries(const Tbian& x, int count) {
  Values values(static_cast<size_t>(count), M);
  std::copy(x.values.begin(), x.values.begin() + std::min(x.count, count), values.begin());
  return values;
}

// The simple moving average every statistic starts from: a running sum to which a bar
// without value adds nothing, no value on the first n-1 bars and wherever the current or
// the window's oldest bar has none; n = 0 averages all bars so far.
Values MovingAverage(const Values& x, int n) {
  const int count = static_cast<int>(x.size());
  Values out(x.size(), M);
  if (n < 0) return out;
  double s = 0;
  for (int i = 0; i < count; ++i) {
    const bool hasValue = x[i] != M;
    if (hasValue) s += x[i];
    if (n == 0) {
      if (hasValue) out[i] = s / (i + 1);
    } else if (i >= n - 1) {
      const double oldest = x[i - n + 1];
      if (oldest != M) {
        if (hasValue) out[i] = s / n;
        s -= oldest;
      }
    }
  }
  return out;
}

// Population variance: the mean of the squares less the square of the mean.
Values PopulationVariance(const Values& x, int n) {
  Values squares(x.size(), M);
  for (size_t i = 0; i < x.size(); ++i) {
    if (x[i] != M) squares[i] = x[i] * x[i];
  }
  const Values mean = MovingAverage(x, n);
  Values out = MovingAverage(squares, n);
  for (size_t i = 0; i < x.size(); ++i) {
    out[i] = out[i] == M || mean[i] == M ? M : ValueOrNone(out[i] - mean[i] * mean[i]);
  }
  return out;
}

enum class Statistic { kVarp, kVar, kStdp, kStd, kDevsq, kAvedev };

// Applies `f` to every bar of the population variance that has a value.
template <typename F>
Values FromVariance(const Values& x, int n, F f) {
  Values v = PopulationVariance(x, n);
  for (double& value : v) {
    if (value != M) value = ValueOrNone(f(value));
  }
  return v;
}

// Mean absolute deviation from the window's moving average. A window that holds a bar
// without value has none either: the marker would enter the sum as a huge number.
Values MeanAbsoluteDeviation(const Values& x, int n) {
  Values out(x.size(), M);
  if (n <= 0) return out;
  const Values mean = MovingAverage(x, n);
  for (size_t i = static_cast<size_t>(n - 1); i < x.size(); ++i) {
    if (mean[i] == M) continue;
    double s = 0;
    bool complete = true;
    for (size_t j = i + 1 - static_cast<size_t>(n); j <= i && complete; ++j) {
      complete = x[j] != M;
      s += std::fabs(x[j] - mean[i]);
    }
    if (complete) out[i] = ValueOrNone(s / n);
  }
  return out;
}

Values Compute(Statistic which, const Values& x, int n) {
  const double scale = n > 1 ? static_cast<double>(n) / (n - 1) : 1.0;
  switch (which) {
    case Statistic::kVarp: return PopulationVariance(x, n);
    case Statistic::kVar:
      if (n == 0) return x;
      return FromVariance(x, n, [&](double v) { return v * scale; });
    case Statistic::kStdp:
      // Rounding can leave an equal-valued window a hair below zero.
      return FromVariance(x, n, [](double v) { return v > 0 ? std::sqrt(v) : 0.0; });
    case Statistic::kStd:
      if (n == 0) return x;
      if (n == 1) return PopulationVariance(x, 1);
      return FromVariance(x, n, [&](double v) { return v > 0 ? std::sqrt(v * scale) : 0.0; });
    case Statistic::kDevsq:
      if (n == 0) return x;
      return FromVariance(x, n, [&](double v) { return v * n; });
    case Statistic::kAvedev: return MeanAbsoluteDeviation(x, n);
  }
  return Values(x.size(), M);
}

// The statistics fail without a message when X is no series or N no constant.
template <Statistic kWhich>
bool StatisticEntry(TGS& gs, const std::string& result, const std::string&,
                    const std::vector<std::string>& args) {
  const Tbian* x = gs.ResolveSeries(Arg(args, 0));
  double nValue = 0;
  if (x == nullptr || !gs.ResolveConstant(Arg(args, 1), nValue)) return false;
  const int count = gs.BarCount();
  const Values values = Compute(kWhich, ReadSeries(*x, count), TruncToInt(nValue));
  Tbian& out = gs.CreateResult(result, count);
  std::copy(values.begin(), values.end(), out.values.begin());
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
Values LeastSquaresLine(Line which, const Values& x, int n) {
  const int count = static_cast<int>(x.size());
  Values out(x.size(), M);
  const double meanK = (n + 1) / 2.0;
  const double spread = static_cast<double>(n) * (static_cast<double>(n) * n - 1) / 12.0;
  int missing = 0;  // bars without value in the window ending at i
  for (int i = 0; i < count; ++i) {
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
  return out;
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
  const Values values = LeastSquaresLine(kWhich, ReadSeries(*x, count), n);
  Tbian& out = gs.CreateResult(result, count);
  std::copy(values.begin(), values.end(), out.values.begin());
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
