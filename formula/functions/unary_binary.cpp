// The (X) and (A,B) families: one-argument maths and bar counting (SQRT, ABS, BARSLAST,
// TOPRANGE, ...) and two-argument bar-by-bar combinations (CROSS, MAX, MIN, MOD, POW).
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>
#include <vector>

#include "formula/functions/argument_values.h"
#include "formula/functions/families.h"
#include "formula/interpreter.h"
#include "formula/resume_state.h"

namespace vorelin {

namespace {

constexpr double M = kNoValue;

// Results outside a function's domain, and overflows, have no value rather than NaN or
// infinity: a NaN would print as a number and poison every later sum and comparison.
double ValueOrNone(double value) { return std::isfinite(value) ? value : M; }

int64_t TruncTo64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9.2e18) return INT64_MAX;
  if (value <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(value);
}

// ---- (A,B) -------------------------------------------------------------------------------

enum class Binary { kCross, kMax, kMin, kMod, kPow };

constexpr std::string_view kBinaryNames[] = {"CROSS", "MAX", "MIN", "MOD", "POW"};

std::string BinaryArgumentMissing(std::string_view func, const char* which,
                                  const std::string& arg) {
  return std::string(func) + "(A,B)参数" + which + ":" + arg + "不存在!";
}

double Mod(double a, double b) {
  const int64_t divisor = TruncTo64(b);
  if (divisor == 0) return M;
  if (divisor == -1) return 0;  // INT64_MIN % -1 overflows
  return static_cast<double>(TruncTo64(a) % divisor);
}

// A crosses above B: 1 on a bar with A >= B whose previous bar with values had A < B. Bars
// without a value neither count nor break the pattern; an A below B on bar 0 is not counted.
void Cross(const BarInput& a, const BarInput& b, double* out, int from, int count,
           ResumeState* state) {
  const bool kept = from > 0 && state != nullptr && state->bars == from;
  int below = kept ? static_cast<int>(state->position) : 0;
  for (int i = kept ? from : 0; i < count; ++i) {
    if (a[i] == M || b[i] == M) {
      out[i] = M;
    } else if (i == 0) {
      out[i] = 0;
    } else if (a[i] < b[i]) {
      out[i] = 0;
      ++below;
    } else {
      out[i] = below > 0 ? 1 : 0;
      below = 0;
    }
  }
  if (state != nullptr) *state = ResumeState{count, 0, 0, below};
}

bool BinaryFamilyRoutine(TGS& gs, const std::string& result, Binary which,
                         const std::vector<std::string>& args) {
  const std::string_view func = kBinaryNames[static_cast<int>(which)];
  Operand first, second;
  if (!ResolveOperand(gs, Arg(args, 0), first)) {
    gs.SetError(BinaryArgumentMissing(func, "A", Arg(args, 0)));
    return false;
  }
  if (!ResolveOperand(gs, Arg(args, 1), second)) {
    gs.SetError(BinaryArgumentMissing(func, "B", Arg(args, 1)));
    return false;
  }
  const int count = gs.BarCount();
  const int from = gs.TakeResumeFrom(result);
  Tbian& out = gs.CreateResult(result, count);
  const BarInput a(first, out.name, count), b(second, out.name, count);
  double* r = out.data();
  switch (which) {
    case Binary::kCross: Cross(a, b, r, from, count, gs.StatementState()); break;
    case Binary::kMax:
      for (int i = from; i < count; ++i) r[i] = ValueOrNone(a[i] > b[i] ? a[i] : b[i]);
      break;
    case Binary::kMin:
      for (int i = from; i < count; ++i) r[i] = ValueOrNone(a[i] > b[i] ? b[i] : a[i]);
      break;
    case Binary::kMod:
      for (int i = from; i < count; ++i) r[i] = Mod(a[i], b[i]);
      break;
    case Binary::kPow:
      for (int i = from; i < count; ++i) r[i] = ValueOrNone(std::pow(a[i], b[i]));
      break;
  }
  return true;
}

template <Binary kWhich>
bool BinaryEntry(TGS& gs, const std::string& result, const std::string&,
                 const std::vector<std::string>& args) {
  return BinaryFamilyRoutine(gs, result, kWhich, args);
}

// ---- (X) ---------------------------------------------------------------------------------

enum class Unary {
  kNot, kSgn, kSin, kAbs, kAcos, kAsin, kAtan, kCos, kExp, kLn, kReverse, kFloor, kIntPart,
  kLog, kSqrt, kTan, kBarsCount, kBarsSince, kBarsLast, kTopRange, kLowRange, kBarsNext,
  kCeiling
};

constexpr std::string_view kUnaryNames[] = {
    "NOT",     "SGN",     "SIN",       "ABS",       "ACOS",      "ASIN",     "ATAN",   "COS",
    "EXP",     "LN",      "REVERSE",   "FLOOR",     "INTPART",   "LOG",      "SQRT",   "TAN",
    "BARSCOUNT", "BARSSINCE", "BARSLAST", "TOPRANGE", "LOWRANGE", "BARSNEXT", "CEILING"};

std::string UnaryArgumentMissing(std::string_view func, const std::string& arg) {
  return std::string(func) + "(X)参数X:" + arg + "不存在!";
}

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Whole numbers as the integer types hold them (so -0.5 rounds up to 0, never -0).
double ToInt32OrNone(double whole) {
  if (!(whole >= -2147483648.0 && whole <= 2147483647.0)) return M;
  return static_cast<double>(static_cast<int32_t>(whole));
}

double ToInt64OrNone(double whole) {
  if (!(whole > -9.2e18 && whole < 9.2e18)) return M;
  return static_cast<double>(static_cast<int64_t>(whole));
}

// The per-value rule of the maths functions (x has a value). Always inlined, so that each
// function's loop below has its own rule without a switch per bar.
[[gnu::always_inline]] inline double ValueRule(Unary which, double x) {
  switch (which) {
    case Unary::kNot: return x == 0 ? 1 : 0;
    case Unary::kSgn: return x > 0 ? 1 : (x < 0 ? -1 : 0);
    case Unary::kAbs: return std::fabs(x);
    case Unary::kSin: return std::sin(x * kRadiansPerDegree);
    case Unary::kCos: return std::cos(x * kRadiansPerDegree);
    case Unary::kTan:
      // The tangent has no value at odd multiples of 90 degrees.
      return std::fmod(std::fabs(x), 180.0) == 90.0 ? M : std::tan(x * kRadiansPerDegree);
    case Unary::kAsin: return std::asin(x);
    case Unary::kAcos: return std::acos(x);
    case Unary::kAtan: return std::atan(x);
    case Unary::kExp: return std::exp(x);
    case Unary::kLn: return x > 0 ? std::log(x) : M;
    case Unary::kLog: return x > 0 ? std::log10(x) : M;
    case Unary::kSqrt: return x >= 0 ? std::sqrt(x) : M;
    case Unary::kReverse: return -x;
    case Unary::kCeiling: return ToInt32OrNone(std::ceil(x));
    case Unary::kFloor: return ToInt32OrNone(std::floor(x));
    case Unary::kIntPart: return ToInt64OrNone(std::trunc(x));
    default: return x;  // the bar-counting functions give a constant X back
  }
}

[[gnu::always_inline]] inline double ValueOrNoneOf(Unary which, double x) {
  return x == M ? M : ValueOrNone(ValueRule(which, x));
}

template <Unary kWhich>
void MathsLoop(const BarInput& x, double* out, int from, int count) {
  for (int i = from; i < count; ++i) out[i] = ValueOrNoneOf(kWhich, x[i]);
}

void BarsLast(const BarInput& x, double* out, int count) {
  int p = -1;
  for (int i = 0; i < count; ++i) {
    if (x[i] == M) {
      out[i] = M;
      continue;
    }
    if (x[i] > 0) p = i;
    out[i] = p < 0 ? M : i - p;
  }
}

void BarsSince(const BarInput& x, double* out, int count) {
  int p = -1;
  for (int i = 0; i < count; ++i) {
    if (x[i] == M) {
      out[i] = M;
      continue;
    }
    if (x[i] != 0 && p < 0) p = i;
    out[i] = p < 0 ? 0 : i - p + 1;
  }
}

void BarsNext(const BarInput& x, double* out, int count) {
  double v = M;
  for (int i = count - 1; i >= 0; --i) {
    if (x[i] == M) {
      out[i] = M;
      continue;
    }
    if (x[i] != 0) v = 0;
    if (v != M) v += 1;
    out[i] = v;
  }
}

// How many bars back the current value stays strictly above (TOPRANGE) or below (LOWRANGE)
// every earlier value. Earlier bars without a value take part as the number the marker is.
// A stack of the bars that can still stop a later count gives the same answer as counting
// back from every bar, in one step per bar instead of up to i.
void Range(const BarInput& x, double* out, int count, bool top) {
  std::vector<int> stoppers;
  stoppers.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const double v = x[i];
    // A bar that the current value passes can never stop a later count that this bar
    // does not stop first.
    while (!stoppers.empty() && (top ? v > x[stoppers.back()] : v < x[stoppers.back()])) {
      stoppers.pop_back();
    }
    if (v == M) {
      out[i] = 0;
    } else {
      out[i] = stoppers.empty() ? i : i - 1 - stoppers.back();
    }
    stoppers.push_back(i);
  }
}

