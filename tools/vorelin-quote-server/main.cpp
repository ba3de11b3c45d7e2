// vorelin-quote-server: answers the trainer's minute-data and transaction requests from a
// data root's MinData files. One thread, poll() over every client; the hello gets no answer.
#include <signal.h>

#include <cstdio>
#include <memory>

#include "common/data_root.h"
#include "common/numbers.h"
#include "net/poll_server.h"
#include "net/socket_util.h"
#include "quote_source.h"

namespace vorelin {
namespace {

constexpr size_t kRequestLimit = 256;

// One client: requests framed by their head's length word, answered in order.
class QuoteSession : public ServerSession {
 public:
  explicit QuoteSession(const std::filesystem::path& root) : root_(root) {}

  void Receive(std::string_view bytes) override { received_.append(bytes); }

  Step AnswerNext(ServerOutbox& out, ServerClock::time_point) override {
    if (received_.size() < kRequestHeadSize) return Step::kNeedMore;
    size_t pos = 6;
    uint16_t following = 0;
    GetU16(received_, pos, following);
    if (following > kRequestLimit) return Step::kBroken;  // not our protocol: hang up
    size_t size = kRequestHeadSize + following;
    if (received_.size() < size) return Step::kNeedMore;
    std::string request = received_.substr(0, size);
    received_.erase(0, size);
    std::string answer;
    if (RequestType(request) != kHelloType && AnswerQuoteRequest(root_, request, answer))
      out.Send(std::move(answer));
    return Step::kAnswered;
  }

 private:
  const std::filesystem::path& root_;
  std::string received_;
};

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

}  // namespace
}  // namespace vorelin

int main(int argc, char** argv) {
  using namespace vorelin;
  std::string host = "127.0.0.1";
  int port = 7709;
  ServerLimits limits;
  std::optional<std::string> root = FindRootOption(argc, argv);
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    OptionRead limit = ReadServerLimitOption(a, i + 1 < argc ? argv[i + 1] : nullptr, limits);
    if (limit == OptionRead::kRead) {
      ++i;
    } else if (limit == OptionRead::kBad) {
      port = -1;
      break;
    } else if (a == "--host" && i + 1 < argc) {
      host = argv[++i];
    } else if (a == "--port" && i + 1 < argc) {
      port = ParseIntOr(argv[++i], -1);
    } else if (a == "--root" && i + 1 < argc) {
      ++i;
    } else if (a.rfind("--root=", 0) != 0) {
      port = -1;
      break;
    }
  }
  if (!root || port < 0 || port > 65535) {
    std::fprintf(stderr,
                 "usage: vorelin-quote-server [--host 127.0.0.1] [--port 7709] --root DIR\n"
                 "         %s\n",
                 kServerLimitsUsage);
    return 2;
  }
  signal(SIGPIPE, SIG_IGN);
  signal(SIGINT, OnSignal);
  signal(SIGTERM, OnSignal);
  int bound = 0;
  std::string error;
  SocketFd listener = ListenTcp(host, port, bound, error);
  if (!listener.IsOpen()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::printf("listening on %s:%d\n", host.c_str(), bound);
  std::fflush(stdout);
  std::filesystem::path data_root = ResolveDataRoot(root);
  SessionFactory open = [&data_root](ServerOutbox&) {
    return std::make_unique<QuoteSession>(data_root);
  };
  if (!ServeClients(listener.Get(), limits, open, g_stop, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}
