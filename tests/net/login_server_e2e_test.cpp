// The login link against the reference login server over loopback: registration, login,
// wrong password, locked user, version replies, and garbage that must not bring it down.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "net/login_link.h"
#include "net/login_replies.h"
#include "net/socket_util.h"
#include "server_process.h"
#include "temp_folder.h"

namespace vorelin {
namespace {

// A link with the reply handler of the test: it records every decoded message.
struct Client {
  explicit Client(int port) : link(LoginServerAddress{"127.0.0.1", "127.0.0.1", port}) {
    link.SetReplyHandler([this](const ServerMessage& m) { replies.push_back(m); });
  }
  bool Connect() {
    if (!link.Open()) return false;
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!link.IsConnected() && std::chrono::steady_clock::now() < until) {
      if (!link.Poll(50)) return false;  // refused
    }
    return link.IsConnected();
  }
  // Sends and waits for one reply.
  ServerMessage Ask(const ServerMessage& m) {
    size_t before = replies.size();
    EXPECT_TRUE(link.Send(m));
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (replies.size() == before && std::chrono::steady_clock::now() < until) link.Poll(50);
    return replies.size() > before ? replies.back() : ServerMessage{};
  }
  LoginLink link;
  std::vector<ServerMessage> replies;
};

struct LoginServerFixture : ::testing::Test {
  void SetUp() override {
    db = (folder.Path() / "users.db").string();
    ASSERT_TRUE(server.Start("vorelin-login-server",
                             {"--db", db, "--welcome", "欢迎使用", "--version", "20990101",
                              "--download", "dl.example.invalid/v2.zip"}));
  }
  TempFolder folder;
  std::string db;
  ServerProcess server;
};

TEST_F(LoginServerFixture, RegisterLoginWrongPasswordLockedAndVersion) {
  Client c(server.Port());
  ASSERT_TRUE(c.Connect());
  EXPECT_EQ(DecideUserDialogReply(c.Ask(RegistrationMessage("张三", "pw1")), ""), "注册成功！");
  EXPECT_EQ(DecideUserDialogReply(c.Ask(RegistrationMessage("张三", "other")), ""),
            "此用户名已注册，请重新注册！");

  LoginReplyAction ok = DecideLoginReply(c.Ask(LoginMessage("张三", "pw1")), "");
  EXPECT_EQ(ok.kind, LoginReplyAction::Kind::kAccept);
  EXPECT_EQ(ok.message, "欢迎使用，张三！");

  LoginReplyAction wrong = DecideLoginReply(c.Ask(LoginMessage("张三", "pw2")), "");
  EXPECT_EQ(wrong.message, "用户名或密码错误，重试！");
  EXPECT_EQ(DecideLoginReply(c.Ask(LoginMessage("nobody", "pw1")), "").message,
            "用户名或密码错误，重试！");

  ASSERT_EQ(RunProgram("vorelin-login-server", {"--db", db, "--lock", "张三"}), 0);
  EXPECT_EQ(DecideLoginReply(c.Ask(LoginMessage("张三", "pw1")), "：x").message,
            "此用户已被锁定，请联系管理员：x！");

  MainWindowReplyAction upgrade = DecideMainWindowReply(c.Ask(VersionQuestion()), "");
  EXPECT_EQ(upgrade.kind, MainWindowReplyAction::Kind::kAskUpgrade);
  EXPECT_EQ(upgrade.address, "http://dl.example.invalid/v2.zip");
}

TEST_F(LoginServerFixture, PasswordsAreStoredAsSaltedHashes) {
  ASSERT_EQ(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "ann", "topsecret"}), 0);
  ASSERT_EQ(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "bob", "topsecret"}), 0);
  EXPECT_NE(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "ann", "x"}), 0);
  std::string bytes;
  std::ifstream in(db, std::ios::binary);
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(bytes.find("topsecret"), std::string::npos);
  Client c(server.Port());
  ASSERT_TRUE(c.Connect());
  EXPECT_EQ(c.Ask(LoginMessage("ann", "topsecret")).code, kCodeLoginAccepted);
  EXPECT_EQ(c.Ask(LoginMessage("bob", "topsecret")).code, kCodeLoginAccepted);
}

TEST_F(LoginServerFixture, GarbageAndAbruptDisconnectsLeaveTheServerWorking) {
  const std::string junk[] = {"not base64 at all\r\n", std::string(10000, 'A'),
                              std::string("\xff\xfa\x18", 3) + std::string(500, 'x'),
                              std::string(300, '\0') + "\r\n", "MTB+\r\n~~~~\r\n"};
  for (const std::string& bytes : junk) {
    SocketFd raw = ConnectTcp("127.0.0.1", server.Port(), 2000);
    ASSERT_TRUE(raw.IsOpen());
    SendAll(raw.Get(), bytes);
  }  // each closes at once, mid-line
  Client c(server.Port());
  ASSERT_TRUE(c.Connect());
  EXPECT_EQ(c.Ask(RegistrationMessage("u", "p")).code, kCodeRegistered);
  EXPECT_TRUE(server.IsRunning());
}

TEST(LoginServer, CurrentVersionAndNoServer) {
  TempFolder folder;
  ServerProcess server;
  ASSERT_TRUE(server.Start("vorelin-login-server", {"--db", (folder.Path() / "u.db").string()}));
  Client c(server.Port());
  ASSERT_TRUE(c.Connect());
  MainWindowReplyAction latest = DecideMainWindowReply(c.Ask(VersionQuestion()), "");
  EXPECT_EQ(latest.message, "您当前使用的是最新版本！");
  int port = server.Port();
  server.Stop();
  // The link notices the closed connection, refuses to send and can reconnect later.
  for (int i = 0; i < 20 && c.link.IsConnected(); ++i) c.link.Poll(50);
  EXPECT_FALSE(c.link.IsConnected());
  EXPECT_FALSE(c.link.Send(LoginMessage("a", "b")));
  Client none(port);
  EXPECT_FALSE(none.Connect());
}

TEST(LoginLinkAddress, HostNamesResolveElseTheFallbackIsUsed) {
  // Only names that resolve without asking the network: nothing here leaves the machine.
  EXPECT_EQ(ResolveIpv4("localhost", "127.0.0.2"), "127.0.0.1");
  EXPECT_EQ(ResolveIpv4("127.0.0.1", "127.0.0.2"), "127.0.0.1");
  LoginLink link(LoginServerAddress{"", "127.0.0.3", 1});
  link.Open();
  EXPECT_EQ(link.ResolvedAddress(), "127.0.0.3");
}

}  // namespace
}  // namespace vorelin
