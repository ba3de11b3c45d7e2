// Runs the quote receiver's answers on the GUI thread: a blocking queued call, so the
// receiver waits until the window has taken the answer. Once closed it drops every task,
// so a receiver ending during shutdown never waits on a loop that has stopped.
#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>

#include "net/quote_receiver.h"

namespace vorelin {

class QtMainThreadInvoker final : public MainThreadInvoker {
 public:
  // Call on the GUI thread.
  QtMainThreadInvoker();
  ~QtMainThreadInvoker() override;

  void RunOnMainThread(const std::function<void()>& task) override;
  void Close() { closed_ = true; }

 private:
  QObject* context_;
  std::atomic<bool> closed_{false};
};

}  // namespace vorelin
