#include "app/formula_input_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"

namespace vorelin {
namespace {

constexpr int kSpinLimit = 1'000'000;

QSpinBox* NewSpin(const char* name, int value, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(name);
  spin->setRange(-kSpinLimit, kSpinLimit);
  spin->setValue(value);
  spin->setMinimumWidth(120);
  return spin;
}

}  // namespace

TFInput::TFInput(MessageSink& messages, QWidget* parent) : QDialog(parent), messages_(messages) {
  setObjectName("FInput");
  setWindowTitle(QString::fromUtf8("可调变量辅助输入"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  edtName = new QLineEdit(this);
  edtName->setObjectName("edtName");
  spnMin = NewSpin("spnMin", model_.minimum, this);
  spnMax = NewSpin("spnMax", model_.maximum, this);
  spnDefault = NewSpin("spnDefault", model_.defaultValue, this);
  spnCurrent = NewSpin("spnCurrent", model_.current, this);
  spnDefault->setMaximum(model_.maximum);

  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->addRow(QString::fromUtf8("参数名"), edtName);
  form->addRow(QString::fromUtf8("最小值"), spnMin);
  form->addRow(QString::fromUtf8("最大值"), spnMax);
  form->addRow(QString::fromUtf8("缺省值"), spnDefault);
  form->addRow(QString::fromUtf8("当前值"), spnCurrent);
  QPushButton* ok = NewDialogButton("btnOk", "确定", this);
  QPushButton* cancel = NewDialogButton("btnCancel", "取消", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);

  connect(edtName, &QLineEdit::textChanged, this, [this](const QString& text) { model_.name = text.toStdString(); });
  connect(spnMin, &QSpinBox::valueChanged, this, [this](int value) { model_.minimum = value; });
  connect(spnMax, &QSpinBox::valueChanged, this, [this](int value) {
    model_.SetMaximum(value);
    spnDefault->setMaximum(value);
    spnDefault->setValue(model_.defaultValue);
  });
  connect(spnDefault, &QSpinBox::valueChanged, this, [this](int value) {
    model_.SetDefault(value);
    spnCurrent->setValue(model_.current);
  });
  connect(spnCurrent, &QSpinBox::valueChanged, this, [this](int value) { model_.current = value; });
  connect(ok, &QPushButton::clicked, this, &TFInput::OkClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFInput::OkClick() {
  std::string message;
  InputDialogModel::Field focus = InputDialogModel::Field::kNone;
  if (model_.CheckOk(message, focus)) {
    accept();
    return;
  }
  messages_.Show(message);
  (focus == InputDialogModel::Field::kMaximum ? static_cast<QWidget*>(spnMax) : edtName)->setFocus();
}

}  // namespace vorelin
