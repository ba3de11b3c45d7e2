#include "formula_library/parameter_rewrite.h"

#include <gtest/gtest.h>

#include "formula/builtin_formulas.h"
#include "formula/interpreter.h"
#include "formula_library/formula_test_run.h"
#include "formula/sample_bars.h"

namespace vorelin {
namespace {

class ParameterRewriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadSampleBars(pane_, bars_);
    ASSERT_TRUE(pane_.CompileText(BuiltinFormulas().TextOf("MACD"))) << pane_.ErrorText();
  }
  SampleBars bars_ = MakeSampleBars(80);
  TGS pane_;
};

TEST_F(ParameterRewriteTest, MacdOpensWithThreeRows) {
  ParameterAdjustment dialog(pane_);
  ASSERT_EQ(dialog.Rows().size(), 3u);
  const char* const kCaptions[] = {"short:", "long:", "mid:"};
  const int kPositions[] = {12, 26, 9};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(kCaptions[i]);
    EXPECT_EQ(dialog.Rows()[i].caption, kCaptions[i]);
    EXPECT_EQ(dialog.Rows()[i].rangeText(), "2--200");
    EXPECT_EQ(dialog.Rows()[i].position, kPositions[i]);
    EXPECT_EQ(dialog.Rows()[i].defaultValue, kPositions[i]);
  }
}

TEST_F(ParameterRewriteTest, RaisingShortRewritesItsLineAndRecomputesThePane) {
  ParameterAdjustment dialog(pane_);
  ASSERT_TRUE(dialog.Change(0, 13)) << pane_.ErrorText();
  EXPECT_EQ(dialog.Lines()[3], "SHORT:=INPUT(2,200,12,13)");
  EXPECT_EQ(pane_.SourceLines()[3], "SHORT:=INPUT(2,200,12,13)");
  EXPECT_EQ(pane_.ParamSlots()[0].value, 13);

  TGS expected;
  LoadSampleBars(expected, bars_);
  ASSERT_TRUE(expected.CompileText(BuiltinFormulas().TextOf("MACD"), "13"));
  EXPECT_EQ(Values(pane_.FindSeries("dif")), Values(expected.FindSeries("dif")));
  EXPECT_NE(Values(pane_.FindSeries("dif")), [this] {
    TGS plain;
    LoadSampleBars(plain, bars_);
    plain.CompileText(BuiltinFormulas().TextOf("MACD"));
    return Values(plain.FindSeries("dif"));
  }());

  dialog.RestoreDefaults();
  EXPECT_EQ(dialog.Lines()[3], "SHORT:=INPUT(2,200,12,12)");
  EXPECT_EQ(dialog.Lines()[4], "LONG:=INPUT(2,200,26,26)");
  EXPECT_EQ(dialog.Lines()[5], "MID:=INPUT(2,200,9,9)");
  EXPECT_EQ(dialog.Rows()[0].position, 12);
  EXPECT_EQ(pane_.ParamSlots()[0].value, 12);
}

TEST(ParameterRewrite, RowsStepDown25Pixels) {
  const ParameterRowLayout first = LayoutOfRow(0);
  EXPECT_EQ(first.captionTop, 23);
  EXPECT_EQ(first.editTop, 20);
  const ParameterRowLayout third = LayoutOfRow(2);
  EXPECT_EQ(third.captionTop, 73);
  EXPECT_EQ(third.editTop, 70);
  EXPECT_EQ(third.rangeTop, 73);
  EXPECT_EQ(third.editLeft, 56);
  EXPECT_EQ(third.upDownLeft, 105);
  EXPECT_EQ(third.rangeLeft, 125);
}

TEST(ParameterRewrite, LowerCaseDeclarationIsNotFound) {
  TGS pane;
  LoadTestSample(pane);
  ASSERT_TRUE(pane.CompileText("short:=input(2,200,12,12);\r\nX:EMA(C,SHORT);"));
  ParameterAdjustment dialog(pane);
  ASSERT_EQ(dialog.Rows().size(), 1u);
  const std::vector<std::string> before = dialog.Lines();
  EXPECT_FALSE(dialog.Change(0, 20));
  EXPECT_EQ(dialog.Lines(), before);
  EXPECT_EQ(pane.ParamSlots()[0].value, 12);
}

TEST(ParameterRewrite, OtherStatementsOnTheLineGoWithIt) {
  std::vector<std::string> lines = {"A:C;", "N:=INPUT(1,9,3,3,'天'); B:O;", "N:=INPUT(1,9,3,3);"};
  const ParameterRow row{"n:", 1, 9, 3, 3};
  EXPECT_TRUE(RewriteParameterLine(lines, row, 5));
  EXPECT_EQ(lines, (std::vector<std::string>{"A:C;", "N:=INPUT(1,9,3,5)", "N:=INPUT(1,9,3,3);"}));
}

TEST(ParameterRewrite, NoParametersNoRows) {
  TGS pane;
  LoadTestSample(pane);
  ASSERT_TRUE(pane.CompileText("X:C;"));
  ParameterAdjustment dialog(pane);
  EXPECT_TRUE(dialog.Rows().empty());
  EXPECT_FALSE(dialog.Change(0, 1));
}

TEST(ParameterRewrite, AValueTheFormulaCannotUseReportsThePanesError) {
  TGS pane;
  LoadTestSample(pane);
  ASSERT_TRUE(pane.CompileText("N:=INPUT(0,9,3,3);\r\nX:SAR(N,2,20);"));
  ParameterAdjustment dialog(pane);
  EXPECT_FALSE(dialog.Change(0, 0));
  EXPECT_NE(pane.ErrorText().find("SAR"), std::string::npos) << pane.ErrorText();
  EXPECT_TRUE(dialog.Change(0, 3)) << pane.ErrorText();
}

}  // namespace
}  // namespace vorelin
