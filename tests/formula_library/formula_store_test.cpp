#include "formula_library/formula_store.h"

#include <gtest/gtest.h>

#include <fstream>

#include "practice/sqlite_database.h"
#include "support/temp_folder.h"

namespace vorelin {
namespace {

class FormulaStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(FormulaStore::CreateWithDefaults(path_, error)) << error;
    ASSERT_TRUE(store_.Open(path_, error)) << error;
  }
  std::vector<FormulaRow> RowsOf(const std::string& category) {
    std::vector<FormulaRow> rows;
    std::string error;
    EXPECT_TRUE(store_.FormulasOf(category, rows, error)) << error;
    return rows;
  }
  bool Has(const std::string& name) {
    FormulaRow row;
    bool found = false;
    std::string error;
    EXPECT_TRUE(store_.Find(name, row, found, error)) << error;
    return found;
  }

  TempFolder folder_;
  std::filesystem::path path_ = FormulaStore::PathIn(folder_.Path());
  FormulaStore store_;
};

TEST_F(FormulaStoreTest, NewStoreHasTheDefaultCategoriesInOrderAndTheExamples) {
  std::vector<FormulaCategory> categories;
  std::string error;
  ASSERT_TRUE(store_.Categories(categories, error)) << error;
  std::vector<std::string> names;
  for (const FormulaCategory& c : categories) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"常用", "趋势", "摆动", "量能", "自定义"}));
  EXPECT_TRUE(RowsOf("自定义").empty());  // a category without formulas
  ASSERT_EQ(RowsOf("常用").size(), 1u);
  EXPECT_EQ(RowsOf("常用")[0].name, "MYMA");
  EXPECT_EQ(RowsOf("常用")[0].type, 1);
}

TEST_F(FormulaStoreTest, CategoriesFollowOrderColumnAndKindOne) {
  // Rows written by another tool: out of order, and one of another kind.
  SqliteDatabase db;
  std::string error;
  ASSERT_TRUE(db.Open(path_, false, error)) << error;
  ASSERT_TRUE(db.Execute("DELETE FROM [公式分类]", {}, error)) << error;
  for (const auto& [name, kind, order] :
       std::vector<std::tuple<std::string, std::string, std::string>>{
           {"乙", "1", "20"}, {"隐藏", "2", "1"}, {"甲", "1", "10"}, {"丙", "1", "30"}}) {
    ASSERT_TRUE(db.Execute("INSERT INTO [公式分类] VALUES (?1, ?2, ?3)", {name, kind, order},
                           error));
  }
  std::vector<FormulaCategory> categories;
  ASSERT_TRUE(store_.Categories(categories, error)) << error;
  ASSERT_EQ(categories.size(), 3u);
  EXPECT_EQ(categories[0].name, "甲");
  EXPECT_EQ(categories[1].name, "乙");
  EXPECT_EQ(categories[2].name, "丙");
  EXPECT_EQ(categories[2].order, 30);
}

TEST_F(FormulaStoreTest, SaveUpperCasesTheNameAndUpdatesTheRowOfThatName) {
  std::string error;
  ASSERT_TRUE(store_.Save({"myma2", "描述一", "A:C;", "常用", 7}, error)) << error;
  EXPECT_TRUE(Has("MYMA2"));
  EXPECT_FALSE(Has("myma2"));
  ASSERT_TRUE(store_.Save({"MyMa2", "描述二", "B:O;", "趋势", 1}, error)) << error;
  FormulaRow row;
  bool found = false;
  ASSERT_TRUE(store_.Find("MYMA2", row, found, error));
  ASSERT_TRUE(found);
  EXPECT_EQ(row.description, "描述二");
  EXPECT_EQ(row.text, "B:O;");
  EXPECT_EQ(row.category, "趋势");
  EXPECT_EQ(row.type, 1);
  std::vector<FormulaRow> rows = RowsOf("常用");
  EXPECT_EQ(rows.size(), 1u) << "the update moved the row, it did not add one";
}

