#include "formula_library/formula_test_run.h"

#include <gtest/gtest.h>

#include "formula/interpreter.h"
#include "formula_library/editor_logic.h"

namespace vorelin {
namespace {

TEST(FormulaTestRun, MovingAveragePassesWithTheMeanOfTheFirstFiveCloses) {
  const TestRunResult result = RunFormulaTest("MA5:MA(C,5);");
  ASSERT_TRUE(result.ok) << result.error;
  ASSERT_EQ(result.program.size(), 1u);
  EXPECT_EQ(TestRunText(result), result.program[0] + "\r\n===============\r\n测试通过");
  TGS gs;
  LoadTestSample(gs);
  ASSERT_TRUE(gs.CompileText("MA5:MA(C,5);")) << gs.ErrorText();
  const Tbian* ma = gs.FindSeries("ma5");
  ASSERT_NE(ma, nullptr);
  ASSERT_EQ(ma->count, 6);
  EXPECT_NEAR(ma->values[4], 20.964, 1e-9);
}

TEST(FormulaTestRun, CompileErrorShowsAnEmptyProgramAndTheMessage) {
  const TestRunResult result = RunFormulaTest("X:FOO(C)*2;");
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.program.empty());
  EXPECT_EQ(result.error, "第1行 函数:FOO 尚不支持!");
  EXPECT_EQ(result.errorLine, 1);
  EXPECT_EQ(TestRunText(result),
            "===============\r\n第1行 函数:FOO 尚不支持!\r\n===============\r\n测试错误");
}

TEST(FormulaTestRun, RunErrorShowsTheCompiledLineAndTheLineReport) {
  const TestRunResult result = RunFormulaTest("A:C;\r\n\r\nX:FOO(1);");
  EXPECT_FALSE(result.ok);
  ASSERT_EQ(result.program.size(), 2u);
  EXPECT_EQ(result.program[1], "X:FOO(1)");
  EXPECT_EQ(result.error.find("不存在函数:foo !"), 0u) << result.error;
  EXPECT_NE(result.error.find("第2行发现错误:"), std::string::npos) << result.error;
  EXPECT_EQ(result.errorLine, 3) << "the statement's source line, blank lines counted";
  const std::string text = TestRunText(result);
  EXPECT_EQ(text.rfind("===============\r\n测试错误"), text.size() - 29);
}

TEST(FormulaTestRun, AFormulaCallWithASeriesArgumentFailsInTheRun) {
  // The interpreter checks a formula call's arguments before it looks the formula up.
  const TestRunResult result = RunFormulaTest("X:FOO(C);");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.program, std::vector<std::string>{"X:FOO(C)"});
  EXPECT_EQ(result.error, "foo(c)中的变量未定义!");
}

TEST(FormulaTestRun, SampleRecordsGiveCapitalBreadthAndQuote) {
  struct Case {
    const char* formula;
    double want;
  };
  const Case kCases[] = {
      {"X:CAPITAL;", 31053580.8},   {"X:TOTALCAPITAL;", 51233505.28},
      {"X:ADVANCE;", 1258},         {"X:DECLINE;", 419},
      {"X:DYNAINFO(3);", 20.39},    {"X:FINANCE(7);", 3105358080.0},
      {"X:C;", 20.44},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.formula);
    TGS gs;
    LoadTestSample(gs);
    ASSERT_TRUE(gs.CompileText(c.formula)) << gs.ErrorText();
    double value = 0;
    const Tbian* series = gs.FindSeries("x");
    if (series != nullptr) value = series->values[series->count - 1];
    else ASSERT_TRUE(gs.ResolveConstant("x", value));
    EXPECT_NEAR(value, c.want, 0.006);
  }
}

TEST(FormulaTestRun, StoredFormulaErrors) {
  EXPECT_EQ(StoredFormulaError("MYMA", "MA5:MA(C,5);"), "");
  EXPECT_EQ(StoredFormulaError("BAD", "X:FOO(C)*2;"), "第1行 函数:FOO 尚不支持!");
  EXPECT_EQ(StoredFormulaError("EMPTY", " \r\n"), "公式EMPTY的内容为空!");
  EXPECT_EQ(StoredFormulaError("HUGE", std::string(300 * 1024, ' ') + "X:C;"),
            "公式文本超过256KB,无法编译!");
}

}  // namespace
}  // namespace vorelin
