// Conditional and three-argument functions: named cases per function, their messages, the
// constant makers, and plain re-computations of the run tests on random series.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "formula/interpreter.h"
#include "series_expect.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;
using Texts = std::vector<std::string>;

// Raw series "x", "a", "b" (when given, in that order) and a call that stores under "r".
struct Case {
  const char* name;
  const char* func;
  Texts args;
  Series x, a, b;
  Series want;
};

void LoadInputs(TGS& gs, const Series& x, const Series& a, const Series& b) {
  if (!x.empty()) gs.SetRawSeries("x", x.data(), static_cast<int>(x.size()));
  if (!a.empty()) gs.SetRawSeries("a", a.data(), static_cast<int>(a.size()));
  if (!b.empty()) gs.SetRawSeries("b", b.data(), static_cast<int>(b.size()));
}

bool Call(TGS& gs, const char* func, Texts args) {
  LibraryFunction f = gs.Functions().Lookup(func);
  EXPECT_NE(f, nullptr) << func;
  if (f == nullptr) return false;
  args.push_back("::");
  args.emplace_back();
  return f(gs, "r", func, args);
}

const Case kCases[] = {
    {"if by series condition, marker after the first value selects A", "if", {"x", "a", "b"},
     {M, 1, 0, M, -2}, {10, 11, 12, 13, 14}, {20, 21, 22, 23, 24}, {M, 11, 22, 13, 14}},
    {"if without any condition value", "if", {"x", "a", "b"}, {M, M}, {1, 2}, {3, 4}, {M, M}},
    {"if constant condition -1 with a series picks A", "if", {"-1", "a", "5"}, {}, {1, 2}, {},
     {1, 2}},
    {"if reads a shorter series as without value", "if", {"x", "a", "0"}, {1, 1, 1, 1}, {5, 6},
     {}, {5, 6, M, M}},
    {"if constant condition 0 with a series", "if", {"0", "a", "5"}, {}, {1, 2}, {}, {5, 5}},
    {"sma seeds with x", "sma", {"x", "3", "1"}, {3, 6, 9}, {}, {}, {3, 4, 17.0 / 3}},
    {"sma restarts after a marker", "sma", {"x", "3", "1"}, {3, M, 9, 12}, {}, {}, {3, M, 9, 10}},
    {"sma series n with a marker", "sma", {"x", "a", "1"}, {3, 6, 9}, {3, M, 3}, {}, {3, M, 9}},
    {"sma n 0 has no value", "sma", {"x", "0", "1"}, {3, 6}, {}, {}, {M, M}},
    {"longcross after three bars below", "longcross", {"x", "2", "3"}, {1, 1, 1, 5}, {}, {},
     {0, 0, 0, 1}},
    {"longcross too short a run", "longcross", {"x", "2", "3"}, {3, 1, 1, 5}, {}, {},
     {0, 0, 0, 0}},
    {"longcross marker resets the run", "longcross", {"x", "a", "2"}, {1, 1, M, 1, 5},
     {2, 2, 2, 2, 2}, {}, {0, 0, M, 0, 0}},
    {"longcross n 0", "longcross", {"x", "2", "0"}, {1, 3, 1, 3}, {}, {}, {0, 1, 0, 1}},
    {"between either order, marker not tested", "between", {"x", "a", "b"}, {5, 5, 1, M},
     {1, 10, 1, -2e7}, {10, 1, 10, 0}, {1, 1, 0, 1}},
    {"between constants", "between", {"5", "10", "1"}, {0, 0}, {}, {}, {1, 1}},
    {"between is strict", "between", {"1", "1", "10"}, {0}, {}, {}, {0}},
    {"range one order", "range", {"x", "a", "b"}, {5, 5, 1, M}, {1, 10, 1, -2e7},
     {10, 1, 10, 0}, {1, 0, 0, 1}},
    {"range reversed bounds", "range", {"5", "10", "1"}, {0}, {}, {}, {0}},
    {"nday", "nday", {"x", "a", "2"}, {2, 2, 1, 2, 2, 2}, {1, 1, 1, 1, 1, 1}, {},
     {0, 1, 0, 0, 1, 1}},
    {"nday negative length", "nday", {"x", "a", "-2"}, {2, 2}, {1, 1}, {}, {0, 0}},
    {"upnday unchanged ends a run", "upnday", {"x", "3"}, {1, 2, 3, 4, 4, 5, 6, 7}, {}, {},
     {0, 0, 0, 1, 0, 0, 0, 1}},
    {"downnday", "downnday", {"x", "2"}, {5, 4, 3, 3, 2}, {}, {}, {0, 0, 1, 0, 0}},
    {"barslastcount marker counts", "barslastcount", {"x"}, {1, M, 0, 2, 2}, {}, {},
     {1, 2, 0, 1, 2}},
    {"exist", "exist", {"x", "2"}, {0, 1, 0, 0, 1}, {}, {}, {0, 1, 1, 0, 1}},
    {"exist sums in single precision", "exist", {"x", "5"}, {1e8, 1, -1e8}, {}, {}, {1, 1, 0}},
    {"exist beyond the single range", "exist", {"x", "5"}, {1e300, -1e300}, {}, {}, {1, 1}},
    {"every from bar 5", "every", {"x", "3"}, {0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, {}, {},
     {0, 0, 0, 0, 0, 0, 0, 1, 0, 0}},
    {"every never before bar n", "every", {"x", "3"}, {1, 1, 1, 1}, {}, {}, {0, 0, 0, 0}},
    {"every marker keeps the run", "every", {"x", "2"}, {M, 1, 1}, {}, {}, {M, 0, 1}},
    {"every needs exactly 1", "every", {"x", "2"}, {0, 1, 2, 1, 1}, {}, {}, {0, 0, 0, 0, 1}},
    {"last shows the run b bars later", "last", {"x", "3", "1"}, {1, 1, 0, 1, 1, 1, 0}, {}, {},
     {0, 0, 0, 0, 0, 1, 0}},
    {"last with b >= a", "last", {"x", "2", "2"}, {1, 1, 1}, {}, {}, {0, 0, 0}},
    {"last with b 0", "last", {"x", "2", "0"}, {1, 1, 1}, {}, {}, {0, 0, 0}},
};

TEST(ConditionalFunctions, Cases) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TGS gs;
    LoadInputs(gs, c.x, c.a, c.b);
    ASSERT_TRUE(Call(gs, c.func, c.args)) << gs.ErrorText();
    ExpectSeries(Values(gs.FindSeries("r")), c.want);
  }
}

