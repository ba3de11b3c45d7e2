// The sliding extremes and the two-bar operator loop against straightforward loops written
// from the definitions: equal bit for bit over data with markers, ties, NaN and bounds.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
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
    x[static_cast<size_t>(i)] = v;
  }
  return x;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void ExpectSameBits(const Tbian* got, const std::vector<double>& want, const std::string& what) {
  ASSERT_NE(got, nullptr) << what;
  ASSERT_EQ(got->count, static_cast<int>(want.size())) << what;
  for (size_t i = 0; i < want.size(); ++i) {
    ASSERT_TRUE(SameBits(got->values[i], want[i]))
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
  const int lengths[] = {1, 2, 3, 7, 50, 400, -1};
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
