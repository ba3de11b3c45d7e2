// The quote receiver: one background thread with a blocking TCP client that sends queued
// requests one at a time and hands each decoded answer, and finally its end notice, to the
// main thread through the main-thread invoker, waiting until the main thread has run them.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "net/quote_answer.h"
#include "net/quote_protocol.h"

namespace vorelin {

// Runs a task on the main thread and returns once it has run there. The app implements it
// with a blocking queued call; an implementation may drop tasks once its loop has ended.
class MainThreadInvoker {
 public:
  virtual ~MainThreadInvoker() = default;
  virtual void RunOnMainThread(const std::function<void()>& task) = 0;
};

struct QuoteServerAddress {
  std::string ipv4 = "127.0.0.1";
  int port = 7709;
  int connect_timeout_ms = 5000;
  // How long the first bytes of an answer are awaited before the answer counts as lost.
  int answer_wait_ms = 200;
};

enum class ReceiverEnd { kConnectFailed, kConnectionLost, kStopped };

inline constexpr const char* kQuoteConnectFailedCaption = "提示";
inline constexpr const char* kQuoteConnectFailedText = "服务器连接失败";
inline constexpr const char* kQuoteLinkDownCaption = "网络连接中断!";
inline constexpr const char* kQuoteLinkDownText = "行情连接被断开!";

class TRecvData : public std::enable_shared_from_this<TRecvData> {
 public:
  using AnswerHandler = std::function<void(const QuoteAnswer&)>;
  using EndNotice = std::function<void(ReceiverEnd)>;

  // A receiver that has not started yet. The thread keeps it alive while it runs, so the
  // owner may let go of it at any time (after Detach, nothing more reaches the owner).
  static std::shared_ptr<TRecvData> Create(QuoteServerAddress address,
                                           std::shared_ptr<MainThreadInvoker> invoker,
                                           AnswerHandler on_answer, EndNotice on_end);
  ~TRecvData();

  void Start();
  // Asks the thread to leave its loop; it ends after the request in hand.
  void Stop();
  // Main thread only: answers and the end notice no longer reach the owner.
  void Detach();

  // Queues a request; false (nothing queued) while the connection is not active.
  bool AddRequest(TSendBuf request);
  bool IsConnected() const;
  // True once the thread has ended (for tests and orderly shutdown).
  bool WaitUntilEnded(int timeout_ms) const;

 private:
  TRecvData(QuoteServerAddress address, std::shared_ptr<MainThreadInvoker> invoker,
            AnswerHandler on_answer, EndNotice on_end);
  void Run();
  ReceiverEnd Serve(int fd);
  bool NextRequest(TSendBuf& request);
  // 1 = answer read, 0 = answer dropped, -1 = connection lost.
  int ReadAnswer(int fd, std::string& answer);
  bool StopRequested() const;
  void Deliver(const QuoteAnswer& answer);
  void NotifyEnd(ReceiverEnd reason);

  QuoteServerAddress address_;
  std::shared_ptr<MainThreadInvoker> invoker_;
  // Read and cleared on the main thread only.
  AnswerHandler on_answer_;
  EndNotice on_end_;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::deque<TSendBuf> queue_;
  bool stop_ = false;
  bool connected_ = false;
  bool ended_ = false;
  bool started_ = false;
};

// The texts of the end notice: the failure box (empty unless the connection could not be
// made), and the window caption and message shown when the main window is not closing.
struct ReceiverEndTexts {
  std::string failure_text;
  std::string caption;
  std::string message;
};
ReceiverEndTexts EndNoticeTexts(ReceiverEnd reason);

}  // namespace vorelin
