// The login link on the Qt event loop: socket notifiers drive the non-blocking LoginLink,
// and replies reach their handlers one at a time from the event loop, so a handler may open a
// modal box.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <deque>

#include "net/login_link.h"

namespace vorelin {

class QtLoginLink : public QObject {
  Q_OBJECT

 public:
  explicit QtLoginLink(LoginServerAddress address, QObject* parent = nullptr);
  ~QtLoginLink() override;

  // Set reply handlers here, not on Link(): this object keeps the one in force.
  LoginLink& Link() { return link_; }

  // Start connecting (a refused or unreachable server leaves the link closed, never waits).
  void Open();
  void Reconnect();
  bool IsConnected() const { return link_.IsConnected(); }
  // False (nothing sent) when not connected.
  bool Send(const ServerMessage& message);

  // Every reply received from now on goes to `handler` (the last one set wins); a reply is
  // delivered to the handler that was in force when it arrived.
  void SetReplyHandler(LoginLink::ReplyHandler handler) { handler_ = std::move(handler); }
  const LoginLink::ReplyHandler& ReplyHandler() const { return handler_; }

 signals:
  // The connection was lost or refused; nothing more arrives until Reconnect.
  void closed();

 private:
  void OnActivity();
  // Watches the link's current socket: new notifiers when it changed, writing only while
  // the link has something to write or is still connecting.
  void Watch();
  void DropNotifiers();
  void PostDelivery();
  void DeliverNext();

  // Replies received and not yet handed over, each with the handler in force on arrival.
  struct Pending {
    LoginLink::ReplyHandler handler;
    ServerMessage reply;
  };
  std::deque<Pending> pending_;

  LoginLink link_;
  LoginLink::ReplyHandler handler_;
  QSocketNotifier* read_ = nullptr;
  QSocketNotifier* write_ = nullptr;
  int watched_ = -1;
};

}  // namespace vorelin
