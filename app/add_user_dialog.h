// The user dialog (帐号管理): registers a new user on the login server. While it is shown its
// own reply handler is in force on the login link; hiding it gives the link back to the
// handler that was in force before, whoever opened it.
#pragma once

#include <QDialog>
#include <QLineEdit>

#include "app/qt_login_link.h"
#include "common/message_sink.h"

namespace vorelin {

class TFrmAdd : public QDialog {
  Q_OBJECT

 public:
  TFrmAdd(QtLoginLink& link, MessageSink& messages, QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void btnRegisterClick();
  void btnResetClick();
  void OnReply(const ServerMessage& reply);

  QtLoginLink& link_;
  MessageSink& messages_;
  LoginLink::ReplyHandler previous_handler_;
  bool handler_current_ = false;
  QLineEdit* edtUser_;
  QLineEdit* edtPassword_;
  QLineEdit* edtConfirm_;
};

}  // namespace vorelin
