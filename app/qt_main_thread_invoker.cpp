#include "app/qt_main_thread_invoker.h"

#include <QMetaObject>
#include <QThread>

namespace vorelin {

QtMainThreadInvoker::QtMainThreadInvoker() : context_(new QObject) {}

// The last owner may be the receiver thread: the context goes with the GUI thread's loop.
QtMainThreadInvoker::~QtMainThreadInvoker() { context_->deleteLater(); }

void QtMainThreadInvoker::RunOnMainThread(const std::function<void()>& task) {
  if (closed_) return;
  if (QThread::currentThread() == context_->thread()) {
    task();
    return;
  }
  QMetaObject::invokeMethod(
      context_, [this, &task] { if (!closed_) task(); }, Qt::BlockingQueuedConnection);
}

}  // namespace vorelin
