// Conditional and three-argument functions with their own argument checks: IF, SMA, the run
// and crossing tests, BETWEEN/RANGE, and the constant makers RGB and CONST.
#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "common/format.h"
#include "common/numbers.h"
#include "formula/functions/argument_values.h"
#include "formula/functions/families.h"
#include "formula/interpreter.h"
#include "formula/recursion.h"

namespace vorelin {

namespace {

constexpr double M = kNoValue;
constexpr int kMarkerLength = -10'000'000;  // a length read from a no-value slot

using Args = std::vector<std::string>;

// Rounds to single precision; values beyond its range become infinite, as the hardware
// rounds them, instead of an undefined conversion.
float ToSingle(double value) {
  if (value > FLT_MAX) return std::numeric_limits<float>::infinity();
  if (value < -FLT_MAX) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

Tbian& ZeroResult(TGS& gs, const std::string& result) {
  Tbian& out = gs.CreateResult(result, gs.BarCount());
  std::fill(out.values.begin(), out.values.begin() + out.count, 0.0);
  return out;
}

// IF(X,A,B): three constants choose by X > 0; otherwise each bar by X != 0, after the
// leading bars where X has no value.
bool If(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  ArgumentReader in(gs, args, "IF(X,A,B)", "不存在!");
  Operand x, a, b;
  if (!in.Value(0, "X", x)) return false;
  in.SetMissingText("错误!");
  if (!in.Value(1, "A", a) || !in.Value(2, "B", b)) return false;
  if (!x.IsSeries() && !a.IsSeries() && !b.IsSeries()) {
    gs.AddConstant(result, FiniteOrNoValue(x.constant > 0 ? a.constant : b.constant));
    return true;
  }
  const int count = gs.BarCount();
  const BarInput xv(x, result, count), av(a, result, count), bv(b, result, count);
  const int from = gs.TakeResumeFrom(result);
  Tbian& out = gs.CreateResult(result, count);
  int leading = 0;  // the leading bars where X has no value
  while (leading < count && leading < from && xv[leading] == M) ++leading;
  int i = from;
  if (leading == from) {
    for (; i < count && xv[i] == M; ++i) out.values[i] = M;
  }
  for (; i < count; ++i) out.values[i] = FiniteOrNoValue(xv[i] != 0 ? av[i] : bv[i]);
  return true;
}

// SMA(X,N,M): result = (M·X + (N−M)·previous) / N, seeded with X.
bool Sma(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  ArgumentReader in(gs, args, "SMA(X,N,M)", "没有定义!");
  Operand xArg, n;
  double mRaw = 0;
  if (!in.Series(0, "X", xArg) || !in.Value(1, "N", n) || !in.Constant(2, "M", mRaw)) {
    return false;
  }
  const int count = gs.BarCount();
  const BarInput x(xArg, result, count), nv(n, result, count);
  const double m = TruncToInt(mRaw);
  const int from = gs.TakeResumeFrom(result);
  Tbian& out = gs.CreateResult(result, count);
  if (nv.data() == nullptr) {
    const int len = TruncToInt(nv[0]);
    if (len == kMarkerLength || len == 0) {
      std::fill(out.values.begin() + from, out.values.begin() + count, M);
    } else {
      const double divisor = len;
      gs.HoldOrRunRecursion(Recursion{x.data(), out.data(), from, count,
                                      from > 0 ? out.values[from - 1] : M, m, divisor - m,
                                      divisor, true},
                            *xArg.series, out);
    }
    return true;
  }
  // The previous result stays in a register rather than being read back from memory.
  double previous = from > 0 ? out.values[from - 1] : M;
  for (int i = from; i < count; ++i) {
    const int len = TruncToInt(nv[i]);
    if (x[i] == M || len == kMarkerLength || len == 0) {
      previous = M;
    } else if (i == 0 || previous == M) {
      previous = x[i];
    } else {
      previous = FiniteOrNoValue((m * x[i] + (len - m) * previous) / len);
    }
    out.values[i] = previous;
  }
  return true;
}

// LONGCROSS(X,A,N): X reaches A after at least N bars below it.
bool LongCross(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  ArgumentReader in(gs, args, "LONGCROSS(X,A,B)", "未定义!");
  Operand x, a;
  double nRaw = 0;
  if (!in.Value(0, "X", x) || !in.Value(1, "A", a) || !in.Constant(2, "B", nRaw)) return false;
  const int count = gs.BarCount();
  const BarInput xv(x, result, count), av(a, result, count);
  const int n = TruncToInt(nRaw);
  Tbian& out = gs.CreateResult(result, count);
  int below = 0;
  for (int i = 0; i < count; ++i) {
    if (xv[i] == M || av[i] == M) {
      out.values[i] = M;
      below = 0;
    } else if (xv[i] >= av[i]) {
      out.values[i] = below >= n ? 1 : 0;
      below = 0;
    } else {
      out.values[i] = 0;
      ++below;
    }
  }
  return true;
}

// BETWEEN and RANGE take a constant first and only then a stored series (no aliases).
bool ConstantOrStored(TGS& gs, const std::string& text, Operand& out) {
  double value = 0;
  if (gs.ResolveConstant(text, value)) {
    out.series = nullptr;
    out.constant = value;
    return true;
  }
  out.series = gs.FindSeries(text);
  return out.series != nullptr;
}

bool BetweenOrRange(TGS& gs, const std::string& result, const Args& args, bool eitherOrder) {
  const char* signature = eitherOrder ? "BETWEEN(A,B,C)" : "RANGE(A,B,C)";
  ArgumentReader in(gs, args, signature, "不存在!");
  Operand operands[3];
  const char* names[3] = {"A", "B", "C"};
  for (size_t k = 0; k < 3; ++k) {
    if (!ConstantOrStored(gs, Arg(args, k), operands[k])) return in.Fail(k, names[k]);
  }
  const int count = gs.BarCount();
  const BarInput a(operands[0], result, count), b(operands[1], result, count),
      c(operands[2], result, count);
  Tbian& out = gs.CreateResult(result, count);
  for (int i = 0; i < count; ++i) {
    const bool inside = (b[i] < a[i] && a[i] < c[i]) || (eitherOrder && c[i] < a[i] && a[i] < b[i]);
    out.values[i] = inside ? 1 : 0;
  }
  return true;
}

bool Between(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  return BetweenOrRange(gs, result, args, true);
}

bool Range(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  return BetweenOrRange(gs, result, args, false);
}

// NDAY(X1,X2,N): X1 > X2 on each of the last N bars.
bool Nday(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  ArgumentReader in(gs, args, "NDAY(X1,X2,N)", "未定义!");
  Operand first, second;
  double nRaw = 0;
  if (!in.Series(0, "X1", first) || !in.Series(1, "X2", second) || !in.Constant(2, "N", nRaw)) {
    return false;
  }
  const int n = TruncToInt(nRaw);
  const BarInput x1(first, result, gs.BarCount()), x2(second, result, gs.BarCount());
  Tbian& out = gs.CreateResult(result, gs.BarCount());
  int above = 0;
  for (int i = 0; i < out.count; ++i) {
    if (x1[i] > x2[i]) ++above;
    // A negative length has no window to leave; the count then never equals it.
    if (n >= 0 && i >= n && x1[i - n] > x2[i - n]) --above;
    out.values[i] = above == n ? 1 : 0;
  }
  return true;
}

// UPNDAY / DOWNNDAY(X,N): at least N consecutive rises (falls); an unchanged value ends a run.
bool ConsecutiveMoves(TGS& gs, const std::string& result, const Args& args, bool rising) {
  ArgumentReader in(gs, args, rising ? "UPNDAY(X,N)" : "DOWNNDAY(X,N)", "未定义!");
  Operand xArg;
  double nRaw = 0;
  if (!in.Series(0, "X", xArg) || !in.Constant(1, "N", nRaw)) return false;
  const int n = TruncToInt(nRaw);
  const BarInput x(xArg, result, gs.BarCount());
  Tbian& out = ZeroResult(gs, result);
  int run = 0;
  for (int i = 1; i < out.count; ++i) {
    const bool step = rising ? x[i] > x[i - 1] : x[i] < x[i - 1];
    run = step ? run + 1 : 0;
    out.values[i] = run >= n ? 1 : 0;
  }
  return true;
}

bool UpNday(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  return ConsecutiveMoves(gs, result, args, true);
}

bool DownNday(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  return ConsecutiveMoves(gs, result, args, false);
}

// BARSLASTCOUNT(X): length of the current run of X != 0 (the marker counts as non-zero).
bool BarsLastCount(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  ArgumentReader in(gs, args, "BARSLASTCOUNT(X)", "未定义!");
  Operand xArg;
  if (!in.Series(0, "X", xArg)) return false;
  const BarInput x(xArg, result, gs.BarCount());
  Tbian& out = gs.CreateResult(result, gs.BarCount());
  int run = 0;
  for (int i = 0; i < out.count; ++i) {
    run = x[i] != 0 ? run + 1 : 0;
    out.values[i] = run;
  }
  return true;
}

// EXIST(X,N): the sum of X over the last N bars, kept in single precision, is positive.
bool Exist(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  ArgumentReader in(gs, args, "EXIST(X,N)", " 未定义!");
  Operand xArg;
  double nRaw = 0;
  if (!in.Series(0, "X", xArg)) return false;
  in.SetMissingText("未定义!");
  if (!in.Constant(1, "N", nRaw)) return false;
  const int n = TruncToInt(nRaw);
  if (n < 1) {
    gs.SetError("EXIST(X,N)参数N不能小于1!");
    return false;
  }
  const BarInput x(xArg, result, gs.BarCount());
  Tbian& out = gs.CreateResult(result, gs.BarCount());
  float sum = 0;
  for (int i = 0; i < out.count; ++i) {
    sum = ToSingle(sum + x[i]);
    if (i >= n) sum = ToSingle(sum - x[i - n]);
    out.values[i] = sum > 0 ? 1 : 0;
  }
  return true;
}

// EVERY(X,N): 1 on the bar where a run of X = 1 reaches exactly N bars (never before bar N).
bool Every(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  ArgumentReader in(gs, args, "EVERY(X,N)", "未定义!");
  Operand xArg;
  double nRaw = 0;
  if (!in.Series(0, "X", xArg) || !in.Constant(1, "N", nRaw)) return false;
  const int n = TruncToInt(nRaw);
  const BarInput x(xArg, result, gs.BarCount());
  Tbian& out = gs.CreateResult(result, gs.BarCount());
  int run = 0;
  for (int i = 0; i < out.count; ++i) {
    if (x[i] == M) {
      out.values[i] = M;
      continue;
    }
    run = x[i] == 1.0 ? run + 1 : 0;
    out.values[i] = i >= n && run == n ? 1 : 0;
  }
  return true;
}

// LAST(X,A,B): a run of exactly A−B bars of X = 1 that ended B bars ago; 0 unless 0 < B < A.
bool Last(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  ArgumentReader in(gs, args, "LAST(X,A,B)", "未定义!");
  Operand xArg;
  double aRaw = 0, bRaw = 0;
  if (!in.Series(0, "X", xArg) || !in.Constant(1, "A", aRaw) || !in.Constant(2, "B", bRaw)) {
    return false;
  }
  const int a = TruncToInt(aRaw), b = TruncToInt(bRaw);
  const BarInput x(xArg, result, gs.BarCount());
  Tbian& out = ZeroResult(gs, result);
  if (b <= 0 || b >= a) return true;
  int run = 0;
  for (int i = 0; i < out.count; ++i) {
    run = x[i] == 1.0 ? run + 1 : 0;
    const int64_t shown = static_cast<int64_t>(i) + b;
    if (shown >= a && shown < out.count) out.values[shown] = run == a - b ? 1 : 0;
  }
  return true;
}

// RGB(R,G,B): the colour integer R + 256·G + 65536·B of the low bytes, as "%d".
bool Rgb(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  ArgumentReader in(gs, args, "RGB(R,G,B)", "未定义!");
  double r = 0, g = 0, b = 0;
  if (!in.Constant(0, "R", r) || !in.Constant(1, "G", g) || !in.Constant(2, "B", b)) return false;
  auto low = [](double v) {
    return static_cast<int>(static_cast<uint32_t>(TruncToInt(v)) & 0xFFu);
  };
  gs.AddConstantText(result, Format("%d", low(r) + 256 * low(g) + 65536 * low(b)));
  return true;
}

// CONST(X): the last value of a series, or the constant itself, as "%.3f".
bool Const(TGS& gs, const std::string& result, const std::string&, const Args& args) {
  ArgumentReader in(gs, args, "CONST(N)", "未定义!");
  Operand x;
  if (!in.Value(0, "N", x)) return false;
  const double value = x.IsSeries() ? x.series->Last() : x.constant;
  gs.AddConstantText(result, Format("%.3f", FiniteOrNoValue(value)));
  return true;
}

constexpr LibraryEntry kEntries[] = {
    {"barslastcount", BarsLastCount}, {"rgb", Rgb},         {"exist", Exist},
    {"downnday", DownNday},           {"upnday", UpNday},   {"nday", Nday},
    {"every", Every},                 {"const", Const},     {"sma", Sma},
    {"if", If},                       {"range", Range},     {"between", Between},
    {"last", Last},                   {"longcross", LongCross},
};

}  // namespace

LibraryFamily ConditionalFamily() { return {kEntries}; }

}  // namespace vorelin
