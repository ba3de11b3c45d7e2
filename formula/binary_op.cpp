// Per-bar and constant rules of the thirteen operators, with the no-value marker.
#include "formula/binary_op.h"

#include <algorithm>
#include <array>
#include <cmath>
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

// One loop per operator and operand shape, so the per-bar work is a single inlined rule.
template <Op kOp>
void Apply(const Operand& left, const Operand& right, double* out, int n) {
  if (left.series && right.series) {
    const double* a = left.series->data();
    const double* b = right.series->data();
    for (int i = 0; i < n; ++i) out[i] = FiniteOrMarker(SeriesRule<kOp>(a[i], b[i]));
  } else if (left.series) {
    const double* a = left.series->data();
    const double b = right.constant;
    for (int i = 0; i < n; ++i) out[i] = FiniteOrMarker(SeriesRule<kOp>(a[i], b));
  } else {
    const double a = left.constant;
    const double* b = right.series->data();
    for (int i = 0; i < n; ++i) out[i] = FiniteOrMarker(SeriesRule<kOp>(a, b[i]));
  }
}

void ApplyOp(Op op, const Operand& left, const Operand& right, double* out, int n) {
  switch (op) {
    case Op::kNe: return Apply<Op::kNe>(left, right, out, n);
    case Op::kLe: return Apply<Op::kLe>(left, right, out, n);
    case Op::kGe: return Apply<Op::kGe>(left, right, out, n);
    case Op::kLt: return Apply<Op::kLt>(left, right, out, n);
    case Op::kGt: return Apply<Op::kGt>(left, right, out, n);
    case Op::kEq: return Apply<Op::kEq>(left, right, out, n);
    case Op::kAnd: return Apply<Op::kAnd>(left, right, out, n);
    case Op::kAdd: return Apply<Op::kAdd>(left, right, out, n);
    case Op::kSub: return Apply<Op::kSub>(left, right, out, n);
    case Op::kMul: return Apply<Op::kMul>(left, right, out, n);
    case Op::kDiv: return Apply<Op::kDiv>(left, right, out, n);
    case Op::kOr: return Apply<Op::kOr>(left, right, out, n);
    case Op::kXor: return Apply<Op::kXor>(left, right, out, n);
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
    Tbian& out = gs.CreateResult(result, n);
    ApplyOp(op, left, right, out.data(), usable);
    for (int i = usable; i < n; ++i) out.values[i] = kNoValue;
    return true;
  }
  gs.AddConstant(result, FiniteOrMarker(ConstantRule(op, left.constant, right.constant)));
  return true;
}

}  // namespace vorelin
