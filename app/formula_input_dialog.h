// `TFInput` ("可调变量辅助输入"): the name and the four numbers of an INPUT declaration that
// 插入参数 puts at the top of a formula.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>

#include "common/message_sink.h"
#include "formula_library/editor_logic.h"

namespace vorelin {

class TFInput final : public QDialog {
  Q_OBJECT

 public:
  explicit TFInput(MessageSink& messages, QWidget* parent = nullptr);

  // The five values as confirmed.
  const InputDialogModel& Values() const { return model_; }

  QLineEdit* edtName;
  QSpinBox* spnMin;
  QSpinBox* spnMax;
  QSpinBox* spnDefault;
  QSpinBox* spnCurrent;

 private:
  void OkClick();

  MessageSink& messages_;
  InputDialogModel model_;
};

}  // namespace vorelin
