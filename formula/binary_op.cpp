// Per-bar and constant rules of the thirteen operators, with the no-value marker.
#include "formula/binary_op.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <string_view>

#include "formula/functions/library.h"
#include "formula/interpreter.h"

namespace vorelin {

namespace {

enum class Op { kNe, kLe, kGe, kLt, kGt, kEq, kAnd, kAdd, kSub, kMul, kDiv, kOr, kXor };

constexpr std::array<std::string_view, 13> kOperators = {"!=", "<=", ">=", "<", ">", "=", "&",
                                                         "+",  "-",  "*",  "/", "|", "^"};

int64_t TruncTo64(double value) {
  if (!(value == value)) return 0;
  if (value >= 9.2e18) return INT64_MAX;
  if (value <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(value);
}

// The series rule: the marker propagates except where stated.
template <Op kOp>
inline double SeriesRule(double a, double b) {
  constexpr double M = kNoValue;
  if constexpr (kOp == Op::kEq) return std::fabs(a - b) < 0.000001 ? 1.0 : 0.0;
  if constexpr (kOp == Op::kNe) return a != b ? 1.0 : 0.0;
  if constexpr (kOp == Op::kOr) {
    if (a == M || b == M) return 0.0;
    return static_cast<double>(TruncTo64(a) | TruncTo64(b));
  }
  if (a == M || b == M) return M;
  if constexpr (kOp == Op::kLt) return a < b ? 1.0 : 0.0;
  if constexpr (kOp == Op::kLe) return a <= b ? 1.0 : 0.0;
  if constexpr (kOp == Op::kGt) return a > b ? 1.0 : 0.0;
  if constexpr (kOp == Op::kGe) return a >= b ? 1.0 : 0.0;
  if constexpr (kOp == Op::kAnd) return a >= 1 && b >= 1 ? 1.0 : 0.0;
  if constexpr (kOp == Op::kAdd) return a + b;
  if constexpr (kOp == Op::kSub) return a - b;
  if constexpr (kOp == Op::kMul) return a * b;
  if constexpr (kOp == Op::kDiv) return b == 0 ? M : a / b;
  if constexpr (kOp == Op::kXor) return static_cast<double>(TruncTo64(a) ^ TruncTo64(b));
  return M;
}

double ConstantRule(Op op, double a, double b) {
  switch (op) {
    case Op::kEq: return a == b ? 1.0 : 0.0;
    case Op::kNe: return a != b ? 1.0 : 0.0;
    case Op::kLt: return a < b ? 1.0 : 0.0;
    case Op::kLe: return a <= b ? 1.0 : 0.0;
    case Op::kGt: return a > b ? 1.0 : 0.0;
    case Op::kGe: return a >= b ? 1.0 : 0.0;
    case Op::kAnd: return a >= 1 && b >= 1 ? 1.0 : 0.0;
    case Op::kAdd: return a + b;
    case Op::kSub: return a - b;
    case Op::kMul: return a * b;
    case Op::kDiv: return b == 0 ? kNoValue : a / b;
    case Op::kOr: return static_cast<double>(TruncTo64(a) | TruncTo64(b));
    case Op::kXor: return static_cast<double>(TruncTo64(a) ^ TruncTo64(b));
  }
  return kNoValue;
}

// An overflow (1e308*10) or inf-inf has no value: NaN or infinity would print as a number
// and poison every later sum, comparison and scale.
inline double FiniteOrMarker(double value) { return std::isfinite(value) ? value : kNoValue; }

// Two bars at a time for the operators whose rule is plain IEEE arithmetic and comparison:
// the same operations on the same values, so the same bits as the one-bar rule.
using Pair = double __attribute__((vector_size(16)));
using PairMask = long long __attribute__((vector_size(16)));

// Lane by lane; written as the vector conditional so that it stays a vector blend (an
// and/or of reinterpreted masks was split into scalar moves and conditional moves).
inline Pair Select(PairMask mask, Pair yes, Pair no) { return mask ? yes : no; }

inline Pair Splat(double value) { return Pair{value, value}; }

template <Op kOp>
inline constexpr bool kPairwise = kOp != Op::kOr && kOp != Op::kXor;

template <Op kOp>
inline Pair PairRule(Pair a, Pair b) {
  const Pair marker = Splat(kNoValue);
  const Pair one = Splat(1.0), zero = Splat(0.0);
  if constexpr (kOp == Op::kEq) {
    const Pair d = a - b;
    const Pair magnitude = reinterpret_cast<Pair>(reinterpret_cast<PairMask>(d) &
                                                  ~reinterpret_cast<PairMask>(Splat(-0.0)));
    return Select(magnitude < Splat(0.000001), one, zero);
  }
  if constexpr (kOp == Op::kNe) return Select(a != b, one, zero);
  const PairMask missing = (a == marker) | (b == marker);
  Pair value;
  if constexpr (kOp == Op::kLt) value = Select(a < b, one, zero);
  if constexpr (kOp == Op::kLe) value = Select(a <= b, one, zero);
  if constexpr (kOp == Op::kGt) value = Select(a > b, one, zero);
  if constexpr (kOp == Op::kGe) value = Select(a >= b, one, zero);
  if constexpr (kOp == Op::kAnd) value = Select((a >= one) & (b >= one), one, zero);
  if constexpr (kOp == Op::kAdd) value = a + b;
  if constexpr (kOp == Op::kSub) value = a - b;
  if constexpr (kOp == Op::kMul) value = a * b;
  if constexpr (kOp == Op::kDiv) value = Select(b == zero, marker, a / b);
  const Pair magnitude = reinterpret_cast<Pair>(reinterpret_cast<PairMask>(value) &
                                                ~reinterpret_cast<PairMask>(Splat(-0.0)));
  const PairMask finite = magnitude <= Splat(DBL_MAX);
  return Select(missing | ~finite, marker, value);
}

inline Pair LoadPair(const double* p) {
  Pair v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline void StorePair(double* p, Pair v) { std::memcpy(p, &v, sizeof v); }

// One loop per operator and operand shape, so the per-bar work is a single inlined rule
// with no test of which operand is a constant. Bars from..n-1 are computed; the caller
// keeps the earlier ones.
template <Op kOp, bool kLeftSeries, bool kRightSeries>
void ApplyShaped(const Operand& left, const Operand& right, double* out, int from, int n) {
  const double* a = kLeftSeries ? left.series->data() : nullptr;
  const double* b = kRightSeries ? right.series->data() : nullptr;
  const double ca = left.constant, cb = right.constant;
  int i = from;
  if constexpr (kPairwise<kOp>) {
    // Both values are read before the result is written, so a result that is one of the
    // operands (X:=X+1) stays right.
    for (; i + 1 < n; i += 2) {
      const Pair pa = kLeftSeries ? LoadPair(a + i) : Splat(ca);
      const Pair pb = kRightSeries ? LoadPair(b + i) : Splat(cb);
      StorePair(out + i, PairRule<kOp>(pa, pb));
    }
  }
  for (; i < n; ++i) {
    out[i] = FiniteOrMarker(SeriesRule<kOp>(kLeftSeries ? a[i] : ca, kRightSeries ? b[i] : cb));
  }
}

template <Op kOp>
void Apply(const Operand& left, const Operand& right, double* out, int from, int n) {
  if (left.series && right.series) return ApplyShaped<kOp, true, true>(left, right, out, from, n);
  if (left.series) return ApplyShaped<kOp, true, false>(left, right, out, from, n);
  ApplyShaped<kOp, false, true>(left, right, out, from, n);
}

void ApplyOp(Op op, const Operand& left, const Operand& right, double* out, int from, int n) {
  switch (op) {
    case Op::kNe: return Apply<Op::kNe>(left, right, out, from, n);
    case Op::kLe: return Apply<Op::kLe>(left, right, out, from, n);
    case Op::kGe: return Apply<Op::kGe>(left, right, out, from, n);
    case Op::kLt: return Apply<Op::kLt>(left, right, out, from, n);
    case Op::kGt: return Apply<Op::kGt>(left, right, out, from, n);
    case Op::kEq: return Apply<Op::kEq>(left, right, out, from, n);
    case Op::kAnd: return Apply<Op::kAnd>(left, right, out, from, n);
    case Op::kAdd: return Apply<Op::kAdd>(left, right, out, from, n);
    case Op::kSub: return Apply<Op::kSub>(left, right, out, from, n);
    case Op::kMul: return Apply<Op::kMul>(left, right, out, from, n);
    case Op::kDiv: return Apply<Op::kDiv>(left, right, out, from, n);
    case Op::kOr: return Apply<Op::kOr>(left, right, out, from, n);
    case Op::kXor: return Apply<Op::kXor>(left, right, out, from, n);
  }
}

}  // namespace

bool Biao(TGS& gs, const std::string& result, const std::string&,
          const std::vector<std::string>& args) {
  const std::string& opText = Arg(args, 1);
  if (opText.empty()) {
    gs.SetError("表达式计算没有运算符!");
    return false;
  }
  int code = -1;
  for (size_t k = 0; k < kOperators.size(); ++k) {
    if (opText == kOperators[k]) code = static_cast<int>(k);
  }
  if (code < 0) {
    gs.SetError("暂时不支持运算符号[" + opText + "]错误!");
    return false;
  }
  const Op op = static_cast<Op>(code);
  const std::string leftText = Arg(args, 0).empty() ? std::string("0") : Arg(args, 0);
  const std::string& rightText = Arg(args, 2);

  Operand left, right;
  left.series = gs.ResolveSeries(leftText);
  right.series = gs.ResolveSeries(rightText);
  if (!left.series && !gs.ResolveConstant(leftText, left.constant)) {
    gs.SetError("表达式计算参数1:" + leftText + "错误!");
    return false;
  }
  if (!right.series && !gs.ResolveConstant(rightText, right.constant)) {
    gs.SetError("表达式计算参数2:" + rightText + "错误!");
    return false;
  }
  if (left.series || right.series) {
    const int n = gs.BarCount();
    // An operand shorter than the bars in use (a reference computed earlier) is read only
    // as far as it has values; the rest of the result has none.
    const int usable = std::min({n, left.series ? left.series->count : n,
                                 right.series ? right.series->count : n});
    const int from = gs.TakeResumeFrom(result);
    Tbian& out = gs.CreateResult(result, n);
    ApplyOp(op, left, right, out.data(), from, usable);
    for (int i = std::max(usable, from); i < n; ++i) out.values[i] = kNoValue;
    return true;
  }
  gs.AddConstant(result, FiniteOrMarker(ConstantRule(op, left.constant, right.constant)));
  return true;
}

}  // namespace vorelin
