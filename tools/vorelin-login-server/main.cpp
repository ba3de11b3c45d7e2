// vorelin-login-server: a small login server for classrooms, demos and tests. One thread,
// poll() over every client; each line received is one message, each answer one line.
#include <signal.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "common/numbers.h"
#include "login_service.h"
#include "net/poll_server.h"
#include "net/socket_util.h"
#include "net/telnet_filter.h"
#include "net/user_name_rules.h"

namespace vorelin {
namespace {

constexpr size_t kLineLimit = 4096;
// Asks for the terminal type and offers to suppress go-ahead, as telnet servers do.
constexpr unsigned char kGreeting[] = {255, 253, 24, 255, 251, 3};

struct Options {
  std::string host = "127.0.0.1";
  int port = 9527;
  std::string db = "vorelin-users.db";
  LoginServiceOptions service;
  ServerLimits limits;
  HashStrength strength = HashStrength::kInteractive;
  std::string add_name, add_password, lock_name;
  bool add = false, lock = false;
};

void Usage() {
  std::fprintf(stderr,
               "usage: vorelin-login-server [--host 127.0.0.1] [--port 9527] [--db FILE]\n"
               "         [--welcome TEXT] [--version YYYYMMDD --download ADDRESS]\n"
               "         %s\n"
               "       vorelin-login-server [--db FILE] --add-user NAME PASSWORD\n"
               "       vorelin-login-server [--db FILE] --lock NAME\n",
               kServerLimitsUsage);
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
    switch (ReadServerLimitOption(a, i + 1 < argc ? argv[i + 1] : nullptr, o.limits)) {
      case OptionRead::kRead: ++i; continue;
      case OptionRead::kBad: return false;
      case OptionRead::kNotMine: break;
    }
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
    } else if (a == "--test-minimum-hashes") {
      o.strength = HashStrength::kTestMinimum;
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
    std::string reason;
    if (!IsAcceptableUserName(o.add_name, &reason)) {
      std::fprintf(stderr, "%s\n", reason.c_str());
      return 1;
    }
    if (o.add_password.empty()) {
      std::fprintf(stderr, "the password must not be empty\n");
      return 1;
    }
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

// One client: telnet commands stripped, then CR LF lines, each answered by the service.
class LoginSession : public ServerSession {
 public:
  explicit LoginSession(LoginService& service) : service_(service) {}

  void Receive(std::string_view bytes) override { lines_ += telnet_.Feed(bytes).data; }

  Step AnswerNext(ServerOutbox& out, ServerClock::time_point now) override {
    size_t end = lines_.find('\n');
    if (end == std::string::npos) {
      return lines_.size() > kLineLimit ? Step::kBroken : Step::kNeedMore;  // no line of ours is this long
    }
    std::string line = lines_.substr(0, end);
    lines_.erase(0, end + 1);
    std::optional<LoginAnswer> answer = service_.Answer(line, now);
    if (!answer) return Step::kIgnored;
    out.Send(EncodeServerMessage(answer->reply) + "\r\n", answer->send_at);
    return Step::kAnswered;
  }

 private:
  LoginService& service_;
  TelnetFilter telnet_{false};
  std::string lines_;
};

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

int Serve(const Options& o, UserStore& users) {
  int port = 0;
  std::string error;
  SocketFd listener = ListenTcp(o.host, o.port, port, error);
  if (!listener.IsOpen()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::printf("listening on %s:%d\n", o.host.c_str(), port);
  std::fflush(stdout);
  LoginService service(users, o.service);
  SessionFactory open = [&service](ServerOutbox& out) {
    out.Send(std::string(reinterpret_cast<const char*>(kGreeting), sizeof kGreeting));
    return std::make_unique<LoginSession>(service);
  };
  if (!ServeClients(listener.Get(), o.limits, open, g_stop, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
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
  UserStore users(options.strength);
  std::string error;
  if (!users.Open(options.db, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  if (options.add || options.lock) return Administer(options, users);
  return Serve(options, users);
}
