// The (X,N) family: small inputs with expected outputs per function, constant and series N,
// N = 0, the no-value marker and the edges that matter.
#include <gtest/gtest.h>

#include "formula/interpreter.h"
#include "series_expect.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;

struct Case {
  const char* name;
  const char* func;
  Series x;
  const char* n;     // constant text, or "n" for the series below
  Series nSeries;
  Series want;
};

Series Call(const char* func, const Series& x, const char* n, const Series& nSeries) {
  TGS gs;
  gs.SetRawSeries("x", x.data(), static_cast<int>(x.size()));
  if (!nSeries.empty()) gs.SetRawSeries("n", nSeries.data(), static_cast<int>(nSeries.size()));
  LibraryFunction f = gs.Functions().Lookup(func);
  EXPECT_NE(f, nullptr) << func;
  if (f == nullptr) return {};
  EXPECT_TRUE(f(gs, "r", func, {"x", n, "::", ""})) << gs.ErrorText();
  return Values(gs.FindSeries("r"));
}

const Case kCases[] = {
    {"sum running", "sum", {1, 2, 3, 4, 5}, "3", {}, {1, 3, 6, 9, 12}},
    {"sum 0 cumulative", "sum", {1, 2, 3, 4, 5}, "0", {}, {1, 3, 6, 10, 15}},
    {"sum series n", "sum", {1, 2, 3, 4, 5}, "n", {1, 2, 0, M, 2}, {1, 3, 6, 10, 9}},
    {"sum ignores marker", "sum", {M, 1}, "2", {}, {M, M + 1}},
    {"dma weight 1 copies", "dma", {1, M, 3}, "1", {}, {1, M, 3}},
    {"dma half", "dma", {2, 4, M, 8}, "0.5", {}, {2, 3, M, 8}},
    {"dma series weight", "dma", {2, 4, 6, 8}, "n", {0.5, M, 0.5, 2}, {2, M, 6, 8}},
    {"filter", "filter", {1, 1, 1, 1, 1}, "2", {}, {1, 0, 0, 1, 0}},
    {"filter marker false", "filter", {M, 1, 0, 1}, "1", {}, {0, 1, 0, 1}},
    {"filter 0 blanks markers", "filter", {M, 2}, "0", {}, {0, 2}},
    {"filterx", "filterx", {1, 1, 1, 1, 1}, "2", {}, {0, 1, 0, 0, 1}},
    {"filterx over marker", "filterx", {1, M, 1}, "1", {}, {1, 0, 1}},
    {"filterx series n", "filterx", {2, 0, M}, "n", {3, 3, 3}, {1, 0, M}},
    {"hod", "hod", {1, 3, 2, 5, 5}, "3", {}, {M, 2, 2, 1, 2}},
    {"lod", "lod", {1, 3, 2, 5, 5}, "3", {}, {M, 3, 2, 3, 3}},
    {"barssincen", "barssincen", {0, 1, 0, 0, 0}, "2", {}, {M, 0, 1, 2, M}},
    {"barssincen marker is a signal", "barssincen", {M, 0}, "2", {}, {M, 1}},
    {"wma", "wma", {1, 2, 3, 4}, "3", {}, {1, 5.0 / 3, 14.0 / 6, 20.0 / 6}},
    {"forecast on a line", "forecast", {1, 2, 3, 4}, "3", {}, {1, 2, 3, 4}},
    {"xma odd", "xma", {1, 2, 3, 4, 5, 6}, "5", {}, {2, 2.5, 3, 4, 4.5, 5}},
    {"xma even", "xma", {1, 2, 3, 4, 5, 6}, "4", {}, {1.5, 2, 3, 4, 5, 5.5}},
    {"ma", "ma", {1, 2, 3, 4, 5}, "3", {}, {M, M, 2, 3, 4}},
    {"ma leading markers", "ma", {M, M, 3, 6, 9, 12}, "2", {}, {M, M, M, 4.5, 7.5, 10.5}},
    {"ma marker inside", "ma", {1, 2, M, 4, 5}, "2", {}, {M, 1.5, M, M, 4.5}},
    {"ma series n 0", "ma", {2, 4, 6}, "n", {0, 0, 0}, {2, 3, 4}},
    {"ma window longer than data", "ma", {1, 2}, "3", {}, {M, M}},
    {"ma series marker n", "ma", {1, 2}, "n", {M, 1}, {M, 2}},
    {"sumbars", "sumbars", {1, 2, 3, M, 4}, "5", {}, {1, 2, 2, 2, 2}},
    {"sumbars never reached", "sumbars", {1, 2, 3, M, 4}, "100", {}, {1, 2, 3, 3, 4}},
    {"backset 1 only", "backset", {0, 1, 0, 2, 0}, "3", {}, {1, 1, 0, 0, 0}},
    {"backset", "backset", {0, 0, 0, 1}, "3", {}, {0, 1, 1, 1}},
    {"count rising", "count", {1, 1, 1, 1, 1, 1, 1}, "5", {}, {1, 2, 3, 4, 5, 5, 5}},
    {"count marker false", "count", {M, 1, 0, 1}, "2", {}, {0, 1, 1, 1}},
    {"count series n <= 0", "count", {1, 1, 1, 1}, "n", {0, 0, -1, 0}, {1, 2, 3, 4}},
    {"ref", "ref", {1, 2, 3, 4, 5}, "3", {}, {1, 1, 1, 1, 2}},
    {"ref series n", "ref", {1, 2, 3, 4, 5}, "n", {1, M, 0, 2, 1}, {1, M, 3, 2, 4}},
    {"ref negative stays inside", "ref", {1, 2, 3}, "-1", {}, {2, 3, M}},
    {"mema", "mema", {3, 6, 9, 12}, "3", {}, {3, 4.5, 6, 8}},
    {"ema", "ema", {3, 6, 9, 12}, "3", {}, {3, 4.5, 6.75, 9.375}},
    {"ema 1 is x", "ema", {3, 6, 9, 12}, "1", {}, {3, 6, 9, 12}},
    {"ema marker", "ema", {3, M, 9}, "2", {}, {3, M, 9}},
    {"expma same as ema", "expma", {3, 6, 9, 12}, "3", {}, {3, 4.5, 6.75, 9.375}},
    {"expmema", "expmema", {3, 6, 9, 12}, "3", {}, {3, 4.5, 6, 9}},
    {"llv", "llv", {5, 3, 4, 6, 7}, "3", {}, {5, 3, 3, 3, 4}},
    {"llv leading markers", "llv", {M, 5, 4}, "2", {}, {M, M, 4}},
    {"hhv leading markers", "hhv", {M, 5, 4}, "2", {}, {M, 5, 5}},
    {"hhv negatives", "hhv", {-3, -1, -2}, "3", {}, {-3, -1, -1}},
    {"hhv series marker n", "hhv", {1, 2, 3}, "n", {M, M, M}, {1, 1, 1}},
    {"llvbars oldest tie", "llvbars", {2, 1, 3, 1, 5}, "4", {}, {0, 0, 1, 2, 3}},
    {"hhvbars", "hhvbars", {1, 3, 2, 2}, "2", {}, {0, 0, 1, 1}},
    {"hhvbars series marker n", "hhvbars", {1, 3, 2}, "n", {2, M, 2}, {0, M, 1}},
};

