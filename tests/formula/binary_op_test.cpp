// BIAO: the per-bar rules of every operator with the no-value marker, and constant folding.
#include <gtest/gtest.h>

#include <limits>

#include "formula/binary_op.h"
#include "formula/interpreter.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;

class BiaoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::vector<double> a = {1, 2, 0.5, M, 3, -2.7, 5};
    const std::vector<double> b = {1, 3, 1, 1, 0, 1.5, 5.0000001};
    gs_.SetRawSeries("a", a.data(), static_cast<int>(a.size()));
    gs_.SetRawSeries("b", b.data(), static_cast<int>(b.size()));
  }
  std::vector<double> Series(const std::string& left, const std::string& op,
                             const std::string& right) {
    EXPECT_TRUE(Biao(gs_, "r", "biao", {left, op, right, "::", ""})) << gs_.ErrorText();
    return Values(gs_.FindSeries("r"));
  }
  double Constant(const std::string& left, const std::string& op, const std::string& right) {
    EXPECT_TRUE(Biao(gs_, "k", "biao", {left, op, right, "::", ""})) << gs_.ErrorText();
    double value = 0;
    EXPECT_TRUE(gs_.ResolveConstant("k", value));
    return value;
  }
  TGS gs_;
};

TEST_F(BiaoTest, SeriesRules) {
  struct Case {
    const char* op;
    std::vector<double> want;
  };
  const Case kCases[] = {
      {"=", {1, 0, 0, 0, 0, 0, 1}},
      {"!=", {0, 1, 1, 1, 1, 1, 1}},
      {"<", {0, 1, 1, M, 0, 1, 1}},
      {"<=", {1, 1, 1, M, 0, 1, 1}},
      {">", {0, 0, 0, M, 1, 0, 0}},
      {">=", {1, 0, 0, M, 1, 0, 0}},
      {"&", {1, 1, 0, M, 0, 0, 1}},
      {"+", {2, 5, 1.5, M, 3, -1.2, 10.0000001}},
      {"-", {0, -1, -0.5, M, 3, -4.2, 5 - 5.0000001}},
      {"*", {1, 6, 0.5, M, 0, -4.05, 5 * 5.0000001}},
      {"/", {1, 2.0 / 3, 0.5, M, M, -1.8, 5 / 5.0000001}},
      {"|", {1, 3, 1, 0, 3, -1, 5}},
      {"^", {0, 1, 1, M, 3, -1, 0}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.op);
    std::vector<double> got = Series("a", c.op, "b");
    ASSERT_EQ(got.size(), c.want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_DOUBLE_EQ(got[i], c.want[i]) << "bar " << i;
  }
}

TEST_F(BiaoTest, MarkerCases) {
  EXPECT_EQ(Series("a", "/", "0"), std::vector<double>(7, M));
  gs_.SetRawSeries("m", std::vector<double>(7, M).data(), 7);
  EXPECT_EQ(Series("m", "|", "1"), std::vector<double>(7, 0));
  EXPECT_EQ(Series("m", "+", "1"), std::vector<double>(7, M));
  EXPECT_EQ(Series("m", "=", "m"), std::vector<double>(7, 1));
  EXPECT_EQ(Series("", "-", "b")[1], -3);  // an empty left operand is 0
}

TEST_F(BiaoTest, ConstantsKeepTwoDecimals) {
  EXPECT_DOUBLE_EQ(Constant("10", "/", "4"), 2.5);
  EXPECT_DOUBLE_EQ(Constant("1", "/", "3"), 0.33);
  EXPECT_DOUBLE_EQ(Constant("0.5", "&", "1"), 0);
  EXPECT_DOUBLE_EQ(Constant("2", "&", "3"), 1);
  EXPECT_DOUBLE_EQ(Constant("2", "|", "1"), 3);
  EXPECT_DOUBLE_EQ(Constant("0.5", "|", "0"), 0);
  EXPECT_DOUBLE_EQ(Constant("6", "^", "3"), 5);
  EXPECT_DOUBLE_EQ(Constant("1", "=", "1.0000001"), 0);  // no tolerance between constants
  EXPECT_DOUBLE_EQ(Constant("1", "/", "0"), M);
  EXPECT_EQ(gs_.Constants().back(), (std::pair<std::string, std::string>{"k", "-10000000.00"}));
}

TEST_F(BiaoTest, OverflowsHaveNoValue) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<double> big = {1e308, -1e308, 2, inf, -inf, 1e-300, M};
  gs_.SetRawSeries("big", big.data(), 7);
  gs_.SetRawSeries("inf", std::vector<double>(7, inf).data(), 7);
  EXPECT_EQ(Series("big", "*", "10"), (std::vector<double>{M, M, 20, M, M, 1e-299, M}));
  EXPECT_EQ(Series("inf", "-", "inf"), std::vector<double>(7, M));
  EXPECT_EQ(Series("1e10", "/", "big")[5], M);  // 1e10 / 1e-300 overflows
  EXPECT_EQ(Series("big", "+", "big"), (std::vector<double>{M, M, 4, M, M, 2e-300, M}));
  EXPECT_DOUBLE_EQ(Constant("1e308", "*", "10"), M);
  EXPECT_DOUBLE_EQ(Constant("-1e308", "-", "1e308"), M);
  EXPECT_DOUBLE_EQ(Constant("1e308", "+", "1"), 1e308);
}

TEST_F(BiaoTest, Messages) {
  struct Case {
    std::vector<std::string> args;
    const char* want;
  };
  const Case kCases[] = {
      {{"a", "", "b"}, "表达式计算没有运算符!"},
      {{"a", "**", "b"}, "暂时不支持运算符号[**]错误!"},
      {{"a", "!", "b"}, "暂时不支持运算符号[!]错误!"},
      {{"nosuch", "+", "b"}, "表达式计算参数1:nosuch错误!"},
      {{"c", "+", "foo"}, "表达式计算参数1:c错误!"},
      {{"a", "+", "foo"}, "表达式计算参数2:foo错误!"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.want);
    EXPECT_FALSE(Biao(gs_, "bad", "biao", c.args));
    EXPECT_EQ(gs_.ErrorText(), c.want);
    EXPECT_EQ(gs_.FindSeries("bad"), nullptr);
  }
}

TEST(Biao, ThroughFormulas) {
  TGS gs;
  LoadSampleBars(gs, MakeSampleBars(20));
  ASSERT_TRUE(gs.CompileText("X:=10/4;Y:X*4;Z:=1/3*3;A:C>O;B:C=O;N:-C;D:C/0;E:(C/0)|1;")) << gs.ErrorText();
  double value = 0;
  ASSERT_TRUE(gs.ResolveConstant("x", value));
  EXPECT_EQ(value, 2.5);
  ASSERT_TRUE(gs.ResolveConstant("y", value));
  EXPECT_EQ(value, 10);
  ASSERT_TRUE(gs.ResolveConstant("z", value));
  EXPECT_EQ(value, 0.99);
  const Tbian* close = gs.FindSeries("close");
  const Tbian* open = gs.FindSeries("open");
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(gs.FindSeries("a")->values[i], close->values[i] > open->values[i] ? 1 : 0);
    EXPECT_EQ(gs.FindSeries("n")->values[i], -close->values[i]);
    EXPECT_EQ(gs.FindSeries("d")->values[i], M);
    EXPECT_EQ(gs.FindSeries("e")->values[i], 0);
  }
}

}  // namespace
}  // namespace vorelin
