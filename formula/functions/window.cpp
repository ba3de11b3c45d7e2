// The (X,N) family: functions of a series X over a window of N bars (MA, EMA, HHV, REF,
// COUNT, ...), one family routine with a thin registered entry per name.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "common/numbers.h"
#include "formula/functions/block_extreme.h"
#include "formula/functions/families.h"
#include "formula/functions/sliding_extreme.h"
#include "formula/interpreter.h"
#include "formula/recursion.h"

namespace vorelin {

namespace {

constexpr double M = kNoValue;
constexpr int kMarkerLength = -10'000'000;  // a length read from a no-value slot

enum class Window {
  kSum, kDma, kFilter, kFilterX, kHod, kLod, kBarsSinceN, kWma, kForecast, kXma, kMa,
  kSumBars, kBackSet, kCount, kRef, kMema, kEma, kExpMema, kLlv, kLlvBars, kHhv, kHhvBars
};

constexpr std::string_view kFamilyNames[] = {
    "SUM",  "DMA",     "FILTER", "FILTERX", "HOD",  "LOD",     "BARSSINCEN", "WMA",
    "FORECAST", "XMA", "MA",     "SUMBARS", "BACKSET", "COUNT", "REF",       "MEMA",
    "EMA",  "EXPMEMA", "LLV",    "LLVBARS", "HHV",  "HHVBARS"};

std::string XnArgumentMissing(std::string_view func, const char* which, const std::string& arg) {
  return std::string(func) + "(X,N)参数" + which + ":" + arg + "不存在!";
}

// A series read as the routine needs it: exactly `n` values (slots past its count have no
// value), and a private copy when the result would overwrite it during the computation.
struct SeriesInput {
  const double* values = nullptr;
  std::vector<double> copy;

  void From(const Tbian& series, const Tbian& result, int n) {
    if (&series != &result && series.count >= n) {
      values = series.data();
      return;
    }
    copy.assign(static_cast<size_t>(n), M);
    std::copy(series.values.begin(), series.values.begin() + std::min(series.count, n),
              copy.begin());
    values = copy.data();
  }
};

struct Args {
  const double* x;
  const double* nSeries;  // null for a constant N
  double nRaw;            // the constant N as given
  int n;                  // the constant N truncated (for a series N: its last value)
  double* out;
  int count;
  // Resuming after appended bars: bars before `from` hold the last run's values, and
  // `state` (null outside a statement) the running values kept with them. Routines that
  // do not resume compute from bar 0 whatever `from` says.
  int from = 0;
  ResumeState* state = nullptr;

  // The running values of the last run, when they were taken after exactly `from` bars.
  const ResumeState* KeptState() const {
    return from > 0 && state != nullptr && state->bars == from ? state : nullptr;
  }
  void Keep(double sum) const {
    if (state != nullptr) *state = ResumeState{count, sum, 0, 0};
  }

