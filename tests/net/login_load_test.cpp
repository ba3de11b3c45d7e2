// Load on the reference login server: 200 login links at once, every reply checked, and the
// server's memory compared across rounds. Bounded in clients and time; loopback only.
#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "net/login_link.h"
#include "net/login_replies.h"
#include "server_process.h"
#include "temp_folder.h"

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
  TempFolder folder;
  ServerProcess server;
  ASSERT_TRUE(server.Start("vorelin-login-server", {"--db", (folder.Path() / "load.db").string()}));
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

}  // namespace
}  // namespace vorelin
