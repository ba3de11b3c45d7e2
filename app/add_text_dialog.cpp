#include "app/add_text_dialog.h"

#include <QColorDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"

namespace vorelin {
namespace {

QColor ToQt(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

}  // namespace

TAddStr::TAddStr(const FigureText& start, QWidget* parent) : QDialog(parent), colour_(start.colour) {
  setObjectName("AddStr");
  setWindowTitle(QString::fromUtf8("添加文字"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  memText_ = new QPlainTextEdit(QString::fromStdString(start.text), this);
  memText_->setObjectName("memText");
  memText_->setMinimumSize(260, 90);

  btnColor_ = new QPushButton(this);
  btnColor_->setObjectName("btnColor");
  btnColor_->setAutoDefault(false);
  btnColor_->setFixedSize(48, 22);
  connect(btnColor_, &QPushButton::clicked, this, &TAddStr::ChooseColour);

  edtSize_ = new QSpinBox(this);
  edtSize_->setObjectName("edtSize");
  edtSize_->setRange(1, 72);
  edtSize_->setValue(start.size);
  edtSize_->setFixedWidth(72);

  auto* form = new QFormLayout;
  form->addRow(QString::fromUtf8("颜色"), btnColor_);
  form->addRow(QString::fromUtf8("大小"), edtSize_);

  QPushButton* ok = NewDialogButton("btnOk", "确定", this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(14, 14, 14, 12);
  layout->addWidget(memText_, 1);
  layout->addLayout(form);
  layout->addLayout(buttons);
  SetColour(colour_);
}

FigureText TAddStr::Entered() const {
  return {memText_->toPlainText().toStdString(), colour_, edtSize_->value()};
}

void TAddStr::SetColour(Colour colour) {
  colour_ = colour;
  btnColor_->setStyleSheet(QString("background-color: %1; border: 1px solid #808080;").arg(ToQt(colour).name()));
}

void TAddStr::ChooseColour() {
  const QColor chosen = QColorDialog::getColor(ToQt(colour_), this, QString::fromUtf8("颜色"));
  if (chosen.isValid()) SetColour(Rgb(chosen.red(), chosen.green(), chosen.blue()));
}

}  // namespace vorelin
