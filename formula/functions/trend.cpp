// The trend family: parabolic SAR and its turning signal, the zig-zag with its peak and
// trough queries, and the ranked window queries FINDHIGH/FINDLOW with their BARS forms.
// The zig-zag point finder is also the service behind the "dclose" ... series.
#include <algorithm>
#include <cmath>
#include <deque>
#include <limits>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "formula/functions/argument_values.h"
#include "formula/functions/families.h"
#include "formula/interpreter.h"

namespace vorelin {

namespace {

constexpr double M = kNoValue;

// The price series a zig-zag selector K names: 0 open, 1 high, 2 low, 3 close, 4 volume.
constexpr const char* kPriceNames[] = {"open", "high", "low", "close", "vol"};

// An argument that must be a constant; false with prefix + text + "未定义!" otherwise.
bool ConstantArgument(TGS& gs, const std::string& text, const std::string& prefix,
                      double& value) {
  if (gs.ResolveConstant(text, value)) return true;
  gs.SetError(prefix + text + "未定义!");
  return false;
}

// ---- SAR and SARTURN ------------------------------------------------------------------

struct SarTexts {
  const char* missingSeries;
  const char* argumentPrefix;  // + "N:" / "S:" / "M:"
  const char* lengthMessage;
};

constexpr SarTexts kSarTexts = {"没最高价或最低价数据!", "SAR(N,S,M)参数",
                                "SAR 参数N小于1 或 数据长度小于N!"};
constexpr SarTexts kSarTurnTexts = {"没最高价或最低价原始数据!", "SARTRUN(N,S,M)参数",
                                    "SARTRUN 参数N小于1 或 数据长度小于N!"};

// HHV (or LLV) of the n bars ending at each bar, bar after bar in amortised constant time:
// the same values the window scan gives, including the input itself at bar 0 and where it
// has no value.
class RollingExtreme {
 public:
  RollingExtreme(const double* x, int n, bool highest) : x_(x), n_(n), highest_(highest) {}

  // The extreme of the next bar (0, 1, 2, ... in turn).
  double Next() {
    const int i = next_++;
    while (!candidates_.empty() && (highest_ ? x_[candidates_.back()] <= x_[i]
                                             : x_[candidates_.back()] >= x_[i])) {
      candidates_.pop_back();
    }
    candidates_.push_back(i);
    while (candidates_.front() <= i - n_) candidates_.pop_front();
    return i == 0 || x_[i] == M ? x_[i] : x_[candidates_.front()];
  }

