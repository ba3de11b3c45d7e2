#include "formula_library/pane_formula_edit.h"

#include <gtest/gtest.h>

#include "common/text_file.h"
#include "formula/interpreter.h"
#include "formula_library/formula_test_run.h"
#include "support/temp_folder.h"

namespace vorelin {
namespace {

TEST(PaneFormulaEdit, OpensUpperCasedWithTheFileInTheCaption) {
  TGS pane;
  LoadTestSample(pane);
  ASSERT_TRUE(pane.CompileText("a:ma(c,5);\r\ndrawtext(c>o,l,'up');"));
  EXPECT_EQ(EditFunc1Text(pane), "A:MA(C,5);\r\nDRAWTEXT(C>O,L,'UP');");
  EXPECT_EQ(EditFunc1Caption("MACD.Wfc"), "公式编辑器 - MACD.Wfc");
  EXPECT_EQ(CaretStatusText(3, 12), "行:3  列:12");
}

TEST(PaneFormulaEdit, OkSavesToTheFormulaFileAndCompilesIt) {
  TempFolder root;
  TGS pane;
  LoadTestSample(pane);
  ASSERT_TRUE(pane.CompileText("A:C;"));
  pane.SetFileName("MINE.Wfc");
  std::string error;
  ASSERT_TRUE(ApplyEditedFormula(pane, "B:MA(C,2);", root.Path(), error)) << error;
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines(root.Path() / "MINE.Wfc", lines));
  EXPECT_EQ(lines, std::vector<std::string>{"B:MA(C,2);"});
  EXPECT_NE(pane.FindSeries("b"), nullptr);
  EXPECT_EQ(pane.FileName(), (root.Path() / "MINE.Wfc").string());

  // A second OK writes the same file again, now named by its full path.
  ASSERT_TRUE(ApplyEditedFormula(pane, "C1:C;", root.Path(), error)) << error;
  ASSERT_TRUE(ReadTextLines(root.Path() / "MINE.Wfc", lines));
  EXPECT_EQ(lines, std::vector<std::string>{"C1:C;"});
}

TEST(PaneFormulaEdit, WithoutFileTheTextIsCompiledAndErrorsAreReported) {
  TempFolder root;
  TGS pane;
  LoadTestSample(pane);
  ASSERT_TRUE(pane.CompileText("A:C;"));
  std::string error;
  EXPECT_FALSE(ApplyEditedFormula(pane, "X:FOO(C)*2;", root.Path(), error));
  EXPECT_EQ(error, "第1行 函数:FOO 尚不支持!");
  EXPECT_NE(pane.FindSeries("a"), nullptr) << "the pane keeps its formula";
  ASSERT_TRUE(ApplyEditedFormula(pane, "B:O;", root.Path(), error)) << error;
  EXPECT_TRUE(std::filesystem::is_empty(root.Path()));
}

}  // namespace
}  // namespace vorelin
