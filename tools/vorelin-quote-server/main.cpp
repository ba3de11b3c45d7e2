// vorelin-quote-server: answers the trainer's minute-data and transaction requests from a
// data root's MinData files. One thread per connection; the hello gets no answer.
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <thread>

#include "common/data_root.h"
#include "common/numbers.h"
#include "net/socket_util.h"
#include "quote_source.h"

namespace vorelin {
namespace {

constexpr size_t kRequestLimit = 256;
constexpr int kConnectionLimit = 64;
std::atomic<int> g_connections{0};

// Reads exactly `size` bytes; false when the peer closes or fails first.
bool ReadExactly(int fd, char* out, size_t size) {
  size_t have = 0;
  while (have < size) {
    ssize_t got = ::recv(fd, out + have, size - have, 0);
    if (got > 0) {
      have += static_cast<size_t>(got);
    } else if (got < 0 && errno == EINTR) {
      continue;
    } else {
      return false;
    }
  }
  return true;
}

void ServeConnection(SocketFd fd, std::filesystem::path root) {
  for (;;) {
    char head[kRequestHeadSize];
    if (!ReadExactly(fd.Get(), head, sizeof head)) break;
    size_t pos = 6;
    uint16_t following = 0;
    GetU16(std::string_view(head, sizeof head), pos, following);
    if (following > kRequestLimit) break;  // not our protocol: hang up
    std::string request(head, sizeof head);
    request.resize(sizeof head + following);
    if (!ReadExactly(fd.Get(), request.data() + sizeof head, following)) break;
    if (RequestType(request) == kHelloType) continue;
    std::string answer;
    if (AnswerQuoteRequest(root, request, answer) && !SendAll(fd.Get(), answer)) break;
  }
  --g_connections;
}

}  // namespace
}  // namespace vorelin

int main(int argc, char** argv) {
  using namespace vorelin;
  std::string host = "127.0.0.1";
  int port = 7709;
  std::optional<std::string> root = FindRootOption(argc, argv);
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--host" && i + 1 < argc) {
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
    std::fprintf(stderr, "usage: vorelin-quote-server [--host 127.0.0.1] [--port 7709] --root DIR\n");
    return 2;
  }
  signal(SIGPIPE, SIG_IGN);
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
  for (;;) {
    int fd = ::accept4(listener.Get(), nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED || errno == EMFILE) continue;
      break;
    }
    if (g_connections >= kConnectionLimit) {
      ::close(fd);
      continue;
    }
    ++g_connections;
    std::thread(ServeConnection, SocketFd(fd), data_root).detach();
  }
  return 1;
}
