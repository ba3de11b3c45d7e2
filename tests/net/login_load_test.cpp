// Load on the reference servers: 200 login links at once, every reply checked, and the
// server's memory compared across rounds; then a good client against 1,000 idle sockets, on
// the login server and on the quote server. Bounded in clients and time; loopback only.
#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "net/login_link.h"
#include "net/login_replies.h"
#include "net/quote_protocol.h"
#include "net/socket_util.h"
#include "server_process.h"
#include "temp_folder.h"
#include "test_clients.h"

namespace vorelin {
namespace {

constexpr int kClients = 200;
constexpr int kRoundSeconds = 20;

struct LoadClient {
  LoginLink link;
  std::string name;
  std::vector<ServerMessage> replies;
  int sent = 0;
};

// Every client connects, sends its messages one after another (each after the previous
// reply), then the round ends. True when every client got every reply in time.
bool RunRound(int port, bool with_registration, int& correct, double& seconds) {
  std::vector<std::unique_ptr<LoadClient>> clients;
  for (int i = 0; i < kClients; ++i) {
    auto c = std::make_unique<LoadClient>();
    c->link = LoginLink(LoginServerAddress{"127.0.0.1", "127.0.0.1", port});
    c->name = "user" + std::to_string(i);
    LoadClient* raw = c.get();
    c->link.SetReplyHandler([raw](const ServerMessage& m) { raw->replies.push_back(m); });
    clients.push_back(std::move(c));
  }
  auto messages = [&](const LoadClient& c) {
    std::vector<ServerMessage> out;
    if (with_registration) out.push_back(RegistrationMessage(c.name, "pw-" + c.name));
    out.push_back(LoginMessage(c.name, "pw-" + c.name));
    out.push_back(LoginMessage(c.name, "wrong"));
    return out;
  };
  const size_t expected = messages(*clients[0]).size();
  auto start = std::chrono::steady_clock::now();
  for (auto& c : clients) c->link.Open();
  std::vector<pollfd> polls;
  std::vector<LoadClient*> owners;
  for (;;) {
    size_t done = 0;
    polls.clear();
    owners.clear();
    for (auto& c : clients) {
      if (c->replies.size() == expected) {
        ++done;
        continue;
      }
      if (c->link.IsConnected() && c->sent == static_cast<int>(c->replies.size()))
        c->link.Send(messages(*c)[c->sent++]);
      if (c->link.SocketHandle() < 0) continue;  // dropped: counted as a failure below
      short events = POLLIN | (c->link.WantsWrite() ? POLLOUT : 0);
      polls.push_back(pollfd{c->link.SocketHandle(), events, 0});
      owners.push_back(c.get());
    }
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (done == clients.size() || polls.empty() || seconds > kRoundSeconds) break;
    if (poll(polls.data(), polls.size(), 100) > 0) {
      for (size_t i = 0; i < polls.size(); ++i)
        if (polls[i].revents) owners[i]->link.OnSocketEvent();
    }
  }
  correct = 0;
  for (auto& c : clients) {
    if (c->replies.size() != expected) continue;
    size_t k = 0;
    bool ok = true;
    if (with_registration) ok = c->replies[k++].code == kCodeRegistered;
    LoginReplyAction accepted = DecideLoginReply(c->replies[k++], "");
    ok = ok && accepted.kind == LoginReplyAction::Kind::kAccept &&
         accepted.message == "欢迎使用Vorelin训练系统，" + c->name + "！";
    ok = ok && c->replies[k++].code == kCodeWrongPassword;
    if (ok) ++correct;
  }
  return correct == kClients;
}

TEST(LoginServerLoad, TwoHundredConcurrentClients) {
  // In a sanitizer build, freed blocks sit in a quarantine and would look like growth.
  setenv("ASAN_OPTIONS", "quarantine_size_mb=0:thread_local_quarantine_size_kb=0", 0);
  TempFolder folder;
  ServerProcess server;
  // Minimal Argon2id limits: at the interactive ones 1,400 hashes would take minutes.
  ASSERT_TRUE(server.Start("vorelin-login-server", {"--db", (folder.Path() / "load.db").string(),
                                                    "--test-minimum-hashes"}));
  int correct = 0;
  double seconds = 0;
  ASSERT_TRUE(RunRound(server.Port(), true, correct, seconds)) << correct << " correct";
  long warm_kb = server.ResidentKb();
  std::printf("round 0 (register + 2 logins each): %d clients in %.2f s, server RSS %ld KiB\n",
              kClients, seconds, warm_kb);
  long after_kb = warm_kb;
  for (int round = 1; round <= 3; ++round) {
    ASSERT_TRUE(RunRound(server.Port(), false, correct, seconds)) << correct << " correct";
    after_kb = server.ResidentKb();
    std::printf("round %d (2 logins each): %d clients, %d replies in %.2f s (%.0f replies/s), "
                "server RSS %ld KiB\n",
                round, kClients, 2 * kClients, seconds, 2 * kClients / seconds, after_kb);
  }
  EXPECT_TRUE(server.IsRunning());
  // Flat: connections are freed; a little allocator slack is allowed.
  EXPECT_LT(after_kb - warm_kb, 1024) << "server memory grew from " << warm_kb << " to " << after_kb;
}

constexpr int kIdleSockets = 1000;

// Where the idle sockets come from, cycled: the good client's own address (the server must
// recycle that address's places) or four others (it must recycle places of all).
struct IdleSources {
  const char* name;
  std::vector<std::string> addresses;
};
const IdleSources kIdleSources[] = {
    {"from the good client's address", {"127.0.0.1"}},
    {"from four other addresses", {"127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5"}},
};

// Opens kIdleSockets connections, each sending `first_bytes` (maybe none) and then nothing.
std::vector<SocketFd> OpenIdleSockets(int port, const IdleSources& sources,
                                      const std::string& first_bytes) {
  std::vector<SocketFd> idle;
  for (int i = 0; i < kIdleSockets; ++i) {
    SocketFd fd = ConnectFrom(sources.addresses[i % sources.addresses.size()], port);
    EXPECT_TRUE(fd.IsOpen()) << "socket " << i;
    if (!first_bytes.empty()) SendAll(fd.Get(), first_bytes);
    idle.push_back(std::move(fd));
  }
  return idle;
}

size_t StillOpen(const std::vector<SocketFd>& sockets) {
  size_t open = 0;
  for (const SocketFd& fd : sockets) open += fd.IsOpen() && !ClosedByPeer(fd.Get(), 0);
  return open;
}

bool EnoughFiles() { return RaiseOpenFileLimit() >= kIdleSockets + 200; }

TEST(LoginServerLoad, AThousandIdleSocketsDoNotKeepAGoodClientOut) {
  if (!EnoughFiles()) GTEST_SKIP() << "the open-file limit is below " << kIdleSockets + 200;
  for (const IdleSources& sources : kIdleSources) {
    SCOPED_TRACE(sources.name);
    TempFolder folder;
    std::string db = (folder.Path() / "idle.db").string();
    ASSERT_EQ(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "good", "pw"}), 0);
    ServerProcess server;
    ASSERT_TRUE(server.Start("vorelin-login-server", {"--db", db}));
    long before_kb = server.ResidentKb();
    std::vector<SocketFd> idle = OpenIdleSockets(server.Port(), sources, "");
    auto start = std::chrono::steady_clock::now();
    LinkClient good(server.Port());
    ASSERT_TRUE(good.Connect());
    EXPECT_EQ(good.Ask(LoginMessage("good", "pw")).code, kCodeLoginAccepted);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("login server, %d idle sockets %s: good client logged in after %.3f s "
                "(one Argon2id check included); %zu idle sockets still held; "
                "server RSS %ld KiB (%ld KiB before, peak %ld KiB)\n",
                kIdleSockets, sources.name, seconds, StillOpen(idle), server.ResidentKb(), before_kb,
                server.PeakResidentKb());
    EXPECT_TRUE(server.IsRunning());
  }
}