TEST(WindowFunctions, Cases) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ExpectSeries(Call(c.func, c.x, c.n, c.nSeries), c.want);
  }
}

TEST(WindowFunctions, ConstantZeroReturnsX) {
  const Series x = {4, M, 2, 7};
  for (const char* func : {"ma", "hhv", "llv", "count", "ref", "ema", "wma", "xma", "mema",
                           "hod", "lod", "backset", "llvbars", "hhvbars", "barssincen"}) {
    SCOPED_TRACE(func);
    ExpectSeries(Call(func, x, "0", {}), x);
  }
}

TEST(WindowFunctions, EmaLongerThanTheData) {
  const SampleBars bars = MakeSampleBars(50);
  Series want(50);
  want[0] = bars.close[0];
  for (int i = 1; i < 50; ++i) want[i] = (2 * bars.close[i] + 48 * want[i - 1]) / 50;
  EXPECT_EQ(Call("ema", bars.close, "100", {}), want);
}

// A slow, obvious moving window compared with HHV/LLV and their BARS forms.
TEST(WindowFunctions, ExtremesMatchAPlainScan) {
  const SampleBars bars = MakeSampleBars(200, 99);
  Series x = bars.close;
  for (int i = 0; i < 200; i += 17) x[i] = x[(i + 5) % 200];  // ties
  for (int n : {1, 2, 5, 30}) {
    const Series hhv = Call("hhv", x, std::to_string(n).c_str(), {});
    const Series llvbars = Call("llvbars", x, std::to_string(n).c_str(), {});
    for (int i = 1; i < 200; ++i) {
      double high = x[i];
      int lowAt = i;
      for (int k = std::max(0, i - n + 1); k <= i; ++k) high = std::max(high, x[k]);
      for (int k = i; k >= std::max(0, i - n + 1); --k) {
        if (x[k] <= x[lowAt]) lowAt = k;
      }
      EXPECT_EQ(hhv[i], high) << n << " bar " << i;
      EXPECT_EQ(llvbars[i], i - lowAt) << n << " bar " << i;
    }
  }
}

TEST(WindowFunctions, Messages) {
  TGS gs;
  const Series x = {1, 2, 3};
  gs.SetRawSeries("close", x.data(), 3);
  LibraryFunction ma = gs.Functions().Lookup("ma");
  EXPECT_FALSE(ma(gs, "r", "ma", {"CLOSEX", "5", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "MA(X,N)参数X:CLOSEX不存在!");
  EXPECT_FALSE(ma(gs, "r", "ma", {"5", "5", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "MA(X,N)参数X:5不存在!");
  LibraryFunction hhv = gs.Functions().Lookup("expma");
  EXPECT_FALSE(hhv(gs, "r", "expma", {"close", "foo", "::", ""}));
  EXPECT_EQ(gs.ErrorText(), "EMA(X,N)参数N:foo不存在!");
  EXPECT_EQ(gs.FindSeries("r"), nullptr);
}

TEST(WindowFunctions, ResultMayBeItsOwnArgument) {
  TGS gs;
  const Series x = {1, 2, 3, 4, 5};
  gs.SetRawSeries("close", x.data(), 5);
  ASSERT_TRUE(gs.CompileText("X:=C;X:=MA(X,3);Y:=C;Y:=BACKSET(Y>4,2);")) << gs.ErrorText();
  ExpectSeries(Values(gs.FindSeries("x")), {M, M, 2, 3, 4});
  ExpectSeries(Values(gs.FindSeries("y")), {0, 0, 0, 1, 1});
  ASSERT_TRUE(gs.CompileText("A:MA(MA(C,2),2);"));
  ExpectSeries(Values(gs.FindSeries("a")), {M, M, 2, 3, 4});
}

}  // namespace
}  // namespace vorelin
