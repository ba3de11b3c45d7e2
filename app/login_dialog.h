// The login dialog (登录): checks the user on the login server; only an accepted login lets
// the program go on, with the accepted name as the session user. It also remembers the last
// name and, on request, the password, lists the users known to log.mt3 and creates that file
// on first use.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>

#include "app/qt_login_link.h"
#include "common/message_sink.h"
#include "net/login_replies.h"

namespace vorelin {

class TFrmLogin : public QDialog {
  Q_OBJECT

 public:
  // Reads the remembered name, password and choice from root/config.ini. The link is opened
  // when the dialog is first shown.
  TFrmLogin(std::filesystem::path root, QtLoginLink& link, MessageSink& messages,
            QWidget* parent = nullptr);

  // Set once the server has accepted a login (the dialog then ends with Accepted).
  const SessionUser& User() const { return user_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void btnLoginClick();
  void btnAddUserClick();
  void cknameClick();
  void MakeLoginHandlerCurrent();
  void OnLoginReply(const ServerMessage& reply);

  std::filesystem::path root_;
  QtLoginLink& link_;
  MessageSink& messages_;
  SessionUser user_;
  bool shown_ = false;
  QComboBox* edtname_;
  QLineEdit* edtPass_;
  QCheckBox* ckname_;
  QPushButton* btnLogin_;
};

}  // namespace vorelin
