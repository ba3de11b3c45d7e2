// `TNotes` ("指标用法"): a formula's usage notes to read and edit. 关闭 closes, 保存 closes
// asking the caller to save, 清除 empties the text.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

namespace vorelin {

class TNotes final : public QDialog {
  Q_OBJECT

 public:
  // What exec() returns for 保存 (关闭 gives Accepted).
  static constexpr int kSaveResult = 2;

  explicit TNotes(const QString& caption, const QString& notes, QWidget* parent = nullptr);

  QPlainTextEdit* mmoNotes;
  QPushButton *btnClose, *btnSave, *btnClear;
};

}  // namespace vorelin
