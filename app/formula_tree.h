// `GSView`, the tree of the user's formula library on the "技术指标" panel: categories with
// their formulas, and its popup (新建指标/编辑指标, 加载公式, 删除公式). Double-clicking a formula
// loads it into the chart's selected pane.
#pragma once

#include <QAction>
#include <QMenu>
#include <QTreeWidget>
#include <functional>
#include <string>

#include "common/message_sink.h"
#include "formula_library/library_tree.h"

namespace vorelin {

class FormulaTree final : public QTreeWidget {
  Q_OBJECT

 public:
  // `load` hands a formula's name and text to the chart.
  using Loader = std::function<void(const std::string& name, const std::string& text)>;

  FormulaTree(FormulaStore& store, MessageSink& messages, Loader load, QWidget* parent = nullptr);

  // Fills the tree from the store once. False with the reason shown.
  bool Fill();

  // The popup as it opens for the current node (its first caption set by the node's level).
  QMenu* Popup();
  // The popup's commands on the current node.
  void NewOrEditClick();
  void LoadClick();
  void DeleteClick();

  QAction* actNew;
  QAction* actLoad;
  QAction* actDelete;

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  SelectedNode NodeOf(const QTreeWidgetItem& item) const;
  void SetFormulaNode(QTreeWidgetItem& item, const std::string& text) const;

  FormulaStore& store_;
  MessageSink& messages_;
  Loader load_;
  QMenu* popup_;
};

}  // namespace vorelin