 private:
  const double* x_;
  int n_;
  bool highest_;
  int next_ = 0;
  std::deque<int> candidates_;  // positions in the window, best value first
};

// The stop-and-reverse walk over `count` bars, writing the SAR values (or with `turns` the
// reversal signals: -1 where an up trend turns down, +1 the other way, else 0) to `out`.
// The extreme point is that of the n bars before the current one, not a running extreme of
// the trend. `n` is 1 .. count.
void ComputeSar(const double* high, const double* low, int count, int n, double step,
                double limit, bool turns, double* out) {
  std::fill(out, out + std::min(n, count), turns ? 0.0 : M);
  RollingExtreme hh(high, n, true);
  RollingExtreme ll(low, n, false);
  for (int i = 0; i + 1 < n; ++i) {
    hh.Next();
    ll.Next();
  }
  bool up = count < 2 || (high[1] - high[0]) + (low[1] - low[0]) >= 0;
  double af = step;
  int age = 0;  // bars since the trend began
  double previous = M;
  for (int j = n; j < count; ++j) {
    const double hhBefore = hh.Next();
    const double llBefore = ll.Next();
    double value;
    if (age == 0) {
      value = up ? llBefore : hhBefore;
    } else {
      if (up ? high[j] > hhBefore : low[j] <= llBefore) af = std::min(af + step, limit);
      value = previous + af * ((up ? hhBefore : llBefore) - previous);
    }
    previous = value;
    const bool reverses = up ? value >= low[j] : value < high[j];
    out[j] = turns ? (reverses ? (up ? -1 : 1) : 0) : value;
    if (reverses) {
      up = !up;
      age = 0;
      af = step;
    } else {
      ++age;
    }
  }
}

bool SarRoutine(TGS& gs, const std::string& result, const std::vector<std::string>& args,
                const SarTexts& texts, bool turns) {
  const Tbian* high = gs.FindSeries("high");
  const Tbian* low = gs.FindSeries("low");
  if (high == nullptr || low == nullptr) {
    gs.SetError(texts.missingSeries);
    return false;
  }
  const std::string prefix = texts.argumentPrefix;
  double n = 0, s = 0, m = 0;
  if (!ConstantArgument(gs, Arg(args, 0), prefix + "N:", n)) return false;
  const int count = gs.BarCount();
  const int length = TruncToInt(n);
  if (length < 1 || length > count) {
    gs.SetError(texts.lengthMessage);
    return false;
  }
  if (!ConstantArgument(gs, Arg(args, 1), prefix + "S:", s) ||
      !ConstantArgument(gs, Arg(args, 2), prefix + "M:", m)) {
    return false;
  }
  Tbian& out = gs.CreateResult(result, count);
  const BarInput h(Operand{high, 0.0}, out.name, count);
  const BarInput l(Operand{low, 0.0}, out.name, count);
  ComputeSar(h.data(), l.data(), count, length, TruncToInt(s) / 100.0, TruncToInt(m) / 100.0,
             turns, out.data());
  ReplaceNonFinite(out);
  return true;
}

bool Sar(TGS& gs, const std::string& result, const std::string&,
         const std::vector<std::string>& args) {
  return SarRoutine(gs, result, args, kSarTexts, false);
}

bool SarTurn(TGS& gs, const std::string& result, const std::string&,
             const std::vector<std::string>& args) {
  return SarRoutine(gs, result, args, kSarTurnTexts, true);
}

// ---- zig-zag ----------------------------------------------------------------------------

// a / b for the reversal tests, without a NaN from a zero minimum: a move away from 0 is
// infinitely large, 0 against 0 is no move.
double Ratio(double a, double b) {
  if (b != 0) return a / b;
  if (a == 0) return 1.0;
  return a > 0 ? std::numeric_limits<double>::infinity()
               : -std::numeric_limits<double>::infinity();
}

// Turning points of p[0 .. count): the price at bar 0, the last bar and every confirmed
// trough and peak, the marker elsewhere. A move beyond `percent` from the running extreme
// confirms it; the walk then resumes on the bar after the turning point.
void FindTurningPoints(const double* p, int count, double percent, double* points) {
  if (count <= 0) return;
  std::fill(points, points + count, M);
  const int last = count - 1;
  points[0] = p[0];
  points[last] = p[last];
  const double rise = 1 + percent / 100;
  const double fall = 1 - percent / 100;
  bool seekTrough = true;
  bool seekPeak = true;
  double vmax = 0, vmin = 0;
  int e = -1, g = -1;
  const auto reset = [&] {
    vmax = std::numeric_limits<double>::denorm_min();
    e = -1;
    vmin = 1.7e308;
    g = -1;
  };
  reset();
  int d = 0;
  while (d <= last) {
    if (p[d] == M) {
      ++d;
      continue;
    }
    if (p[d] > vmax) {
      vmax = p[d];
      e = d;
    }
    if (p[d] < vmin) {
      vmin = p[d];
      g = d;
    }
    // g or e stays -1 only while no value has beaten the start values (a value of 1.7e308
    // or more, or no positive value): there is no extreme to turn at yet.
    if (seekTrough && d > 0 && d != g && g >= 0 && (Ratio(p[d], vmin) > rise || d == last)) {
      const int turn = g;
      points[turn] = p[turn];
      reset();
      seekTrough = false;
      seekPeak = true;
      if (d == last) break;
      d = turn + 1;
      continue;
    }
    if (seekPeak && d > 0 && d != e && e >= 0 && (Ratio(p[d], vmax) < fall || d == last)) {
      const int turn = e;
      points[turn] = p[turn];
      reset();
      seekPeak = false;
      seekTrough = true;
      if (d == last) break;
      d = turn + 1;
      continue;
    }
    ++d;
  }
}

bool ZigZagService(const Tbian& price, double thresholdPercent, std::vector<double>& points) {
  points.resize(static_cast<size_t>(std::max(price.count, 0)));
  FindTurningPoints(price.data(), price.count, thresholdPercent, points.data());
  return true;
}

// Straight lines between consecutive points; bars before the first or after the last point
// (only when the price itself has no value there) stay without value.
void Interpolate(double* points, int count) {
  int previous = -1;
  for (int i = 0; i < count; ++i) {
    if (points[i] == M) continue;
    if (previous >= 0) {
      const double from = points[previous];
      const double span = i - previous;
      for (int j = previous + 1; j < i; ++j) {
        points[j] = from + (points[i] - from) * (j - previous) / span;
      }
    }
    previous = i;
  }
}

// The price selector K, truncated; false with the range message when it is not 0 .. 4.
bool PriceSelector(TGS& gs, double k, const std::string& kText, const std::string& prefix,
                   int& selector) {
  selector = TruncToInt(k);
  if (selector >= 0 && selector <= 4) return true;
  gs.SetError(prefix + "参数K:" + kText + "在0到3之间!");
  return false;
}

constexpr const char* kNeedsPrices = "需要开盘价,最高价,最低价,收盘价原始数据!";

// The zig-zag turning points of the price series that selector K names, written into the
// result (no value between points); null with prefix + kNeedsPrices when that series is
// missing.
Tbian* TurningPointsInto(TGS& gs, const std::string& result, const std::string& prefix,
                         int selector, double n) {
  const Tbian* price = gs.FindSeries(kPriceNames[selector]);
  if (price == nullptr) {
    gs.SetError(prefix + kNeedsPrices);
    return nullptr;
  }
  const int count = gs.BarCount();
  Tbian& out = gs.CreateResult(result, count);
  const BarInput p(Operand{price, 0.0}, out.name, count);
  FindTurningPoints(p.data(), count, TruncToInt(n), out.data());
  return &out;
}

bool Zig(TGS& gs, const std::string& result, const std::string&,
         const std::vector<std::string>& args) {
  const std::string prefix = "ZIG(K,N)";
  double k = 0, n = 0;
  if (!ConstantArgument(gs, Arg(args, 0), prefix + "参数K:", k) ||
      !ConstantArgument(gs, Arg(args, 1), prefix + "参数N:", n)) {
    return false;
  }
  int selector = 0;
  if (!PriceSelector(gs, k, Arg(args, 0), prefix, selector)) return false;
  Tbian* out = TurningPointsInto(gs, result, prefix, selector, n);
  if (out == nullptr) return false;
  Interpolate(out->data(), out->count);
  ReplaceNonFinite(*out);
  return true;
}

// PEAK, PEAKBARS, TROUGH, TROUGHBARS: the M-th last turning point that lies above (peaks)
// or below (troughs) the point before it, as its value or as the bars since it.
struct TurningQuery {
  const char* name;
  bool peaks;
  bool bars;
};

constexpr TurningQuery kTurningQueries[] = {
    {"PEAK", true, false}, {"PEAKBARS", true, true},
    {"TROUGH", false, false}, {"TROUGHBARS", false, true}};

bool TurningRoutine(TGS& gs, const std::string& result, const std::vector<std::string>& args,
                    const TurningQuery& query) {
  const std::string prefix = std::string(query.name) + "(K,N,M)";
  double k = 0, n = 0, m = 0;
  if (!ConstantArgument(gs, Arg(args, 0), prefix + "参数K:", k) ||
      !ConstantArgument(gs, Arg(args, 1), prefix + "参数N:", n) ||
      !ConstantArgument(gs, Arg(args, 2), prefix + "参数M:", m)) {
    return false;
  }
  int selector = 0;
  if (!PriceSelector(gs, k, Arg(args, 0), prefix, selector)) return false;
  const int back = TruncToInt(m);
  if (back < 1) {
    gs.SetError(prefix + "参数M:" + Arg(args, 2) + "必须大于等于1!");
    return false;
  }
  Tbian* turning = TurningPointsInto(gs, result, prefix, selector, n);
  if (turning == nullptr) return false;
  Tbian& out = *turning;
  const int count = out.count;
  // Each bar's point is read before the bar is overwritten with the query's answer. Every
  // peak (or trough) is kept, so the M-th last is right however many there are.
  std::vector<double> found;
  double earlier = M;
  bool haveEarlier = false;
  for (int i = 0; i < count; ++i) {
    const double point = out.values[i];
    if (point != M) {
      if (haveEarlier && (query.peaks ? point > earlier : point < earlier)) {
        found.push_back(query.bars ? i : point);
      }
      earlier = point;
      haveEarlier = true;
    }
    out.values[i] = M;
    if (found.size() >= static_cast<size_t>(back)) {
      const double entry = found[found.size() - static_cast<size_t>(back)];
      out.values[i] = query.bars ? i - entry : entry;
    }
  }
  ReplaceNonFinite(out);
  return true;
}

template <int kQuery>
bool TurningEntry(TGS& gs, const std::string& result, const std::string&,
                  const std::vector<std::string>& args) {
  return TurningRoutine(gs, result, args, kTurningQueries[kQuery]);
}

// ---- FINDHIGH, FINDLOW and their BARS forms ---------------------------------------------

struct FindQuery {
  bool highest;
  bool bars;
  const char* prefixes[4];  // for X, N, M, T, each followed by the argument + "未定义!"
};

constexpr FindQuery kFindQueries[] = {
    {true, false,
     {"FINDHIGH(X,N,M,T)参数X:", "FINDHIGH(X,N,M,T)参数N:", "FindHIGH(X,N,M,T)参数M:",
      "FindHIGH(X,N,M,T)参数T:"}},
    {true, true,
     {"FindHIGHBARS(X,N,M,T)参数X:", "FindHIGHBARS((X,N,M,T)参数N:",
      "FindHIGHBARS((X,N,M,T)参数M:", "FindHIGHBARS((X,N,M,T)参数T:"}},
    {false, false,
     {"FINDLOW(X,N,M,T)参数X:", "FINDLOW(X,N,M,T)参数N:", "FINDLOW(X,N,M,T)参数M:",
      "FINDLOW(X,N,M,T)参数T:"}},
    {false, true,
     {"FINDLOWBARS(X,N,M,T)参数X:", "FINDLOWBARS(X,N,M,T)参数N:",
      "FINDLOWBARS(X,N,M,T)参数M:", "FINDLOWBARS(X,N,M,T)参数T:"}}};

struct RankedSlot {
  double value;
  int bar;
};

// The T-th best of the M values that end N bars before each bar. The window is kept sorted
// (best first, equal values oldest first); the value leaving is removed by its bar.
void RankedWindow(const double* x, int count, int n, int m, int t, const FindQuery& query,
                  double* out) {
  std::fill(out, out + count, M);
  t = std::min(t, m);
  // Ahead-looking offsets and empty windows have nothing to rank.
  if (n < 0 || m < 1 || t < 1) return;
  std::vector<RankedSlot> ranked;
  ranked.reserve(static_cast<size_t>(std::min(m, count)));
  for (int s = 0; s <= count - 1 - n; ++s) {
    if (s >= m) {
      const int leaving = s - m;
      ranked.erase(std::find_if(ranked.begin(), ranked.end(),
                                [&](const RankedSlot& slot) { return slot.bar == leaving; }));
    }
    const double value = x[s];
    const auto before = std::find_if(ranked.begin(), ranked.end(), [&](const RankedSlot& slot) {
      return query.highest ? slot.value < value : slot.value > value;
    });
    ranked.insert(before, {value, s});
    const RankedSlot& chosen = ranked[static_cast<size_t>(s < t ? s : t - 1)];
    // A bar without value that reaches the chosen slot reads as an empty slot.
    if (chosen.value == M) continue;
    out[s + n] = query.bars ? (s + n) - chosen.bar : chosen.value;
  }
}

bool FindRoutine(TGS& gs, const std::string& result, const std::vector<std::string>& args,
                 const FindQuery& query) {
  const Tbian* x = gs.ResolveSeries(Arg(args, 0));
  if (x == nullptr) {
    gs.SetError(query.prefixes[0] + Arg(args, 0) + "未定义!");
    return false;
  }
  double n = 0, m = 0, t = 0;
  if (!ConstantArgument(gs, Arg(args, 1), query.prefixes[1], n) ||
      !ConstantArgument(gs, Arg(args, 2), query.prefixes[2], m) ||
      !ConstantArgument(gs, Arg(args, 3), query.prefixes[3], t)) {
    return false;
  }
  const int count = gs.BarCount();
  Tbian& out = gs.CreateResult(result, count);
  const BarInput input(Operand{x, 0.0}, out.name, count);
  RankedWindow(input.data(), count, TruncToInt(n), TruncToInt(m), TruncToInt(t), query,
               out.data());
  ReplaceNonFinite(out);
  return true;
}

template <int kQuery>
bool FindEntry(TGS& gs, const std::string& result, const std::string&,
               const std::vector<std::string>& args) {
  return FindRoutine(gs, result, args, kFindQueries[kQuery]);
}

constexpr LibraryEntry kEntries[] = {
    {"sar", Sar},
    {"sarturn", SarTurn},
    {"zig", Zig},
    {"peak", TurningEntry<0>},
    {"peakbars", TurningEntry<1>},
    {"trough", TurningEntry<2>},
    {"troughbars", TurningEntry<3>},
    {"findhigh", FindEntry<0>},
    {"findhighbars", FindEntry<1>},
    {"findlow", FindEntry<2>},
    {"findlowbars", FindEntry<3>},
};

}  // namespace

LibraryFamily TrendFamily() { return {kEntries, ZigZagService}; }

}  // namespace vorelin