struct ConstantCase {
  const char* name;
  const char* func;
  Texts args;
  const char* want;
};

const ConstantCase kConstants[] = {
    {"if three constants choose by X > 0", "if", {"-1", "5", "6"}, "6.00"},
    {"if positive constant", "if", {"0.5", "5", "6"}, "5.00"},
    {"rgb red", "rgb", {"255", "0", "0"}, "255"},
    {"rgb blue", "rgb", {"0", "0", "255"}, "16711680"},
    {"rgb keeps the low byte", "rgb", {"256", "0", "0"}, "0"},
    {"rgb truncates and wraps negatives", "rgb", {"1.9", "-1", "0"}, "65281"},
    {"const of a series is its last value", "const", {"x"}, "12.346"},
    {"const of a constant", "const", {"2.5"}, "2.500"},
};

TEST(ConditionalFunctions, ConstantResults) {
  for (const ConstantCase& c : kConstants) {
    SCOPED_TRACE(c.name);
    TGS gs;
    LoadInputs(gs, {1, 12.3456}, {}, {});
    ASSERT_TRUE(Call(gs, c.func, c.args)) << gs.ErrorText();
    ASSERT_EQ(gs.Constants().size(), 1u);
    EXPECT_EQ(gs.Constants()[0], std::make_pair(std::string("r"), std::string(c.want)));
    EXPECT_EQ(gs.FindSeries("r"), nullptr);
  }
}

