#include "formula_library/library_tree.h"

#include "formula/function_table.h"
#include "formula/source.h"
#include "formula_library/formula_test_run.h"

namespace vorelin {

bool ReadLibraryTree(FormulaStore& store, std::vector<LibraryTreeCategory>& tree,
                     std::string& error) {
  std::vector<FormulaCategory> categories;
  if (!store.Categories(categories, error)) return false;
  std::vector<LibraryTreeCategory> filled;
  for (const FormulaCategory& category : categories) {
    LibraryTreeCategory node{category.name, {}};
    std::vector<FormulaRow> rows;
    if (!store.FormulasOf(category.name, rows, error)) return false;
    for (const FormulaRow& row : rows) node.formulaTexts.push_back(FormulaNodeText(row));
    filled.push_back(std::move(node));
  }
  tree = std::move(filled);
  return true;
}

std::string FormulaNodeText(const FormulaRow& row) { return row.name + " " + row.description; }

std::string FormulaNameOfNode(std::string_view nodeText) {
  return std::string(TrimControl(nodeText.substr(0, nodeText.find(' '))));
}

std::string NewFormulaCaption(int selectedLevel) {
  return selectedLevel <= 0 ? "新建指标" : "编辑指标";
}

std::string DeleteFormulaQuestion(std::string_view name) {
  return "是否删除公式:" + std::string(name) + "？";
}

bool EditorTextFor(FormulaStore& store, const SelectedNode& node, std::string& name,
                   std::string& text, std::string& error) {
  name.clear();
  text.clear();
  if (node.level == 0) return true;
  name = FormulaNameOfNode(node.text);
  FormulaRow row;
  bool found = false;
  if (!store.Find(name, row, found, error)) return false;
  if (found) text = row.text;
  return true;
}

bool SaveFromEditor(FormulaStore& store, const SelectedNode& node, std::string_view name,
                    std::string_view description, std::string_view text,
                    std::string& nodeText, std::string& error) {
  FormulaRow row;
  row.name = StoredFormulaName(name);
  row.description = std::string(description);
  row.text = std::string(text);
  row.category = node.level == 0 ? node.text : node.parentText;
  if (!store.Save(row, error)) return false;
  nodeText = FormulaNodeText(row);
  return true;
}

bool FormulaTextToLoad(FormulaStore& store, std::string_view name, std::string& text,
                       std::string& error) {
  FormulaRow row;
  bool found = false;
  if (!store.Find(name, row, found, error)) return false;
  if (!found) {
    error = MissingLibraryFormulaMessage(name);
    return false;
  }
  if (TrimControl(row.text).empty()) {
    error = EmptyFormulaMessage(name);
    return false;
  }
  text = row.text;
  return true;
}

}  // namespace vorelin
