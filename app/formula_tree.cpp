#include "app/formula_tree.h"

#include <QContextMenuEvent>
#include <QStyle>

#include "app/formula_editor.h"

namespace vorelin {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

int LevelOf(const QTreeWidgetItem* item) {
  if (item == nullptr) return -1;
  return item->parent() == nullptr ? 0 : 1;
}

}  // namespace

FormulaTree::FormulaTree(FormulaStore& store, MessageSink& messages, Loader load, QWidget* parent)
    : QTreeWidget(parent), store_(store), messages_(messages), load_(std::move(load)) {
  setObjectName("GSView");
  setHeaderHidden(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  popup_ = new QMenu(this);
  popup_->setObjectName("pmGSView");
  actNew = popup_->addAction(Q(NewFormulaCaption(-1)));
  actNew->setObjectName("actNewFormula");
  actLoad = popup_->addAction(QString::fromUtf8("加载公式"));
  actLoad->setObjectName("actLoadFormula");
  actDelete = popup_->addAction(QString::fromUtf8("删除公式"));
  actDelete->setObjectName("actDeleteFormula");
  connect(actNew, &QAction::triggered, this, &FormulaTree::NewOrEditClick);
  connect(actLoad, &QAction::triggered, this, &FormulaTree::LoadClick);
  connect(actDelete, &QAction::triggered, this, &FormulaTree::DeleteClick);
  connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (LevelOf(item) != 1) return;
    setCurrentItem(item);
    LoadClick();
  });
}

bool FormulaTree::Fill() {
  std::vector<LibraryTreeCategory> categories;
  std::string error;
  if (!ReadLibraryTree(store_, categories, error)) {
    messages_.Show(error);
    return false;
  }
  const QIcon category_icon = style()->standardIcon(QStyle::SP_DirIcon);
  for (const LibraryTreeCategory& category : categories) {
    auto* node = new QTreeWidgetItem(this, {Q(category.name)});
    node->setIcon(0, category_icon);
    for (const std::string& text : category.formulaTexts) SetFormulaNode(*new QTreeWidgetItem(node), text);
    node->setExpanded(true);
  }
  return true;
}

void FormulaTree::SetFormulaNode(QTreeWidgetItem& item, const std::string& text) const {
  item.setText(0, Q(text));
  // A narrow panel cuts long descriptions short.
  item.setToolTip(0, Q(text));
  item.setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
}

SelectedNode FormulaTree::NodeOf(const QTreeWidgetItem& item) const {
  SelectedNode node;
  node.level = LevelOf(&item);
  node.text = item.text(0).toStdString();
  if (item.parent() != nullptr) node.parentText = item.parent()->text(0).toStdString();
  return node;
}

QMenu* FormulaTree::Popup() {
  actNew->setText(Q(NewFormulaCaption(LevelOf(currentItem()))));
  return popup_;
}

void FormulaTree::contextMenuEvent(QContextMenuEvent* event) {
  if (QTreeWidgetItem* under = itemAt(event->pos())) setCurrentItem(under);
  Popup()->popup(event->globalPos());
}

void FormulaTree::NewOrEditClick() {
  QTreeWidgetItem* item = currentItem();
  if (item == nullptr) return;
  const SelectedNode node = NodeOf(*item);
  std::string name;
  std::string text;
  std::string error;
  if (!EditorTextFor(store_, node, name, text, error)) {
    messages_.Show(error);
    return;
  }
  TFedit editor(messages_, this);
  if (node.level == 1) {
    editor.SetName(Q(name));
    editor.SetText(text);
  }
  if (editor.exec() != QDialog::Accepted) return;
  std::string node_text;
  if (!SaveFromEditor(store_, node, editor.Name().toStdString(), editor.Description().toStdString(),
                      editor.Text(), node_text, error)) {
    messages_.Show(error);
    return;
  }
  if (node.level == 1) {
    SetFormulaNode(*item, node_text);
  } else {
    auto* added = new QTreeWidgetItem(item);
    SetFormulaNode(*added, node_text);
    item->setExpanded(true);
    setCurrentItem(added);
  }
}

void FormulaTree::LoadClick() {
  QTreeWidgetItem* item = currentItem();
  if (LevelOf(item) != 1) return;
  const std::string name = FormulaNameOfNode(item->text(0).toStdString());
  std::string text;
  std::string error;
  if (!FormulaTextToLoad(store_, name, text, error)) {
    messages_.Show(error);
    return;
  }
  load_(name, text);
}

void FormulaTree::DeleteClick() {
  QTreeWidgetItem* item = currentItem();
  if (LevelOf(item) != 1) return;
  const std::string name = FormulaNameOfNode(item->text(0).toStdString());
  if (!messages_.Ask(DeleteFormulaQuestion(name))) return;
  std::string error;
  if (!store_.Remove(name, error)) {
    messages_.Show(error);
    return;
  }
  delete item;
}

}  // namespace vorelin
