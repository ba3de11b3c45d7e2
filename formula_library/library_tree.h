// What the formula tree on the "技术指标" tab shows and does, so the window only draws it:
// node texts, the menu caption, the delete question, and saving an edited formula.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formula_library/formula_store.h"

namespace vorelin {

inline constexpr int kCategoryNodeImage = 92;
inline constexpr int kFormulaNodeImage = 93;

struct LibraryTreeCategory {
  std::string name;                       // the level-0 node's text
  std::vector<std::string> formulaTexts;  // level-1 texts: name + " " + description
};

// Reads every shown category with its formulas. False with `error` set.
bool ReadLibraryTree(FormulaStore& store, std::vector<LibraryTreeCategory>& tree,
                     std::string& error);

// Name + " " + description.
std::string FormulaNodeText(const FormulaRow& row);
// The formula name of a level-1 node: its text up to the first blank, trimmed.
std::string FormulaNameOfNode(std::string_view nodeText);

// The first menu item's caption for the selected node's level (-1: none selected).
std::string NewFormulaCaption(int selectedLevel);
// "是否删除公式:" + name + "？"
std::string DeleteFormulaQuestion(std::string_view name);

// The selected node the editor was opened from.
struct SelectedNode {
  int level = 0;           // 0 category, 1 formula
  std::string text;        // the node's own text
  std::string parentText;  // the category's text for a formula node
};

// The editor's text for the node: the stored 内容 of a formula node's name, else empty.
bool EditorTextFor(FormulaStore& store, const SelectedNode& node, std::string& name,
                   std::string& text, std::string& error);

// Saves what the editor returned under the node's category (a formula node's parent, or
// the category node itself) and gives the node text the tree shows for it: the formula
// node takes it, a category node gets a new child with it. The row of a renamed formula's
// old name stays in the table. False with `error` set; nothing saved.
bool SaveFromEditor(FormulaStore& store, const SelectedNode& node, std::string_view name,
                    std::string_view description, std::string_view text,
                    std::string& nodeText, std::string& error);

// The text "加载公式" gives the chart for the named formula. False when there is nothing to
// load: no such row, or an empty 内容 (`error` then says which; a database failure gives
// SQLite's text).
bool FormulaTextToLoad(FormulaStore& store, std::string_view name, std::string& text,
                       std::string& error);

}  // namespace vorelin