bool UnaryFamilyRoutine(TGS& gs, const std::string& result, Unary which,
                        const std::vector<std::string>& args) {
  Operand operand;
  if (!ResolveOperand(gs, Arg(args, 0), operand)) {
    gs.SetError(UnaryArgumentMissing(kUnaryNames[static_cast<int>(which)], Arg(args, 0)));
    return false;
  }
  if (!operand.IsSeries() && which != Unary::kBarsCount) {
    gs.AddConstant(result, ValueOrNoneOf(which, operand.constant));
    return true;
  }
  const int count = gs.BarCount();
  const int from = gs.TakeResumeFrom(result);
  Tbian& out = gs.CreateResult(result, count);
  const BarInput x(operand, out.name, count);
  double* r = out.data();
  switch (which) {
    case Unary::kBarsCount:
      for (int i = from; i < count; ++i) r[i] = x[i] == M ? M : i;
      break;
    case Unary::kBarsLast: BarsLast(x, r, count); break;
    case Unary::kBarsSince: BarsSince(x, r, count); break;
    case Unary::kBarsNext: BarsNext(x, r, count); break;
    case Unary::kTopRange: Range(x, r, count, true); break;
    case Unary::kLowRange: Range(x, r, count, false); break;
    case Unary::kNot: MathsLoop<Unary::kNot>(x, r, from, count); break;
    case Unary::kSgn: MathsLoop<Unary::kSgn>(x, r, from, count); break;
    case Unary::kSin: MathsLoop<Unary::kSin>(x, r, from, count); break;
    case Unary::kAbs: MathsLoop<Unary::kAbs>(x, r, from, count); break;
    case Unary::kAcos: MathsLoop<Unary::kAcos>(x, r, from, count); break;
    case Unary::kAsin: MathsLoop<Unary::kAsin>(x, r, from, count); break;
    case Unary::kAtan: MathsLoop<Unary::kAtan>(x, r, from, count); break;
    case Unary::kCos: MathsLoop<Unary::kCos>(x, r, from, count); break;
    case Unary::kExp: MathsLoop<Unary::kExp>(x, r, from, count); break;
    case Unary::kLn: MathsLoop<Unary::kLn>(x, r, from, count); break;
    case Unary::kReverse: MathsLoop<Unary::kReverse>(x, r, from, count); break;
    case Unary::kFloor: MathsLoop<Unary::kFloor>(x, r, from, count); break;
    case Unary::kIntPart: MathsLoop<Unary::kIntPart>(x, r, from, count); break;
    case Unary::kLog: MathsLoop<Unary::kLog>(x, r, from, count); break;
    case Unary::kSqrt: MathsLoop<Unary::kSqrt>(x, r, from, count); break;
    case Unary::kTan: MathsLoop<Unary::kTan>(x, r, from, count); break;
    case Unary::kCeiling: MathsLoop<Unary::kCeiling>(x, r, from, count); break;
  }
  return true;
}

