#include "formula_library/library_tree.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace vorelin {
namespace {

class LibraryTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(FormulaStore::CreateWithDefaults(FormulaStore::PathIn(folder_.Path()), error));
    ASSERT_TRUE(store_.Open(FormulaStore::PathIn(folder_.Path()), error)) << error;
  }
  TempFolder folder_;
  FormulaStore store_;
};

TEST_F(LibraryTreeTest, TreeShowsCategoriesWithNameAndDescriptionNodes) {
  std::vector<LibraryTreeCategory> tree;
  std::string error;
  ASSERT_TRUE(ReadLibraryTree(store_, tree, error)) << error;
  ASSERT_EQ(tree.size(), 5u);
  EXPECT_EQ(tree[0].name, "常用");
  EXPECT_EQ(tree[0].formulaTexts, std::vector<std::string>{"MYMA 三条均线"});
  EXPECT_TRUE(tree[4].formulaTexts.empty());
}

TEST(LibraryTreeTexts, NodeNamesCaptionsAndQuestion) {
  EXPECT_EQ(FormulaNameOfNode("MYMA 三条均线"), "MYMA");
  EXPECT_EQ(FormulaNameOfNode("MYMA"), "MYMA");
  EXPECT_EQ(FormulaNameOfNode("MYMA "), "MYMA");
  EXPECT_EQ(NewFormulaCaption(-1), "新建指标");
  EXPECT_EQ(NewFormulaCaption(0), "新建指标");
  EXPECT_EQ(NewFormulaCaption(1), "编辑指标");
  EXPECT_EQ(DeleteFormulaQuestion("MYMA"), "是否删除公式:MYMA？");
}

TEST_F(LibraryTreeTest, SavingFromACategoryNodeFilesTheFormulaThere) {
  std::string nodeText, error;
  ASSERT_TRUE(SaveFromEditor(store_, {0, "常用", ""}, " myind", "我的", "X:C;", nodeText, error));
  EXPECT_EQ(nodeText, "MYIND 我的");
  std::vector<LibraryTreeCategory> tree;
  ASSERT_TRUE(ReadLibraryTree(store_, tree, error));
  EXPECT_EQ(tree[0].formulaTexts.back(), "MYIND 我的");
}

TEST_F(LibraryTreeTest, EditingAFormulaNodeRenamesIntoANewRowOfItsCategory) {
  SelectedNode node{1, "MYMA 三条均线", "常用"};
  std::string name, text, nodeText, error;
  ASSERT_TRUE(EditorTextFor(store_, node, name, text, error));
  EXPECT_EQ(name, "MYMA");
  EXPECT_NE(text.find("TECHNAME:=MYMA;"), std::string::npos);
  ASSERT_TRUE(SaveFromEditor(store_, node, "MYMA2", "改名", text, nodeText, error));
  EXPECT_EQ(nodeText, "MYMA2 改名");
  std::vector<LibraryTreeCategory> tree;
  ASSERT_TRUE(ReadLibraryTree(store_, tree, error));
  EXPECT_EQ(tree[0].formulaTexts,
            (std::vector<std::string>{"MYMA 三条均线", "MYMA2 改名"}));
}

TEST_F(LibraryTreeTest, AnUnknownNameOpensAnEmptyTextAndLoadsNothing) {
  std::string name, text = "old", error;
  ASSERT_TRUE(EditorTextFor(store_, {1, "NOSUCH 描述", "常用"}, name, text, error));
  EXPECT_EQ(name, "NOSUCH");
  EXPECT_TRUE(text.empty());
  EXPECT_FALSE(FormulaTextToLoad(store_, "NOSUCH", text, error));
  EXPECT_EQ(error, "公式库中没有公式:NOSUCH");
}

TEST_F(LibraryTreeTest, LoadGivesTheTextOrSaysItIsEmpty) {
  std::string text, nodeText, error;
  ASSERT_TRUE(FormulaTextToLoad(store_, "MYMA", text, error)) << error;
  EXPECT_NE(text.find("MA1:MA(CLOSE,N1)"), std::string::npos);
  ASSERT_TRUE(SaveFromEditor(store_, {0, "常用", ""}, "BLANK", "", "  ", nodeText, error));
  EXPECT_FALSE(FormulaTextToLoad(store_, "BLANK", text, error));
  EXPECT_EQ(error, "公式BLANK的内容为空!");
}

}  // namespace
}  // namespace vorelin
