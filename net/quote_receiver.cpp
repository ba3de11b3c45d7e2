// The quote receiver's thread loop. The queue is guarded by a mutex and a condition variable,
// so the thread sleeps until a request or a stop arrives and never sees half a request.
#include "net/quote_receiver.h"

#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "net/socket_util.h"

namespace vorelin {
namespace {

using Clock = std::chrono::steady_clock;

// While a body is being read, the stop flag is looked at this often.
constexpr int kBodyPollMs = 100;
// A peer that stops sending in the middle of a body for this long has gone.
constexpr int kBodyStallMs = 10000;

int RemainingMs(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Throws away what is already waiting on the socket, so a dropped answer's remains are not
// read as the next answer's header.
void DrainPending(int fd) {
  char buffer[4096];
  while (::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
  }
}

}  // namespace

std::shared_ptr<TRecvData> TRecvData::Create(QuoteServerAddress address,
                                             std::shared_ptr<MainThreadInvoker> invoker,
                                             AnswerHandler on_answer, EndNotice on_end) {
  return std::shared_ptr<TRecvData>(new TRecvData(std::move(address), std::move(invoker),
                                                  std::move(on_answer), std::move(on_end)));
}

TRecvData::TRecvData(QuoteServerAddress address, std::shared_ptr<MainThreadInvoker> invoker,
                     AnswerHandler on_answer, EndNotice on_end)
    : address_(std::move(address)),
      invoker_(std::move(invoker)),
      on_answer_(std::move(on_answer)),
      on_end_(std::move(on_end)) {}

TRecvData::~TRecvData() = default;

void TRecvData::Start() {
  {
    std::lock_guard lock(mutex_);
    if (started_) return;
    started_ = true;
  }
  std::thread([self = shared_from_this()] { self->Run(); }).detach();
}

void TRecvData::Stop() {
  std::lock_guard lock(mutex_);
  stop_ = true;
  changed_.notify_all();
}

void TRecvData::Detach() {
  on_answer_ = nullptr;
  on_end_ = nullptr;
}

bool TRecvData::AddRequest(TSendBuf request) {
  std::lock_guard lock(mutex_);
  if (!connected_ || stop_) return false;
  queue_.push_back(std::move(request));
  changed_.notify_all();
  return true;
}

bool TRecvData::IsConnected() const {
  std::lock_guard lock(mutex_);
  return connected_;
}

bool TRecvData::WaitUntilEnded(int timeout_ms) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return ended_; });
}

bool TRecvData::StopRequested() const {
  std::lock_guard lock(mutex_);
  return stop_;
}

bool TRecvData::NextRequest(TSendBuf& request) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return stop_ || !queue_.empty(); });
  if (stop_) return false;
  request = std::move(queue_.front());
  queue_.pop_front();
  return true;
}

void TRecvData::Run() {
  SocketFd fd = ConnectTcp(address_.ipv4, address_.port, address_.connect_timeout_ms);
  ReceiverEnd reason = ReceiverEnd::kConnectFailed;
  if (fd.IsOpen()) {
    reason = Serve(fd.Get());
    fd.Reset();
  }
  {
    std::lock_guard lock(mutex_);
    connected_ = false;
    queue_.clear();
  }
  NotifyEnd(reason);
  std::lock_guard lock(mutex_);
  ended_ = true;
  changed_.notify_all();
}

ReceiverEnd TRecvData::Serve(int fd) {
  if (!SendAll(fd, HelloPacket())) return ReceiverEnd::kConnectionLost;
  {
    std::lock_guard lock(mutex_);
    connected_ = true;
  }
  TSendBuf request;
  while (NextRequest(request)) {
    if (!SendAll(fd, request.bytes)) return StopRequested() ? ReceiverEnd::kStopped
                                                            : ReceiverEnd::kConnectionLost;
    std::string answer;
    int read = ReadAnswer(fd, answer);
    if (read < 0) return StopRequested() ? ReceiverEnd::kStopped : ReceiverEnd::kConnectionLost;
    if (read == 0) continue;
    QuoteAnswer decoded;
    if (!DecodeQuoteAnswer(answer, decoded)) continue;
    if (decoded.type != RequestType(request.bytes)) continue;
    Deliver(decoded);
  }
  return ReceiverEnd::kStopped;
}

int TRecvData::ReadAnswer(int fd, std::string& answer) {
  char header[kAnswerHeaderSize];
  size_t have = 0;
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(address_.answer_wait_ms);
  while (have < kAnswerHeaderSize) {
    if (!WaitReadable(fd, RemainingMs(deadline))) break;
    ssize_t got = ::recv(fd, header + have, kAnswerHeaderSize - have, 0);
    if (got <= 0) {
      if (got < 0 && errno == EINTR) continue;
      return -1;
    }
    have += static_cast<size_t>(got);
  }
  AnswerHeader parsed;
  if (have < kAnswerHeaderSize || !DecodeAnswerHeader(std::string_view(header, have), parsed)) {
    DrainPending(fd);
    return 0;
  }
  answer.assign(header, kAnswerHeaderSize);
  answer.resize(kAnswerHeaderSize + parsed.stored_size);
  size_t filled = kAnswerHeaderSize;
  int stalled_ms = 0;
  while (filled < answer.size()) {
    if (StopRequested()) return -1;
    if (!WaitReadable(fd, kBodyPollMs)) {
      stalled_ms += kBodyPollMs;
      if (stalled_ms >= kBodyStallMs) return -1;
      continue;
    }
    ssize_t got = ::recv(fd, answer.data() + filled, answer.size() - filled, 0);
    if (got <= 0) {
      if (got < 0 && errno == EINTR) continue;
      return -1;
    }
    filled += static_cast<size_t>(got);
    stalled_ms = 0;
  }
  return 1;
}

void TRecvData::Deliver(const QuoteAnswer& answer) {
  invoker_->RunOnMainThread([this, &answer] {
    if (on_answer_) on_answer_(answer);
  });
}

void TRecvData::NotifyEnd(ReceiverEnd reason) {
  invoker_->RunOnMainThread([this, reason] {
    EndNotice notice = std::move(on_end_);
    on_end_ = nullptr;
    on_answer_ = nullptr;
    if (notice) notice(reason);
  });
}

ReceiverEndTexts EndNoticeTexts(ReceiverEnd reason) {
  ReceiverEndTexts texts;
  if (reason == ReceiverEnd::kConnectFailed) texts.failure_text = kQuoteConnectFailedText;
  texts.caption = kQuoteLinkDownCaption;
  texts.message = kQuoteLinkDownText;
  return texts;
}

}  // namespace vorelin
