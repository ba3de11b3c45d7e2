#include "app/qt_login_link.h"

namespace vorelin {

QtLoginLink::QtLoginLink(LoginServerAddress address, QObject* parent)
    : QObject(parent), link_(std::move(address)) {
  // Handlers run from the event loop, never inside the socket notification: a message box
  // a handler opens must not re-enter the link while it is still reading.
  link_.SetReplyHandler([this](const ServerMessage& reply) {
    if (!handler_) return;
    pending_.push_back({handler_, reply});
    if (pending_.size() == 1) PostDelivery();
  });
}

QtLoginLink::~QtLoginLink() { DropNotifiers(); }

void QtLoginLink::Open() {
  // A new socket may reuse the old descriptor number; its notifiers must be new too.
  DropNotifiers();
  link_.Open();
  Watch();
  if (link_.SocketHandle() < 0) emit closed();
}

void QtLoginLink::Reconnect() { Open(); }

bool QtLoginLink::Send(const ServerMessage& message) {
  const bool sent = link_.Send(message);
  Watch();
  return sent;
}

void QtLoginLink::OnActivity() {
  link_.OnSocketEvent();
  Watch();
}

void QtLoginLink::Watch() {
  const int socket = link_.SocketHandle();
  if (socket != watched_) {
    const bool lost = watched_ >= 0 && socket < 0;
    DropNotifiers();
    if (socket >= 0) {
      read_ = new QSocketNotifier(socket, QSocketNotifier::Read, this);
      write_ = new QSocketNotifier(socket, QSocketNotifier::Write, this);
      connect(read_, &QSocketNotifier::activated, this, &QtLoginLink::OnActivity);
      connect(write_, &QSocketNotifier::activated, this, &QtLoginLink::OnActivity);
      watched_ = socket;
    }
    if (lost) emit closed();
  }
  if (write_) write_->setEnabled(link_.WantsWrite());
}

void QtLoginLink::DropNotifiers() {
  // This may run inside a notifier's own signal, so they are deleted later, but disabled now.
  for (QSocketNotifier* notifier : {read_, write_}) {
    if (!notifier) continue;
    notifier->setEnabled(false);
    notifier->deleteLater();
  }
  read_ = write_ = nullptr;
  watched_ = -1;
}

void QtLoginLink::PostDelivery() {
  QMetaObject::invokeMethod(this, &QtLoginLink::DeliverNext, Qt::QueuedConnection);
}

void QtLoginLink::DeliverNext() {
  if (pending_.empty()) return;
  Pending next = std::move(pending_.front());
  pending_.pop_front();
  // Posted before the handler runs, so a modal box it opens still sees the next reply.
  if (!pending_.empty()) PostDelivery();
  next.handler(next.reply);
}

}  // namespace vorelin
