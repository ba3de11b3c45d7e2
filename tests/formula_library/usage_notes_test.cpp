#include "formula_library/usage_notes.h"

#include <gtest/gtest.h>

#include "common/text_file.h"
#include "formula/builtin_formulas.h"
#include "formula/interpreter.h"
#include "formula_library/editor_logic.h"
#include "formula_library/formula_store.h"
#include "formula_library/formula_test_run.h"
#include "support/temp_folder.h"

namespace vorelin {
namespace {

TEST(UsageNotes, NoteLinesAreStarredAndAtLeastTwoCharacters) {
  const std::vector<std::string> lines = {"A:C;", "*一", " *two ", "*", "#隐藏", "* "};
  EXPECT_EQ(NotesOf(lines), (std::vector<std::string>{"一", "two"}));
  EXPECT_EQ(SourceWithNotes(lines, "新\r\n\r\n  second  "),
            (std::vector<std::string>{"A:C;", "*", "#隐藏", "* ", "*新", "*second"}));
  EXPECT_EQ(NotesCaption("KDJ.Wfc"), "KDJ.Wfc指标用法");
}

TEST(UsageNotes, KdjShowsFiveAndSavingAfterDeletingTwoLeavesThree) {
  TempFolder root;
  TGS pane;
  LoadTestSample(pane);
  ASSERT_TRUE(pane.CompileText(BuiltinFormulas().TextOf("KDJ")));
  pane.SetFileName("KDJ.Wfc");
  const std::vector<std::string> notes = NotesOf(pane.SourceLines());
  ASSERT_EQ(notes.size(), 5u);
  EXPECT_EQ(notes[0].substr(0, 2), "1.");

  const std::string kept = notes[0] + "\r\n" + notes[2] + "\r\n" + notes[4];
  std::string error;
  ASSERT_TRUE(SaveNotes(pane, kept, {root.Path(), nullptr, ""}, error)) << error;
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines(root.Path() / "KDJ.Wfc", lines));
  ASSERT_GE(lines.size(), 3u);
  int starred = 0;
  for (const std::string& line : lines) starred += IsNoteLine(line);
  EXPECT_EQ(starred, 3);
  EXPECT_EQ(lines[lines.size() - 3], "*" + notes[0]);
  EXPECT_EQ(lines[lines.size() - 1], "*" + notes[4]);
  EXPECT_EQ(lines[0], "TECHNAME:=KDJ;");
  EXPECT_EQ(pane.FileName(), (root.Path() / "KDJ.Wfc").string()) << "recompiled from the file";
  EXPECT_EQ(NotesOf(pane.SourceLines()).size(), 3u);
  EXPECT_NE(pane.FindSeries("k"), nullptr);
}

TEST(UsageNotes, FormulasWithoutFileNameSaveByTheirName) {
  TempFolder root;
  TGS pane;
  LoadTestSample(pane);
  ASSERT_TRUE(pane.CompileText("TECHNAME:=MINE;\r\nX:C;"));
  EXPECT_EQ(NotesFilePath(pane, root.Path()), root.Path() / "MINE.Wfc");
  ASSERT_TRUE(pane.CompileText("TECHNAME:=../X;\r\nX:C;"));
  EXPECT_EQ(NotesFilePath(pane, root.Path()), root.Path() / "公式.Wfc") << "a name is no path";
}

TEST(UsageNotes, LibraryFormulasSaveIntoTheirRow) {
  TempFolder root;
  const auto path = FormulaStore::PathIn(root.Path());
  std::string error;
  ASSERT_TRUE(FormulaStore::CreateWithDefaults(path, error));
  FormulaStore store;
  ASSERT_TRUE(store.Open(path, error));
  FormulaRow row;
  bool found = false;
  ASSERT_TRUE(store.Find("MYMA", row, found, error));
  TGS pane;
  LoadTestSample(pane);
  ASSERT_TRUE(pane.CompileText(row.text));
  ASSERT_TRUE(SaveNotes(pane, "新的用法", {root.Path(), &store, "MYMA"}, error)) << error;
  ASSERT_TRUE(store.Find("MYMA", row, found, error));
  const std::vector<std::string> lines = SplitEditorLines(row.text);
  EXPECT_EQ(lines.back(), "*新的用法");
  EXPECT_EQ(NotesOf(lines).size(), 1u);
  EXPECT_EQ(row.category, "常用");
  EXPECT_FALSE(std::filesystem::exists(root.Path() / "MYMA.Wfc"));
  EXPECT_FALSE(SaveNotes(pane, "x", {root.Path(), &store, "GONE"}, error));
  EXPECT_EQ(error, "公式库中没有公式:GONE");
}

}  // namespace
}  // namespace vorelin
