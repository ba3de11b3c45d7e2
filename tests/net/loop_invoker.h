// The tests' main-thread invoker: the receiver thread queues a task and waits; the test's
// own loop (Pump) runs the tasks on the test thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "net/quote_receiver.h"

namespace vorelin {

class LoopInvoker : public MainThreadInvoker {
 public:
  void RunOnMainThread(const std::function<void()>& task) override {
    std::unique_lock lock(mutex_);
    if (closed_) return;
    Pending pending{&task, false, false};
    queue_.push_back(&pending);
    changed_.notify_all();
    changed_.wait(lock, [&] { return pending.done || (closed_ && !pending.running); });
    std::erase(queue_, &pending);
  }

  // Runs queued tasks on the calling thread until `until` holds; false on timeout.
  bool Pump(const std::function<bool()>& until, int timeout_ms = 10000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    std::unique_lock lock(mutex_);
    while (!until()) {
      if (queue_.empty()) {
        // Short waits: `until` may look at state that does not signal this invoker.
        if (std::chrono::steady_clock::now() >= deadline) return until();
        changed_.wait_for(lock, std::chrono::milliseconds(5));
        continue;
      }
      Pending* next = queue_.front();
      queue_.pop_front();
      next->running = true;
      lock.unlock();
      (*next->task)();
      lock.lock();
      next->done = true;
      changed_.notify_all();
    }
    return true;
  }

  // Lets waiting threads go; later tasks are dropped.
  void Close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    queue_.clear();
    changed_.notify_all();
  }

 private:
  struct Pending {
    const std::function<void()>* task;
    bool done;
    bool running;
  };
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Pending*> queue_;
  bool closed_ = false;
};

}  // namespace vorelin