TEST(QuoteServerLoad, AThousandStalledHalfRequestsDoNotKeepAGoodClientOut) {
  if (!EnoughFiles()) GTEST_SKIP() << "the open-file limit is below " << kIdleSockets + 200;
  // Heads that promise thirteen more bytes, which never come.
  const std::string half = MinuteDataRequest(20240105, 1, "600000").substr(0, kRequestHeadSize);
  for (const IdleSources& sources : kIdleSources) {
    SCOPED_TRACE(sources.name);
    TempFolder data;
    ServerProcess server;
    ASSERT_TRUE(server.Start("vorelin-quote-server", {"--root", data.Path().string()}));
    long before_kb = server.ResidentKb();
    std::vector<SocketFd> idle = OpenIdleSockets(server.Port(), sources, half);
    auto start = std::chrono::steady_clock::now();
    SocketFd good = ConnectFrom("127.0.0.1", server.Port());
    ASSERT_TRUE(good.IsOpen());
    ASSERT_TRUE(SendAll(good.Get(), HelloPacket() + MinuteDataRequest(20240105, 1, "600000")));
    std::string answer;
    EXPECT_TRUE(ReadQuoteAnswer(good.Get(), 5000, answer));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("quote server, %d stalled half-requests %s: good client answered after %.3f s; "
                "%zu stalled sockets still held; server RSS %ld KiB (%ld KiB before, peak %ld KiB)\n",
                kIdleSockets, sources.name, seconds, StillOpen(idle), server.ResidentKb(), before_kb,
                server.PeakResidentKb());
    EXPECT_TRUE(server.IsRunning());
  }
}

}  // namespace
}  // namespace vorelin
