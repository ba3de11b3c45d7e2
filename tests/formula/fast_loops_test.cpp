// The fast loops (window extremes, REF, EMA and SMA with a constant length, recursions run
// two at a time, the two-bar operator loop) against straightforward loops written from the
// definitions: equal bit for bit over data with markers, ties, signed zeros, NaN and bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "formula/interpreter.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;

// Prices with runs of equal values, markers, and a few extreme or NaN slots.
std::vector<double> AwkwardSeries(uint32_t seed, int n) {
  std::vector<double> x(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    const uint32_t r = (seed >> 8) % 100;
    double v = 10 + static_cast<double>((seed >> 12) % 40) / 4;
    if (r < 8) v = M;
    else if (r == 8) v = std::numeric_limits<double>::quiet_NaN();
    else if (r == 9) v = -DBL_MAX;
    else if (r == 10) v = 1.7e308;
    else if (r == 11) v = 0;
    else if (r == 12) v = -0.0;  // equal to 0: which of the two a window keeps shows
    x[static_cast<size_t>(i)] = v;
  }
  return x;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// `anyNaN`: arithmetic on a NaN may give either operand's NaN (the compiler may swap the
// operands of an addition), so any NaN stands for any other.
void ExpectSameBits(const Tbian* got, const std::vector<double>& want, const std::string& what,
                    bool anyNaN = false) {
  ASSERT_NE(got, nullptr) << what;
  ASSERT_EQ(got->count, static_cast<int>(want.size())) << what;
  for (size_t i = 0; i < want.size(); ++i) {
    const bool bothNaN = std::isnan(got->values[i]) && std::isnan(want[i]);
    ASSERT_TRUE(SameBits(got->values[i], want[i]) || (anyNaN && bothNaN))
        << what << " bar " << i << ": " << got->values[i] << " want " << want[i];
  }
}

// HHV/LLV and their bar counts as a scan of each window.
std::vector<double> ScanExtreme(const std::vector<double>& x, int n, bool highest, bool bars) {
  std::vector<double> out(x.size());
  int p = 0;
  for (int i = 0; i < static_cast<int>(x.size()); ++i) {
    if (i == 0 || x[i] == M) {
      out[i] = bars ? 0 : x[i];
      p = i;
      continue;
    }
    const int lo = n > 0 ? std::max(0, i - n + 1) : 0;
    double extreme = highest ? -DBL_MAX : 1.7e308;
    for (int k = lo; k <= i; ++k) {
      if (highest ? x[k] > extreme : x[k] < extreme) {
        extreme = x[k];
        p = k;
      }
    }
    out[i] = bars ? i - p : extreme;
  }
  return out;
}

TEST(FastLoops, SlidingExtremesMatchTheWindowScan) {
  const std::vector<double> x = AwkwardSeries(11, 3000);
  const int lengths[] = {1, 2, 3, 7, 50, 400, 2999, 5000, -1};
  const struct {
    const char* func;
    bool highest, bars;
  } kFunctions[] = {{"hhv", true, false}, {"llv", false, false},
                    {"hhvbars", true, true}, {"llvbars", false, true}};
  for (const auto& f : kFunctions) {
    for (int n : lengths) {
      TGS gs;
      gs.SetRawSeries("x", x.data(), static_cast<int>(x.size()));
      const std::string nText = std::to_string(n);
      ASSERT_TRUE(gs.Functions().Lookup(f.func)(gs, "r", f.func, {"x", nText, "::", ""}));
      ExpectSameBits(gs.FindSeries("r"), ScanExtreme(x, n, f.highest, f.bars),
                     std::string(f.func) + " n=" + nText);
    }
  }
}

// REF, EMA and SMA with a constant length, as the definitions state them bar by bar.
std::vector<double> PlainRef(const std::vector<double>& x, int n) {
  const int count = static_cast<int>(x.size());
  std::vector<double> out(x.size());
  for (int i = 0; i < count; ++i) {
    if (n == 0) out[i] = x[i];
    else if (i < n) out[i] = x[0];
    else out[i] = i - n < count ? x[i - n] : M;
  }
  return out;
}

std::vector<double> PlainEma(const std::vector<double>& x, int length) {
  const int n = std::min(length, static_cast<int>(x.size()) - 1);
  std::vector<double> out(x.size());
  out[0] = x[0];
  for (size_t i = 1; i < x.size(); ++i) {
    if (x[i] == M) out[i] = M;
    else if (out[i - 1] == M) out[i] = x[i];
    else out[i] = (2 * x[i] + (n - 1) * out[i - 1]) / (n + 1);
  }
  return out;
}

std::vector<double> PlainSma(const std::vector<double>& x, int n, int m) {
  std::vector<double> out(x.size());
  for (size_t i = 0; i < x.size(); ++i) {
    if (x[i] == M || n == 0) {
      out[i] = M;
    } else if (i == 0 || out[i - 1] == M) {
      out[i] = x[i];
    } else {
      const double v = (m * x[i] + (n - m) * out[i - 1]) / n;
      out[i] = std::isfinite(v) ? v : M;
    }
  }
  return out;
}

TEST(FastLoops, ConstantLengthLoopsMatchTheDefinitions) {
  std::vector<double> x = AwkwardSeries(17, 2000);
  x[0] = 12;  // a first bar with a value, so that the recursions start at once
  TGS gs;
  gs.SetRawSeries("x", x.data(), static_cast<int>(x.size()));
  for (int n : {1, 2, 5, 1999, 2000, 2500, -1, -3, -2500}) {
    const std::string nText = std::to_string(n);
    ASSERT_TRUE(gs.Functions().Lookup("ref")(gs, "r", "ref", {"x", nText, "::", ""}));
    ExpectSameBits(gs.FindSeries("r"), PlainRef(x, n), "ref n=" + nText);
  }
  for (int n : {1, 2, 12, 5000}) {
    const std::string nText = std::to_string(n);
    ASSERT_TRUE(gs.Functions().Lookup("ema")(gs, "r", "ema", {"x", nText, "::", ""}));
    ExpectSameBits(gs.FindSeries("r"), PlainEma(x, n), "ema n=" + nText, true);
  }
  const int kSmaArguments[][2] = {{1, 1}, {3, 1}, {12, 2}, {2, 3}, {0, 1}};
  for (const auto& [n, m] : kSmaArguments) {
    const std::string what = "sma n=" + std::to_string(n) + " m=" + std::to_string(m);
    ASSERT_TRUE(gs.Functions().Lookup("sma")(
        gs, "r", "sma", {"x", std::to_string(n), std::to_string(m), "::", ""}));
    ExpectSameBits(gs.FindSeries("r"), PlainSma(x, n, m), what, true);
  }
}

// Two recursions run together when nothing between them reads the first one's result or
// writes its input; whatever the program does in between, each gets its values alone.
TEST(FastLoops, RecursionsRunTogetherGiveTheValuesOfEachAlone) {
  std::vector<double> x(3000);
  uint32_t seed = 5;
  for (double& v : x) {
    seed = seed * 1103515245u + 12345u;
    v = 10 + static_cast<double>((seed >> 8) % 1000) / 100;
  }
  std::vector<double> plusOne = x, doubled = x;
  for (double& v : plusOne) v += 1;
  for (double& v : doubled) v *= 2;
  const std::vector<double> ema5 = PlainEma(x, 5);
  std::vector<double> ema5Doubled = ema5, ema5PlusOne = ema5;
  for (double& v : ema5Doubled) v *= 2;
  for (double& v : ema5PlusOne) v += 1;
  const struct {
    const char* program;
    std::vector<std::pair<const char*, std::vector<double>>> want;
  } kCases[] = {
      {"A:=EMA(X,5);B:=EMA(X,12);", {{"a", ema5}, {"b", PlainEma(x, 12)}}},
      {"A:=EMA(X,5);B:=EMA(A,3);", {{"a", ema5}, {"b", PlainEma(ema5, 3)}}},
      {"A:=SMA(X,6,1);Y:=X*2;B:=EMA(Y,4);",
       {{"a", PlainSma(x, 6, 1)}, {"b", PlainEma(doubled, 4)}}},
      {"A:=EMA(X,5);Z:=A+1;B:=EMA(X,3);",
       {{"a", ema5}, {"z", ema5PlusOne}, {"b", PlainEma(x, 3)}}},
      {"A:=EMA(X,5);X:=X+1;B:=EMA(X,5);", {{"a", ema5}, {"b", PlainEma(plusOne, 5)}}},
      {"A:=EMA(X,5);A:=A*2;B:=SMA(X,3,1);", {{"a", ema5Doubled}, {"b", PlainSma(x, 3, 1)}}},
      {"A:=EMA(X,5);B:=EMA(X,7);C:=EMA(X,9);",
       {{"a", ema5}, {"b", PlainEma(x, 7)}, {"c", PlainEma(x, 9)}}},
  };
  for (const auto& c : kCases) {
    TGS gs;
    gs.SetRawSeries("x", x.data(), static_cast<int>(x.size()));
    ASSERT_TRUE(gs.CompileText(c.program)) << c.program << ": " << gs.ErrorText();
    for (const auto& [name, values] : c.want) {
      ExpectSameBits(gs.FindSeries(name), values, std::string(c.program) + " " + name);
    }
  }
  // A failing statement after a held recursion: the recursion's values are there all the same.
  TGS gs;
  gs.SetRawSeries("x", x.data(), static_cast<int>(x.size()));
  EXPECT_FALSE(gs.CompileText("A:=EMA(X,5);B:=EMA(X,Q);"));
  ExpectSameBits(gs.FindSeries("a"), ema5, "before a failure");
}

// The operator rules one bar at a time, as the definitions state them.
double OneBar(const std::string& op, double a, double b) {
  auto finite = [](double v) { return std::isfinite(v) ? v : M; };
  if (op == "=") return std::fabs(a - b) < 0.000001 ? 1 : 0;
  if (op == "!=") return a != b ? 1 : 0;
  if (a == M || b == M) return M;
  if (op == "<") return a < b ? 1 : 0;
  if (op == "<=") return a <= b ? 1 : 0;
  if (op == ">") return a > b ? 1 : 0;
  if (op == ">=") return a >= b ? 1 : 0;
  if (op == "&") return a >= 1 && b >= 1 ? 1 : 0;
  if (op == "+") return finite(a + b);
  if (op == "-") return finite(a - b);
  if (op == "*") return finite(a * b);
  return b == 0 ? M : finite(a / b);
}

TEST(FastLoops, OperatorPairsMatchTheOneBarRule) {
  std::vector<double> a = AwkwardSeries(3, 1001), b = AwkwardSeries(5, 1001);
  b[7] = 0;
  a[8] = 1e308;
  b[8] = 1e308;
  const char* kOps[] = {"=", "!=", "<", "<=", ">", ">=", "&", "+", "-", "*", "/"};
  for (const char* op : kOps) {
    TGS gs;
    gs.SetRawSeries("a", a.data(), static_cast<int>(a.size()));
    gs.SetRawSeries("b", b.data(), static_cast<int>(b.size()));
    LibraryFunction biao = gs.Functions().Lookup("biao");
    ASSERT_TRUE(biao(gs, "both", "biao", {"a", op, "b", "::", ""}));
    ASSERT_TRUE(biao(gs, "left", "biao", {"a", op, "2.5", "::", ""}));
    ASSERT_TRUE(biao(gs, "right", "biao", {"0", op, "b", "::", ""}));
    ASSERT_TRUE(biao(gs, "a", "biao", {"a", op, "a", "::", ""}));  // in place
    std::vector<double> both, left, right, self;
    for (size_t i = 0; i < a.size(); ++i) {
      both.push_back(OneBar(op, a[i], b[i]));
      left.push_back(OneBar(op, a[i], 2.5));
      right.push_back(OneBar(op, 0, b[i]));
      self.push_back(OneBar(op, a[i], a[i]));
    }
    ExpectSameBits(gs.FindSeries("both"), both, std::string("a") + op + "b");
    ExpectSameBits(gs.FindSeries("left"), left, std::string("a") + op + "2.5");
    ExpectSameBits(gs.FindSeries("right"), right, std::string("0") + op + "b");
    ExpectSameBits(gs.FindSeries("a"), self, std::string("a") + op + "a in place");
  }
}

}  // namespace
}  // namespace vorelin
