#include "app/add_user_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/dialog_buttons.h"
#include "net/login_replies.h"

namespace vorelin {
namespace {

QLineEdit* NewBox(const char* name, bool password, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  if (password) box->setEchoMode(QLineEdit::Password);
  box->setMinimumWidth(200);
  return box;
}

std::string Text(const QLineEdit* box) { return box->text().toStdString(); }

}  // namespace

TFrmAdd::TFrmAdd(QtLoginLink& link, MessageSink& messages, QWidget* parent)
    : QDialog(parent), link_(link), messages_(messages) {
  setObjectName("FrmAdd");
  setWindowTitle(QString::fromUtf8("帐号管理"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* page = new QWidget;
  edtUser_ = NewBox("edtUser", false, page);
  edtPassword_ = NewBox("edtPassword", true, page);
  edtConfirm_ = NewBox("edtConfirm", true, page);
  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  form->setHorizontalSpacing(12);
  form->setVerticalSpacing(10);
  form->addRow(QString::fromUtf8("用户名"), edtUser_);
  form->addRow(QString::fromUtf8("密码"), edtPassword_);
  form->addRow(QString::fromUtf8("确认密码"), edtConfirm_);

  QPushButton* btnRegister = NewDialogButton("btnRegister", "注册", page);
  QPushButton* btnReset = NewDialogButton("btnReset", "重填", page);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnRegister);
  buttons->addWidget(btnReset);

  auto* page_layout = new QVBoxLayout(page);
  page_layout->setContentsMargins(18, 18, 18, 14);
  page_layout->addLayout(form);
  page_layout->addSpacing(6);
  page_layout->addLayout(buttons);

  auto* tabs = new QTabWidget(this);
  tabs->addTab(page, QString::fromUtf8("注册账号"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->addWidget(tabs);

  connect(btnRegister, &QPushButton::clicked, this, &TFrmAdd::btnRegisterClick);
  connect(btnReset, &QPushButton::clicked, this, &TFrmAdd::btnResetClick);
}

void TFrmAdd::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;  // restored from minimised: still ours
  if (!handler_current_) previous_handler_ = link_.ReplyHandler();
  handler_current_ = true;
  link_.SetReplyHandler([self = QPointer<TFrmAdd>(this)](const ServerMessage& reply) {
    if (self) self->OnReply(reply);
  });
}

void TFrmAdd::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (event->spontaneous() || !handler_current_) return;
  handler_current_ = false;
  link_.SetReplyHandler(std::move(previous_handler_));
  previous_handler_ = nullptr;
}

void TFrmAdd::btnRegisterClick() {
  const RegistrationCheck check = CheckRegistration(Text(edtUser_), Text(edtPassword_),
                                                    Text(edtConfirm_));
  if (!check.send) {
    if (check.clear_passwords) {
      edtPassword_->clear();
      edtConfirm_->clear();
    }
    messages_.Show(check.message);
    return;
  }
  if (!link_.Send(RegistrationMessage(Text(edtUser_), Text(edtPassword_))))
    messages_.Show(kNotConnectedText);
}

void TFrmAdd::btnResetClick() {
  edtUser_->clear();
  edtPassword_->clear();
  edtConfirm_->clear();
  edtUser_->setFocus();
}

void TFrmAdd::OnReply(const ServerMessage& reply) {
  const std::string message = DecideUserDialogReply(reply, kDefaultAdminContact);
  if (!message.empty()) messages_.Show(message);
}

}  // namespace vorelin