  int LengthAt(int i) const { return nSeries ? Length(nSeries[i]) : n; }
  // Truncated toward zero and kept far from int overflow; the marker stays recognisable.
  static int Length(double value) {
    return std::clamp(TruncToInt(value), -kLengthLimit, kLengthLimit);
  }
  static constexpr int kLengthLimit = 100'000'000;
};

void Sum(const Args& a) {
  if (a.nSeries) {
    double cumulative = 0;
    for (int i = 0; i < a.count; ++i) {
      cumulative += a.x[i];
      int n = a.LengthAt(i);
      if (n == kMarkerLength) n = 0;
      if (n <= 0) {
        a.out[i] = cumulative;
        continue;
      }
      double s = 0;
      for (int k = std::max(0, i - n + 1); k <= i; ++k) s += a.x[k];
      a.out[i] = s;
    }
    return;
  }
  const ResumeState* kept = a.KeptState();
  double s = kept != nullptr ? kept->sum : 0;
  for (int i = kept != nullptr ? a.from : 0; i < a.count; ++i) {
    s += a.x[i];
    if (a.n > 0 && i >= a.n) s -= a.x[i - a.n];
    a.out[i] = s;
  }
  a.Keep(s);
}

void Dma(const Args& a) {
  if (!a.nSeries && a.nRaw >= 1) {
    std::copy(a.x + a.from, a.x + a.count, a.out + a.from);
    return;
  }
  for (int i = a.from; i < a.count; ++i) {
    if (a.x[i] == M) {
      a.out[i] = M;
      continue;
    }
    const double w = a.nSeries ? a.nSeries[i] : a.nRaw;
    if (a.nSeries && w == M) {
      a.out[i] = M;
    } else if (w >= 1 || i == 0 || a.out[i - 1] == M) {
      a.out[i] = a.x[i];
    } else {
      a.out[i] = w * a.x[i] + (1 - w) * a.out[i - 1];
    }
  }
}

void Filter(const Args& a) {
  const int last = a.count - 1;
  int h = 0;
  while (h <= last) {
    const int n = a.LengthAt(h);
    a.out[h] = 0;
    if (a.x[h] > 0) {
      a.out[h] = 1;
      const int m = std::max(0, std::min(n, last - h));
      for (int k = h + 1; k <= h + m; ++k) a.out[k] = 0;
      h += m + 1;
    } else {
      ++h;
    }
  }
}

void FilterX(const Args& a) {
  const int n = a.nSeries ? 0 : std::max(a.n, 0);
  int d = a.count - 1;
  while (d >= 0) {
    if (a.x[d] == M) {
      a.out[d] = M;
      --d;
    } else if (a.x[d] > 0) {
      a.out[d] = 1;
      const int from = std::max(0, d - n);
      for (int k = from; k < d; ++k) a.out[k] = 0;
      d = from - 1;
    } else {
      a.out[d] = 0;
      --d;
    }
  }
}

void HodLod(const Args& a, bool fromTop) {
  if (a.count > 0) a.out[0] = M;
  for (int i = 1; i < a.count; ++i) {
    const int n = a.LengthAt(i);
    double r = n;
    for (int k = std::max(0, i - n + 1); k < i; ++k) {
      if (fromTop ? a.x[i] > a.x[k] : a.x[i] < a.x[k]) r -= 1;
    }
    a.out[i] = r;
  }
}

void BarsSinceN(const Args& a) {
  if (a.count > 0) a.out[0] = M;
  for (int i = 1; i < a.count; ++i) {
    const int n = a.LengthAt(i);
    a.out[i] = M;
    if (n < 0) continue;
    for (int k = std::max(0, i - n); k <= i; ++k) {
      if (a.x[k] != 0) {
        a.out[i] = i - k;
        break;
      }
    }
  }
}

double WmaAt(const Args& a, int i, int n) {
  if (n <= 0) return M;
  double s = 0;
  if (i < n) {
    for (int k = 0; k <= i; ++k) s += (k + 1) * a.x[k];
    return s / (static_cast<int64_t>(i + 1) * (i + 2) / 2.0);
  }
  for (int j = 0; j < n; ++j) s += (n - j) * a.x[i - j];
  return s / (static_cast<int64_t>(n) * (n + 1) / 2.0);
}

void Wma(const Args& a) {
  for (int i = 0; i < a.count; ++i) a.out[i] = WmaAt(a, i, a.LengthAt(i));
}

void Forecast(const Args& a) {
  double s = 0;
  for (int i = 0; i < a.count; ++i) {
    const int n = a.LengthAt(i);
    s += a.x[i];
    if (n <= 0) {
      a.out[i] = M;
      continue;
    }
    double mean;
    if (i < n) {
      mean = s / (i + 1);
    } else {
      s -= a.x[i - n];
      mean = s / n;
    }
    a.out[i] = 3 * WmaAt(a, i, n) - 2 * mean;
  }
}

void Xma(const Args& a) {
  const int half = a.nSeries ? 1 : a.n / 2 + 1;
  const int last = a.count - 1;
  for (int i = 0; i < a.count; ++i) {
    const int h = a.LengthAt(i) - half;
    if (h < 0) {
      a.out[i] = M;
      continue;
    }
    const int lo = std::max(0, i - h);
    const int hi = std::min(last, i + h);
    double s = 0;
    for (int k = lo; k <= hi; ++k) s += a.x[k];
    a.out[i] = s / (hi - lo + 1);
  }
}

// MA with a constant length above 0, the common case, without the per-bar length checks.
void MaConstant(const Args& a) {
  const double* x = a.x;
  double* out = a.out;
  const int count = a.count, n = a.n;
  const ResumeState* kept = a.KeptState();
  const int from = kept != nullptr ? a.from : 0;
  double s = kept != nullptr ? kept->sum : 0;
  const int warm = std::min(n - 1, count);
  for (int i = from; i < warm; ++i) {
    if (x[i] != M) s += x[i];
    out[i] = M;
  }
  for (int i = std::max(warm, from); i < count; ++i) {
    const bool hasValue = x[i] != M;
    if (hasValue) s += x[i];
    const double oldest = x[i - n + 1];
    if (oldest == M) {
      out[i] = M;
    } else {
      out[i] = hasValue ? s / n : M;
      s -= oldest;
    }
  }
  a.Keep(s);
}

void Ma(const Args& a) {
  if (!a.nSeries && a.n > 0) {
    MaConstant(a);
    return;
  }
  double s = 0;
  for (int i = 0; i < a.count; ++i) {
    const int n = a.LengthAt(i);
    if (n == kMarkerLength || n < 0) {
      a.out[i] = M;
      continue;
    }
    const bool hasValue = a.x[i] != M;
    if (hasValue) s += a.x[i];
    if (n != 0 && i >= n - 1) {
      const double oldest = a.x[i - n + 1];
      if (oldest == M) {
        a.out[i] = M;
      } else {
        a.out[i] = hasValue ? s / n : M;
        s -= oldest;
      }
    } else if (n == 0) {
      a.out[i] = hasValue ? s / (i + 1) : M;
    } else {
      a.out[i] = M;
    }
  }
}

void SumBars(const Args& a) {
  const double target = a.nRaw;
  for (int i = 0; i < a.count; ++i) {
    double s = 0;
    int counted = 0;
    for (int k = i; k >= 0; --k) {
      if (a.x[k] == M) continue;
      s += a.x[k];
      ++counted;
      if (s >= target) break;
    }
    a.out[i] = counted;
  }
}

void BackSet(const Args& a) {
  std::fill(a.out, a.out + a.count, 0.0);
  for (int i = 0; i < a.count; ++i) {
    const int n = a.LengthAt(i);
    if (n == kMarkerLength) {
      a.out[i] = 0;
    } else if (a.x[i] == 1.0) {
      for (int k = 0; k < n && i - k >= 0; ++k) a.out[i - k] = 1;
    }
  }
}

void Count(const Args& a) {
  // The count so far is a whole number, which the last result holds exactly.
  double c = a.from > 0 ? a.out[a.from - 1] : 0;
  for (int i = a.from; i < a.count; ++i) {
    const int n = a.LengthAt(i);
    if (a.x[i] > 0) c += 1;
    if (n > 0 && i >= n && a.x[i - n] > 0) c -= 1;
    a.out[i] = c;
  }
}

// REF with a constant length: the first bars repeat bar 0, the rest are a shifted copy
// (a negative length reads ahead, with no value past the last bar).
void RefConstant(const Args& a) {
  const int n = a.n;
  if (n == kMarkerLength) {
    std::fill(a.out + a.from, a.out + a.count, M);
    return;
  }
  int i = a.from;
  for (; i < a.count && i < n; ++i) a.out[i] = a.x[0];
  const int readable = n >= 0 ? a.count : std::max(i, a.count + n);
  // Backwards: series buffers often share their offset within a 4 KiB page, and copying
  // forwards by a few bars then makes every load wait on the store just before it.
  for (int k = readable - 1; k >= i; --k) a.out[k] = a.x[k - n];
  std::fill(a.out + std::max(i, readable), a.out + a.count, M);
}

void Ref(const Args& a) {
  if (!a.nSeries) {
    RefConstant(a);
    return;
  }
  for (int i = a.from; i < a.count; ++i) {
    const int n = a.LengthAt(i);
    if (n == kMarkerLength) {
      a.out[i] = M;
    } else if (i < n) {
      a.out[i] = a.x[0];
    } else {
      const int64_t from = static_cast<int64_t>(i) - n;
      a.out[i] = from < a.count ? a.x[from] : M;
    }
  }
}

// The running mean of the first n bars (n = min(N, last)), shared by MEMA and EXPMEMA.
int RunningMeanStart(const Args& a) {
  const int n = std::min(a.n, a.count - 1);
  double s = 0;
  for (int i = 0; i < n; ++i) {
    s += a.x[i];
    a.out[i] = s / (i + 1);
  }
  return n;
}

double EmaStep(double x, double previous, int n) {
  if (previous == M) return x;
  if (n + 1 == 0) return M;
  return (2 * x + (n - 1) * previous) / (n + 1);
}

void Mema(const Args& a) {
  const int n = RunningMeanStart(a);
  for (int i = std::max(n, 0); i < a.count; ++i) {
    if (a.x[i] == M) {
      a.out[i] = M;
    } else if (i == 0 || a.out[i - 1] == M) {
      a.out[i] = a.x[i];
    } else {
      a.out[i] = ((n - 1) * a.out[i - 1] + a.x[i]) / n;
    }
  }
}

// EMA with a constant length as a recursion, which the interpreter may run together with
// another; false for a length read from a series (or one that divides by zero).
bool EmaAsRecursion(const Args& a, Recursion& recursion) {
  if (a.nSeries || a.count == 0) return false;
  const int n = std::min(a.n, a.count - 1);
  if (n + 1 == 0) return false;
  if (a.from == 0) a.out[0] = a.x[0];
  const int first = std::max(a.from, 1);
  recursion = Recursion{a.x, a.out, first, a.count, a.out[first - 1], 2.0,
                        static_cast<double>(n - 1), static_cast<double>(n + 1), false};
  return true;
}

void Ema(const Args& a) {
  if (a.count == 0) return;
  const int n = std::min(a.n, a.count - 1);
  if (a.from == 0) a.out[0] = a.x[0];
  // The previous result is kept in a register: reading it back from memory would add a
  // store-to-load delay to every step of the recursion.
  double previous = a.out[a.from > 0 ? a.from - 1 : 0];
  for (int i = std::max(a.from, 1); i < a.count; ++i) {
    previous = a.x[i] == M ? M
                           : EmaStep(a.x[i], previous,
                                     a.nSeries ? Args::Length(a.nSeries[i]) : n);
    a.out[i] = previous;
  }
}

void ExpMema(const Args& a) {
  if (a.count == 0) return;
  const int n = RunningMeanStart(a);
  a.out[0] = a.x[0];
  for (int i = std::max(n, 1); i < a.count; ++i) {
    a.out[i] = a.x[i] == M ? M : EmaStep(a.x[i], a.out[i - 1], n);
  }
}

// The window of bar i: lo .. i, the whole history for a length of 0 or less.
int WindowStart(int i, int n) { return n > 0 ? std::max(0, i - n + 1) : 0; }

double ExtremeBound(bool highest) { return highest ? -DBL_MAX : 1.7e308; }

void LowestHighest(const Args& a, bool highest) {
  if (!a.nSeries && a.from == 0) {
    thread_local std::vector<double> scratch;
    const double bound = ExtremeBound(highest);
    if (highest) {
      BlockWindowExtremes<true>(a.x, a.count, a.n, bound, a.out, scratch);
    } else {
      BlockWindowExtremes<false>(a.x, a.count, a.n, bound, a.out, scratch);
    }
    for (int i = 0; i < a.count; ++i) {
      if (i == 0 || a.x[i] == M) a.out[i] = a.x[i];
    }
    return;
  }
  for (int i = a.from; i < a.count; ++i) {
    if (i == 0 || a.x[i] == M) {
      a.out[i] = a.x[i];
      continue;
    }
    if (a.nSeries && a.nSeries[i] == M) {
      a.out[i] = a.x[0];
      continue;
    }
    const int lo = WindowStart(i, a.LengthAt(i));
    double extreme = ExtremeBound(highest);
    for (int k = lo; k <= i; ++k) {
      if (highest ? a.x[k] > extreme : a.x[k] < extreme) extreme = a.x[k];
    }
    a.out[i] = extreme;
  }
}

void LowestHighestBars(const Args& a, bool highest) {
  // The last result counts the bars back to p, unless it had no value (p then stayed
  // where it was, and the count starts over from bar 0).
  const int from = a.from > 0 && a.out[a.from - 1] != M ? a.from : 0;
  int p = from > 0 ? from - 1 - static_cast<int>(a.out[from - 1]) : 0;
  if (!a.nSeries && from == 0) {
    SlidingExtreme extreme(highest, ExtremeBound(highest), static_cast<size_t>(a.count));
    for (int i = 0; i < a.count; ++i) {
      extreme.Push(a.x, i, WindowStart(i, a.n));
      if (i == 0 || a.x[i] == M) {
        a.out[i] = 0;
        p = i;
        continue;
      }
      if (!extreme.Empty()) p = extreme.Bar();
      a.out[i] = i - p;
    }
    return;
  }
  for (int i = from; i < a.count; ++i) {
    if (i == 0 || a.x[i] == M) {
      a.out[i] = 0;
      p = i;
      continue;
    }
    if (a.nSeries && a.nSeries[i] == M) {
      a.out[i] = M;
      continue;
    }
    const int lo = WindowStart(i, a.LengthAt(i));
    double extreme = ExtremeBound(highest);
    for (int k = lo; k <= i; ++k) {
      if (highest ? a.x[k] > extreme : a.x[k] < extreme) {
        extreme = a.x[k];
        p = k;
      }
    }
    a.out[i] = i - p;
  }
}

bool WindowFamilyRoutine(TGS& gs, const std::string& result, std::string_view func,
                         const std::vector<std::string>& args) {
  const auto* found = std::find(std::begin(kFamilyNames), std::end(kFamilyNames), func);
  if (found == std::end(kFamilyNames)) return false;
  const auto which = static_cast<Window>(found - std::begin(kFamilyNames));

  const std::string& xText = Arg(args, 0);
  const std::string& nText = Arg(args, 1);
  const Tbian* x = gs.ResolveSeries(xText);
  if (x == nullptr) {
    gs.SetError(XnArgumentMissing(func, "X", xText));
    return false;
  }
  const Tbian* nSeries = gs.ResolveSeries(nText);
  double nRaw = 0;
  if (nSeries == nullptr && !gs.ResolveConstant(nText, nRaw)) {
    gs.SetError(XnArgumentMissing(func, "N", nText));
    return false;
  }
  const int count = gs.BarCount();
  const int from = gs.TakeResumeFrom(result);
  Tbian& result_series = gs.CreateResult(result, count);
  SeriesInput xInput, nInput;
  xInput.From(*x, result_series, count);
  if (nSeries != nullptr) {
    nInput.From(*nSeries, result_series, count);
    nRaw = count > 0 ? nInput.values[count - 1] : 0;
  }
  Args a{xInput.values, nSeries ? nInput.values : nullptr, nRaw, Args::Length(nRaw),
         result_series.data(), count, from, gs.StatementState()};

  if (which == Window::kSum) {
    Sum(a);
    return true;
  }
  if (which == Window::kDma) {
    Dma(a);
    return true;
  }
  if (!nSeries && a.n == 0) {
    for (int i = from; i < count; ++i) {
      a.out[i] = which == Window::kFilter && a.x[i] == M ? 0 : a.x[i];
    }
    return true;
  }
  switch (which) {
    case Window::kFilter: Filter(a); break;
    case Window::kFilterX: FilterX(a); break;
    case Window::kHod: HodLod(a, true); break;
    case Window::kLod: HodLod(a, false); break;
    case Window::kBarsSinceN: BarsSinceN(a); break;
    case Window::kWma: Wma(a); break;
    case Window::kForecast: Forecast(a); break;
    case Window::kXma: Xma(a); break;
    case Window::kMa: Ma(a); break;
    case Window::kSumBars: SumBars(a); break;
    case Window::kBackSet: BackSet(a); break;
    case Window::kCount: Count(a); break;
    case Window::kRef: Ref(a); break;
    case Window::kMema: Mema(a); break;
    case Window::kEma:
      if (Recursion recursion; EmaAsRecursion(a, recursion)) {
        gs.HoldOrRunRecursion(recursion, *x, result_series);
      } else {
        Ema(a);
      }
      break;
    case Window::kExpMema: ExpMema(a); break;
    case Window::kLlv: LowestHighest(a, false); break;
    case Window::kLlvBars: LowestHighestBars(a, false); break;
    case Window::kHhv: LowestHighest(a, true); break;
    case Window::kHhvBars: LowestHighestBars(a, true); break;
    case Window::kSum:
    case Window::kDma: break;
  }
  return true;
}

template <Window kWhich>
bool Entry(TGS& gs, const std::string& result, const std::string&,
           const std::vector<std::string>& args) {
  return WindowFamilyRoutine(gs, result, kFamilyNames[static_cast<int>(kWhich)], args);
}

constexpr LibraryEntry kEntries[] = {
    {"sum", Entry<Window::kSum>},         {"dma", Entry<Window::kDma>},
    {"filter", Entry<Window::kFilter>},   {"filterx", Entry<Window::kFilterX>},
    {"hod", Entry<Window::kHod>},         {"lod", Entry<Window::kLod>},
    {"barssincen", Entry<Window::kBarsSinceN>}, {"wma", Entry<Window::kWma>},
    {"forecast", Entry<Window::kForecast>}, {"xma", Entry<Window::kXma>},
    {"ma", Entry<Window::kMa>},           {"sumbars", Entry<Window::kSumBars>},
    {"backset", Entry<Window::kBackSet>}, {"count", Entry<Window::kCount>},
    {"ref", Entry<Window::kRef>},         {"mema", Entry<Window::kMema>},
    {"ema", Entry<Window::kEma>},         {"expma", Entry<Window::kEma>},
    {"expmema", Entry<Window::kExpMema>}, {"llv", Entry<Window::kLlv>},
    {"llvbars", Entry<Window::kLlvBars>}, {"hhv", Entry<Window::kHhv>},
    {"hhvbars", Entry<Window::kHhvBars>},
};

}  // namespace

LibraryFamily WindowFamily() { return {kEntries}; }

}  // namespace vorelin