struct MessageCase {
  const char* func;
  Texts args;
  const char* message;
};

const MessageCase kMessages[] = {
    {"if", {"foo", "1", "2"}, "IF(X,A,B)参数X:foo不存在!"},
    {"if", {"x", "foo", "2"}, "IF(X,A,B)参数A:foo错误!"},
    {"if", {"x", "1", "foo"}, "IF(X,A,B)参数B:foo错误!"},
    {"sma", {"3", "3", "1"}, "SMA(X,N,M)参数X:3没有定义!"},
    {"sma", {"x", "foo", "1"}, "SMA(X,N,M)参数N:foo没有定义!"},
    {"sma", {"x", "3", "x"}, "SMA(X,N,M)参数M:x没有定义!"},
    {"longcross", {"foo", "1", "2"}, "LONGCROSS(X,A,B)参数X:foo未定义!"},
    {"longcross", {"x", "foo", "2"}, "LONGCROSS(X,A,B)参数A:foo未定义!"},
    {"longcross", {"x", "1", "x"}, "LONGCROSS(X,A,B)参数B:x未定义!"},
    {"between", {"foo", "1", "2"}, "BETWEEN(A,B,C)参数A:foo不存在!"},
    {"between", {"x", "foo", "2"}, "BETWEEN(A,B,C)参数B:foo不存在!"},
    {"between", {"x", "1", "foo"}, "BETWEEN(A,B,C)参数C:foo不存在!"},
    {"between", {"c", "1", "2"}, "BETWEEN(A,B,C)参数A:c不存在!"},  // no aliases here
    {"range", {"foo", "1", "2"}, "RANGE(A,B,C)参数A:foo不存在!"},
    {"range", {"x", "foo", "2"}, "RANGE(A,B,C)参数B:foo不存在!"},
    {"range", {"x", "1", "foo"}, "RANGE(A,B,C)参数C:foo不存在!"},
    {"nday", {"foo", "x", "2"}, "NDAY(X1,X2,N)参数X1:foo未定义!"},
    {"nday", {"x", "2", "2"}, "NDAY(X1,X2,N)参数X2:2未定义!"},
    {"nday", {"x", "x", "foo"}, "NDAY(X1,X2,N)参数N:foo未定义!"},
    {"upnday", {"foo", "2"}, "UPNDAY(X,N)参数X:foo未定义!"},
    {"upnday", {"x", "foo"}, "UPNDAY(X,N)参数N:foo未定义!"},
    {"downnday", {"foo", "2"}, "DOWNNDAY(X,N)参数X:foo未定义!"},
    {"downnday", {"x", "foo"}, "DOWNNDAY(X,N)参数N:foo未定义!"},
    {"barslastcount", {"foo"}, "BARSLASTCOUNT(X)参数X:foo未定义!"},
    {"exist", {"foo", "2"}, "EXIST(X,N)参数X:foo 未定义!"},
    {"exist", {"x", "foo"}, "EXIST(X,N)参数N:foo未定义!"},
    {"exist", {"x", "0"}, "EXIST(X,N)参数N不能小于1!"},
    {"exist", {"x", "0.9"}, "EXIST(X,N)参数N不能小于1!"},
    {"every", {"foo", "2"}, "EVERY(X,N)参数X:foo未定义!"},
    {"every", {"x", "foo"}, "EVERY(X,N)参数N:foo未定义!"},
    {"last", {"foo", "3", "1"}, "LAST(X,A,B)参数X:foo未定义!"},
    {"last", {"x", "foo", "1"}, "LAST(X,A,B)参数A:foo未定义!"},
    {"last", {"x", "3", "foo"}, "LAST(X,A,B)参数B:foo未定义!"},
    {"rgb", {"foo", "0", "0"}, "RGB(R,G,B)参数R:foo未定义!"},
    {"rgb", {"0", "foo", "0"}, "RGB(R,G,B)参数G:foo未定义!"},
    {"rgb", {"0", "0", "foo"}, "RGB(R,G,B)参数B:foo未定义!"},
    {"const", {"foo"}, "CONST(N)参数N:foo未定义!"},
};