TEST_F(FormulaStoreTest, NamesAreTrimmedAndMayNotHoldBlanks) {
  // The tree finds a formula by its node text up to the first blank: "MY MA" could never
  // be loaded or deleted again.
  std::string error;
  EXPECT_FALSE(store_.Save({"MY MA", "", "X:C;", "常用", 1}, error));
  EXPECT_EQ(error, "公式名称不能包含空格!");
  EXPECT_FALSE(store_.Save({"  ", "", "X:C;", "常用", 1}, error));
  EXPECT_EQ(error, "请输入公式名称!");
  ASSERT_TRUE(store_.Save({" mine ", "", "X:C;", "常用", 1}, error)) << error;
  EXPECT_TRUE(Has("MINE"));
  EXPECT_EQ(RowsOf("常用").size(), 2u);
}

TEST_F(FormulaStoreTest, RenamingLeavesBothRowsAndReopeningListsBoth) {
  std::string error;
  ASSERT_TRUE(store_.Save({"MYMA2", "三条均线", "MA1:MA(C,5);", "常用", 1}, error)) << error;
  EXPECT_TRUE(Has("MYMA"));
  EXPECT_TRUE(Has("MYMA2"));
  FormulaStore reopened;
  ASSERT_TRUE(reopened.Open(path_, error)) << error;
  std::vector<FormulaRow> rows;
  ASSERT_TRUE(reopened.FormulasOf("常用", rows, error));
  EXPECT_EQ(rows.size(), 2u);
}

TEST_F(FormulaStoreTest, NamesWithQuotesAreStoredFoundAndRemovedSafely) {
  std::string error;
  const std::string name = "O'NEIL";
  ASSERT_TRUE(store_.Save({name, "引号'描述", "X:C;", "自定义'", 1}, error)) << error;
  EXPECT_TRUE(Has(name));
  ASSERT_EQ(RowsOf("自定义'").size(), 1u);
  // An injection attempt is only a name that does not exist.
  ASSERT_TRUE(store_.Remove("X' OR '1'='1", error)) << error;
  EXPECT_TRUE(Has("MYMA"));
  ASSERT_TRUE(store_.Remove(name, error)) << error;
  EXPECT_FALSE(Has(name));
}

TEST(FormulaStoreOpen, MissingFileIsReportedAndNotCreated) {
  TempFolder folder;
  FormulaStore store;
  std::string error;
  const auto path = FormulaStore::PathIn(folder.Path());
  EXPECT_FALSE(store.Open(path, error));
  EXPECT_EQ(error, kMissingStoreMessage);
  EXPECT_FALSE(std::filesystem::exists(path));
  std::vector<FormulaCategory> categories;
  EXPECT_FALSE(store.Categories(categories, error));
}

TEST(FormulaStoreOpen, AFileOfAnotherKindIsRefused) {
  TempFolder folder;
  const auto path = FormulaStore::PathIn(folder.Path());
  std::ofstream(path) << "not a database";
  FormulaStore store;
  std::string error;
  EXPECT_FALSE(store.Open(path, error));
  EXPECT_FALSE(store.IsOpen());
}

TEST(FormulaStoreCreate, AnExistingStoreIsKept) {
  TempFolder folder;
  const auto path = FormulaStore::PathIn(folder.Path());
  std::string error;
  ASSERT_TRUE(FormulaStore::CreateWithDefaults(path, error));
  {
    FormulaStore store;
    ASSERT_TRUE(store.Open(path, error));
    ASSERT_TRUE(store.Remove("MYMA", error));
  }
  ASSERT_TRUE(FormulaStore::CreateWithDefaults(path, error));
  FormulaStore store;
  ASSERT_TRUE(store.Open(path, error));
  FormulaRow row;
  bool found = true;
  ASSERT_TRUE(store.Find("MYMA", row, found, error));
  EXPECT_FALSE(found);
}

TEST(FormulaStoreCreate, AnUnwritablePlaceGivesAnError) {
  TempFolder folder;
  std::string error;
  EXPECT_FALSE(FormulaStore::CreateWithDefaults(folder.Path() / "no-such-dir" / "Stock.Bin", error));
  EXPECT_NE(error.find("无法创建公式库"), std::string::npos);
}

}  // namespace
}  // namespace vorelin
