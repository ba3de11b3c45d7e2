#include "app/login_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/add_user_dialog.h"
#include "app/dialog_buttons.h"
#include "app/login_banner.h"
#include "practice/config_file.h"
#include "practice/journal_store.h"
#include "practice/settings.h"

namespace vorelin {
namespace {

QLabel* NewLabel(const char* text, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

TFrmLogin::TFrmLogin(std::filesystem::path root, QtLoginLink& link, MessageSink& messages,
                     QWidget* parent)
    : QDialog(parent), root_(std::move(root)), link_(link), messages_(messages) {
  setObjectName("FrmLogin");
  setWindowTitle(QString::fromUtf8("登录"));

  auto* body = new QWidget(this);
  edtname_ = new QComboBox(body);
  edtname_->setObjectName("edtname");
  edtname_->setEditable(true);
  edtname_->setInsertPolicy(QComboBox::NoInsert);
  edtname_->setMinimumWidth(220);
  edtPass_ = new QLineEdit(body);
  edtPass_->setObjectName("edtPass");
  edtPass_->setEchoMode(QLineEdit::Password);
  edtPass_->setStyleSheet("QLineEdit { lineedit-password-character: 42; }");  // '*'
  ckname_ = new QCheckBox(QString::fromUtf8("记住密码"), body);
  ckname_->setObjectName("ckname");

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(10);
  grid->addWidget(NewLabel("用户名：", body), 0, 0);
  grid->addWidget(edtname_, 0, 1);
  grid->addWidget(NewLabel("密码：", body), 1, 0);
  grid->addWidget(edtPass_, 1, 1);
  grid->addWidget(ckname_, 2, 1);
  grid->setColumnStretch(1, 1);

  btnLogin_ = NewDialogButton("btnLogin", "登录", body);
  QPushButton* btnClose = NewDialogButton("btnClose", "退出", body);
  QPushButton* btnAddUser = NewDialogButton("btnAddUser", "免费注册", body);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnAddUser);
  buttons->addStretch();
  buttons->addWidget(btnLogin_);
  buttons->addWidget(btnClose);

  auto* body_layout = new QVBoxLayout(body);
  body_layout->setContentsMargins(48, 20, 48, 18);
  body_layout->addLayout(grid);
  body_layout->addSpacing(8);
  body_layout->addLayout(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(new LoginBanner(this));
  layout->addWidget(body);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnLogin_, &QPushButton::clicked, this, &TFrmLogin::btnLoginClick);
  connect(edtPass_, &QLineEdit::returnPressed, this, &TFrmLogin::btnLoginClick);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnAddUser, &QPushButton::clicked, this, &TFrmLogin::btnAddUserClick);
  connect(ckname_, &QCheckBox::clicked, this, &TFrmLogin::cknameClick);
  // A login sent on a link that then drops gets no answer; the user may try again.
  connect(&link_, &QtLoginLink::closed, this, [this] { btnLogin_->setEnabled(true); });

  const std::filesystem::path config = root_ / kConfigFileName;
  IniFile ini;
  if (!ini.Load(config)) messages_.Show(kUnreadableSettingsMessage + config.string());
  const SystemSettings settings = ReadSystemSettings(ini);
  edtname_->setEditText(QString::fromStdString(settings.UserName));
  edtPass_->setText(QString::fromStdString(settings.Password));
  ckname_->setChecked(settings.RememberPassword);
}

void TFrmLogin::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_ || event->spontaneous()) return;
  shown_ = true;
  FormShow();
}

void TFrmLogin::FormShow() {
  // A new file has no users, so creating it first and then listing covers both cases.
  const JournalStore journal(root_);
  std::vector<std::string> names;
  std::string error;
  if (journal.CreateIfMissing(error) && journal.UserNames(names, error)) {
    const QString typed = edtname_->currentText();
    for (const std::string& name : names) edtname_->addItem(QString::fromStdString(name));
    edtname_->setEditText(typed);
  } else {
    messages_.Show(error);
  }
  MakeLoginHandlerCurrent();
  link_.Open();
}

void TFrmLogin::btnLoginClick() {
  if (!btnLogin_->isEnabled()) return;  // Enter while a login is on its way
  if (!link_.IsConnected()) {
    messages_.Show(kNotConnectedText);
    link_.Reconnect();
    return;
  }
  MakeLoginHandlerCurrent();
  link_.Send(LoginMessage(edtname_->currentText().toStdString(), edtPass_->text().toStdString()));
  btnLogin_->setEnabled(false);
}

void TFrmLogin::btnAddUserClick() {
  TFrmAdd dialog(link_, messages_, this);
  dialog.exec();
}

void TFrmLogin::cknameClick() {
  const std::string name = edtname_->currentText().toStdString();
  const std::string password = edtPass_->text().toStdString();
  const bool remember = ckname_->isChecked();
  UpdateConfigFile(
      root_,
      [&](IniFile& ini, std::string* error) { return WriteLoginChoice(ini, name, password, remember, error); },
      messages_);
}

void TFrmLogin::MakeLoginHandlerCurrent() {
  link_.SetReplyHandler([self = QPointer<TFrmLogin>(this)](const ServerMessage& reply) {
    if (self) self->OnLoginReply(reply);
  });
}

void TFrmLogin::OnLoginReply(const ServerMessage& reply) {
  const LoginReplyAction action = DecideLoginReply(reply, kDefaultAdminContact);
  switch (action.kind) {
    case LoginReplyAction::Kind::kIgnore:
      return;
    case LoginReplyAction::Kind::kAccept:
      if (!user_.Set(edtname_->currentText().toStdString())) return;  // already logged in
      accept();
      messages_.Show(action.message);
      return;
    case LoginReplyAction::Kind::kRefuse:
      messages_.Show(action.message);
      edtname_->clearEditText();
      edtPass_->clear();
      edtname_->setFocus();
      btnLogin_->setEnabled(true);
      return;
  }
}

}  // namespace vorelin
