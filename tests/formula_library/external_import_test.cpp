#include "formula_library/external_import.h"

#include <gtest/gtest.h>

#include "formula_library/formula_test_run.h"

namespace vorelin {
namespace {

TEST(ExternalImport, StepsOneToFive) {
  ExternalFormula source;
  source.name = "MYCROSS";
  source.description = "金叉";
  source.text = "A:=MA(C,N)\r\n>MA(C,M);\r\nB:=A && C>O AND V>0;\r\nA and B;";
  for (int i = 0; i < 9; ++i) {
    source.parameters.push_back({"P" + std::to_string(i), "1.00", "100.00", "5.00"});
  }
  source.parameters[0] = {"N", "2.00", "50.00", "12.00"};
  source.subChart = true;
  source.notes = "金叉买入\r\n\r\n短\r\nx\r\n短句";
  const ImportedFormula imported = ImportExternalFormula(source);
  EXPECT_EQ(imported.name, "MYCROSS");
  EXPECT_EQ(imported.description, "金叉");
  EXPECT_EQ(imported.text,
            "DRAWK:=FALSE;\r\n"
            "N:=INPUT(2,50,12,12);\r\n"
            "P1:=INPUT(1,100,5,5);\r\nP2:=INPUT(1,100,5,5);\r\nP3:=INPUT(1,100,5,5);\r\n"
            "P4:=INPUT(1,100,5,5);\r\nP5:=INPUT(1,100,5,5);\r\nP6:=INPUT(1,100,5,5);\r\n"
            "P7:=INPUT(1,100,5,5);\r\n"
            "A:=MA(C,N)>MA(C,M);\r\n"
            "B:=A & C>O&V>0;\r\n"
            "A and B;\r\n"
            "*金叉买入\r\n"
            "*短句");
}

TEST(ExternalImport, TheLastLineWithoutSemicolonStaysAndRealFractionsKeepTheirDigits) {
  ExternalFormula source;
  source.text = "X:C\r\n+O";
  source.parameters = {{"N", "0.50", "10.00", "2.005"}};
  EXPECT_EQ(ImportExternalFormula(source).text, "N:=INPUT(0.50,10,2.005,2.005);\r\nX:C+O");
}

TEST(ExternalImport, ParsesTheExportedText) {
  const char* exported =
      "名称:MYCROSS\r\n描述:金叉\r\n副图\r\n参数:N, 2.00, 50.00, 12.00\r\n参数:M,1,100,26\r\n"
      "公式:\r\nA:MA(C,N);\r\nB:MA(C,M);\r\n用法:\r\n金叉买入\r\n";
  ExternalFormula formula;
  std::string error;
  ASSERT_TRUE(ParseExternalFormula(exported, formula, error)) << error;
  EXPECT_EQ(formula.name, "MYCROSS");
  EXPECT_EQ(formula.description, "金叉");
  EXPECT_TRUE(formula.subChart);
  ASSERT_EQ(formula.parameters.size(), 2u);
  EXPECT_EQ(formula.parameters[0].name, "N");
  EXPECT_EQ(formula.parameters[0].defaultValue, "12.00");
  EXPECT_EQ(formula.text, "A:MA(C,N);\r\nB:MA(C,M);");
  EXPECT_EQ(formula.notes, "金叉买入");
  const ImportedFormula imported = ImportExternalFormula(formula);
  EXPECT_TRUE(RunFormulaTest(imported.text).ok) << RunFormulaTest(imported.text).error;
}

TEST(ExternalImport, PlainTextIsAllFormulaAndEmptyTextIsRefused) {
  ExternalFormula formula;
  std::string error;
  ASSERT_TRUE(ParseExternalFormula("X:C;\r\n名称:不是头\r\n", formula, error));
  EXPECT_EQ(formula.text, "X:C;\r\n名称:不是头");
  EXPECT_TRUE(formula.name.empty());
  EXPECT_FALSE(ParseExternalFormula("名称:A\r\n公式:\r\n \r\n", formula, error));
  EXPECT_EQ(error, "导入的文本中没有公式!");
  EXPECT_EQ(formula.text, "X:C;\r\n名称:不是头") << "unchanged on failure";
}

}  // namespace
}  // namespace vorelin
