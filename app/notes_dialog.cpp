#include "app/notes_dialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"

namespace vorelin {

TNotes::TNotes(const QString& caption, const QString& notes, QWidget* parent) : QDialog(parent) {
  setObjectName("Notes");
  setWindowTitle(caption);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  mmoNotes = new QPlainTextEdit(notes, this);
  mmoNotes->setObjectName("mmoNotes");
  btnClose = NewDialogButton("btnClose", "关闭", this);
  btnSave = NewDialogButton("btnSave", "保存", this);
  btnClear = NewDialogButton("btnClear", "清除", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnClear);
  buttons->addWidget(btnSave);
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(mmoNotes, 1);
  layout->addLayout(buttons);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnSave, &QPushButton::clicked, this, [this] { done(kSaveResult); });
  connect(btnClear, &QPushButton::clicked, mmoNotes, &QPlainTextEdit::clear);
  resize(520, 360);
}

}  // namespace vorelin
