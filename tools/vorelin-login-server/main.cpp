// vorelin-login-server: a small login server for classrooms, demos and tests. One thread,
// poll() over every client; each line received is one message, each answer one line.
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "common/numbers.h"
#include "login_service.h"
#include "net/socket_util.h"
#include "net/telnet_filter.h"

namespace vorelin {
namespace {

constexpr size_t kLineLimit = 4096;
constexpr size_t kOutboxLimit = 64 * 1024;
constexpr size_t kClientLimit = 1000;
// Asks for the terminal type and offers to suppress go-ahead, as telnet servers do.
constexpr unsigned char kGreeting[] = {255, 253, 24, 255, 251, 3};

struct Client {
  SocketFd fd;
  TelnetFilter telnet{false};
  std::string inbox;
  std::string outbox;
  bool closing = false;
};

struct Options {
  std::string host = "127.0.0.1";
  int port = 9527;
  std::string db = "vorelin-users.db";
  LoginServiceOptions service;
  std::string add_name, add_password, lock_name;
  bool add = false, lock = false;
};

void Usage() {
  std::fprintf(stderr,
               "usage: vorelin-login-server [--host 127.0.0.1] [--port 9527] [--db FILE]\n"
               "         [--welcome TEXT] [--version YYYYMMDD --download ADDRESS]\n"
               "       vorelin-login-server [--db FILE] --add-user NAME PASSWORD\n"
               "       vorelin-login-server [--db FILE] --lock NAME\n");
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string text;
    if (a == "--host") {
      if (!value(o.host)) return false;
    } else if (a == "--port") {
      if (!value(text)) return false;
      o.port = ParseIntOr(text, -1);
      if (o.port < 0 || o.port > 65535) return false;
    } else if (a == "--db") {
      if (!value(o.db)) return false;
    } else if (a == "--welcome") {
      if (!value(o.service.welcome)) return false;
    } else if (a == "--version") {
      if (!value(text)) return false;
      o.service.version = ParseIntOr(text, 0);
    } else if (a == "--download") {
      if (!value(o.service.download)) return false;
    } else if (a == "--add-user") {
      if (!value(o.add_name) || !value(o.add_password)) return false;
      o.add = true;
    } else if (a == "--lock") {
      if (!value(o.lock_name)) return false;
      o.lock = true;
    } else {
      return false;
    }
  }
  return o.service.version == 0 || !o.service.download.empty();
}

int Administer(const Options& o, UserStore& users) {
  if (o.add) {
    switch (users.Add(o.add_name, o.add_password)) {
      case UserStore::AddResult::kAdded: std::printf("added %s\n", o.add_name.c_str()); break;
      case UserStore::AddResult::kTaken:
        std::fprintf(stderr, "user %s already exists\n", o.add_name.c_str());
        return 1;
      case UserStore::AddResult::kFailed:
        std::fprintf(stderr, "could not add %s\n", o.add_name.c_str());
        return 1;
    }
  }
  if (o.lock) {
    if (!users.Lock(o.lock_name)) {
      std::fprintf(stderr, "no user %s\n", o.lock_name.c_str());
      return 1;
    }
    std::printf("locked %s\n", o.lock_name.c_str());
  }
  return 0;
}

void HandleInput(Client& c, std::string_view bytes, UserStore& users, const Options& o) {
  c.inbox += c.telnet.Feed(bytes).data;
  size_t end;
  while ((end = c.inbox.find('\n')) != std::string::npos) {
    std::string line = c.inbox.substr(0, end);
    c.inbox.erase(0, end + 1);
    std::optional<ServerMessage> reply =
        AnswerRequest(DecodeServerMessage(line), users, o.service);
    if (reply) c.outbox += EncodeServerMessage(*reply) + "\r\n";
  }
  if (c.inbox.size() > kLineLimit) c.closing = true;  // no line of ours is this long
}

void Flush(Client& c) {
  while (!c.outbox.empty()) {
    ssize_t sent = ::send(c.fd.Get(), c.outbox.data(), c.outbox.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      c.outbox.erase(0, static_cast<size_t>(sent));
    } else {
      if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) break;
      c.closing = true;
      c.outbox.clear();
      return;
    }
  }
  if (c.outbox.size() > kOutboxLimit) c.closing = true;  // a client that never reads
}

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

int Serve(const Options& o, UserStore& users) {
  int port = 0;
  std::string error;
  SocketFd listener = ListenTcp(o.host, o.port, port, error);
  if (!listener.IsOpen() || !SetNonBlocking(listener.Get())) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::printf("listening on %s:%d\n", o.host.c_str(), port);
  std::fflush(stdout);
  std::map<int, Client> clients;
  std::vector<pollfd> polls;
  while (!g_stop) {
    polls.assign(1, pollfd{listener.Get(), POLLIN, 0});
    for (auto& [fd, c] : clients)
      polls.push_back(pollfd{fd, static_cast<short>(POLLIN | (c.outbox.empty() ? 0 : POLLOUT)), 0});
    if (::poll(polls.data(), polls.size(), 500) < 0 && errno != EINTR) break;
    if (polls[0].revents & POLLIN) {
      for (;;) {
        int fd = ::accept4(listener.Get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) break;
        if (clients.size() >= kClientLimit) {
          ::close(fd);
          continue;
        }
        Client& c = clients[fd];
        c.fd.Reset(fd);
        c.outbox.assign(reinterpret_cast<const char*>(kGreeting), sizeof kGreeting);
        Flush(c);
      }
    }
    for (size_t i = 1; i < polls.size(); ++i) {
      auto it = clients.find(polls[i].fd);
      if (it == clients.end()) continue;
      Client& c = it->second;
      if (polls[i].revents & (POLLIN | POLLHUP | POLLERR)) {
        char buffer[4096];
        ssize_t got = ::recv(c.fd.Get(), buffer, sizeof buffer, 0);
        if (got > 0) {
          HandleInput(c, std::string_view(buffer, got), users, o);
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
          c.closing = true;
        }
      }
      if (!c.closing || !c.outbox.empty()) Flush(c);
      if (c.closing) clients.erase(it);
    }
  }
  return 0;
}

}  // namespace
}  // namespace vorelin

int main(int argc, char** argv) {
  using namespace vorelin;
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    Usage();
    return 2;
  }
  signal(SIGPIPE, SIG_IGN);
  signal(SIGINT, OnSignal);
  signal(SIGTERM, OnSignal);
  UserStore users;
  std::string error;
  if (!users.Open(options.db, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  if (options.add || options.lock) return Administer(options, users);
  return Serve(options, users);
}