TEST(ConditionalFunctions, MessagesAndNothingStored) {
  for (const MessageCase& c : kMessages) {
    SCOPED_TRACE(c.message);
    TGS gs;
    const Series x = {1, 2, 3};
    gs.SetRawSeries("x", x.data(), 3);
    gs.SetRawSeries("close", x.data(), 3);
    EXPECT_FALSE(Call(gs, c.func, c.args));
    EXPECT_EQ(gs.ErrorText(), c.message);
    EXPECT_EQ(gs.FindSeries("r"), nullptr);
    EXPECT_TRUE(gs.Constants().empty());
  }
}

// The run tests recomputed the obvious way, by looking at the last N bars of every bar.
TEST(ConditionalFunctions, RunTestsMatchAPlainLookBack) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> digit(0, 3);
  const int count = 300;
  Series x1(count), x2(count);
  for (int i = 0; i < count; ++i) {
    x1[i] = digit(random);
    x2[i] = digit(random);
  }
  for (int n : {1, 2, 3, 5}) {
    SCOPED_TRACE(n);
    TGS gs;
    LoadInputs(gs, x1, x2, {});
    const std::string length = std::to_string(n);
    ASSERT_TRUE(Call(gs, "nday", {"x", "a", length}));
    const Series nday = Values(gs.FindSeries("r"));
    ASSERT_TRUE(Call(gs, "upnday", {"x", length}));
    const Series up = Values(gs.FindSeries("r"));
    ASSERT_TRUE(Call(gs, "every", {"x", length}));
    const Series every = Values(gs.FindSeries("r"));
    for (int i = 0; i < count; ++i) {
      bool above = i >= n - 1, rising = i >= n, ones = i >= n;
      for (int k = i - n + 1; k <= i && k >= 0; ++k) {
        above = above && x1[k] > x2[k];
        rising = rising && k >= 1 && x1[k] > x1[k - 1];
        ones = ones && x1[k] == 1;
      }
      const bool longerRun = i - n >= 0 && x1[i - n] == 1;
      EXPECT_EQ(nday[i], above ? 1 : 0) << "bar " << i;
      EXPECT_EQ(up[i], rising ? 1 : 0) << "bar " << i;
      EXPECT_EQ(every[i], ones && !longerRun ? 1 : 0) << "bar " << i;
    }
  }
}

TEST(ConditionalFunctions, InFormulas) {
  const SampleBars bars = MakeSampleBars(60);
  TGS gs;
  LoadSampleBars(gs, bars);
  ASSERT_TRUE(gs.CompileText("A:IF(C>O,1,0);B:SMA(C,3,1);X:=C;X:=SMA(X,3,1);"
                             "D:EXIST(C>O,5);E:RGB(0,0,255);F:CONST(C);"))
      << gs.ErrorText();
  const Series a = Values(gs.FindSeries("a"));
  const Series b = Values(gs.FindSeries("b"));
  ASSERT_EQ(a.size(), 60u);
  double sma = bars.close[0];
  for (int i = 0; i < 60; ++i) {
    EXPECT_EQ(a[i], bars.close[i] > bars.open[i] ? 1 : 0) << i;
    if (i > 0) sma = (bars.close[i] + 2 * sma) / 3;
    EXPECT_DOUBLE_EQ(b[i], sma) << i;
  }
  EXPECT_EQ(Values(gs.FindSeries("x")), b);  // the result may be its own argument
  double value = 0;
  ASSERT_TRUE(gs.ResolveConstant("e", value));
  EXPECT_EQ(value, 16711680);
  ASSERT_TRUE(gs.ResolveConstant("f", value));
  EXPECT_DOUBLE_EQ(value, bars.close.back());
}

}  // namespace
}  // namespace vorelin