template <Unary kWhich>
bool UnaryEntry(TGS& gs, const std::string& result, const std::string&,
                const std::vector<std::string>& args) {
  return UnaryFamilyRoutine(gs, result, kWhich, args);
}

constexpr LibraryEntry kEntries[] = {
    {"cross", BinaryEntry<Binary::kCross>},      {"max", BinaryEntry<Binary::kMax>},
    {"min", BinaryEntry<Binary::kMin>},          {"mod", BinaryEntry<Binary::kMod>},
    {"pow", BinaryEntry<Binary::kPow>},
    {"not", UnaryEntry<Unary::kNot>},            {"sgn", UnaryEntry<Unary::kSgn>},
    {"sin", UnaryEntry<Unary::kSin>},            {"abs", UnaryEntry<Unary::kAbs>},
    {"acos", UnaryEntry<Unary::kAcos>},          {"asin", UnaryEntry<Unary::kAsin>},
    {"atan", UnaryEntry<Unary::kAtan>},          {"cos", UnaryEntry<Unary::kCos>},
    {"exp", UnaryEntry<Unary::kExp>},            {"ln", UnaryEntry<Unary::kLn>},
    {"reverse", UnaryEntry<Unary::kReverse>},    {"floor", UnaryEntry<Unary::kFloor>},
    {"intpart", UnaryEntry<Unary::kIntPart>},    {"log", UnaryEntry<Unary::kLog>},
    {"sqrt", UnaryEntry<Unary::kSqrt>},          {"tan", UnaryEntry<Unary::kTan>},
    {"barscount", UnaryEntry<Unary::kBarsCount>}, {"barssince", UnaryEntry<Unary::kBarsSince>},
    {"barslast", UnaryEntry<Unary::kBarsLast>},  {"toprange", UnaryEntry<Unary::kTopRange>},
    {"lowrange", UnaryEntry<Unary::kLowRange>},  {"barsnext", UnaryEntry<Unary::kBarsNext>},
    {"ceiling", UnaryEntry<Unary::kCeiling>},
};

}  // namespace

LibraryFamily UnaryBinaryFamily() { return {kEntries}; }

}  // namespace vorelin
