// The login link against the reference login server over loopback: registration, login,
// wrong password, locked user, version replies, garbage that must neither bring it down nor
// be taken for a request, refused names, slowed guessing, idle timeouts and connection limits.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "common/base64.h"
#include "net/login_link.h"
#include "net/login_replies.h"
#include "net/socket_util.h"
#include "server_process.h"
#include "temp_folder.h"
#include "test_clients.h"

namespace vorelin {
namespace {

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
  LinkClient c(server.Port());
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

// The database file and its write-ahead log, as bytes: whatever the server wrote is in one.
std::string StoredBytes(const std::string& db) {
  std::string bytes;
  for (const std::string& path : {db, db + "-wal"}) {
    std::ifstream in(path, std::ios::binary);
    bytes.append(std::istreambuf_iterator<char>(in), {});
  }
  return bytes;
}

TEST_F(LoginServerFixture, PasswordsAreStoredAsArgon2idStrings) {
  ASSERT_EQ(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "ann", "topsecret"}), 0);
  ASSERT_EQ(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "bob", "topsecret"}), 0);
  EXPECT_NE(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "ann", "x"}), 0);
  EXPECT_NE(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "a=b", "x"}), 0);
  EXPECT_NE(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "carl", ""}), 0);
  std::string bytes = StoredBytes(db);
  EXPECT_EQ(bytes.find("topsecret"), std::string::npos);
  EXPECT_NE(bytes.find("$argon2id$"), std::string::npos);
  LinkClient c(server.Port());
  ASSERT_TRUE(c.Connect());
  EXPECT_EQ(c.Ask(LoginMessage("ann", "topsecret")).code, kCodeLoginAccepted);
  EXPECT_EQ(c.Ask(LoginMessage("bob", "topsecret")).code, kCodeLoginAccepted);
  EXPECT_EQ(c.Ask(LoginMessage("a=b", "x")).code, kCodeWrongPassword);
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
  LinkClient c(server.Port());
  ASSERT_TRUE(c.Connect());
  EXPECT_EQ(c.Ask(RegistrationMessage("u", "p")).code, kCodeRegistered);
  EXPECT_TRUE(server.IsRunning());
}

TEST(LoginServer, CurrentVersionAndNoServer) {
  TempFolder folder;
  ServerProcess server;
  ASSERT_TRUE(server.Start("vorelin-login-server", {"--db", (folder.Path() / "u.db").string()}));
  LinkClient c(server.Port());
  ASSERT_TRUE(c.Connect());
  MainWindowReplyAction latest = DecideMainWindowReply(c.Ask(VersionQuestion()), "");
  EXPECT_EQ(latest.message, "您当前使用的是最新版本！");
  int port = server.Port();
  server.Stop();
  // The link notices the closed connection, refuses to send and can reconnect later.
  for (int i = 0; i < 20 && c.link.IsConnected(); ++i) c.link.Poll(50);
  EXPECT_FALSE(c.link.IsConnected());
  EXPECT_FALSE(c.link.Send(LoginMessage("a", "b")));
  LinkClient none(port);
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

// Each line goes on a connection of its own, followed by a version question: the first reply
// must be the version answer, so nothing before it was taken for a request.
TEST_F(LoginServerFixture, LinesThatAreNoWholeRequestAreIgnored) {
  struct Case {
    const char* name;
    std::string line;
  };
  const Case cases[] = {
      {"another protocol", "GET / HTTP/1.1\r\n"},
      {"one field", Base64Encode("10~") + "\r\n"},
      {"code and sub-code only", Base64Encode("0~15") + "\r\n"},
      {"registration without a password", Base64Encode("0~15~eve") + "\r\n"},
      {"registration with another sub-code", Base64Encode("0~16~eve~pw") + "\r\n"},
      {"login with another sub-code", Base64Encode("1~0~eve~pw") + "\r\n"},
      {"an empty line", "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RawLoginClient raw(server.Port());
    ASSERT_TRUE(raw.IsOpen());
    ASSERT_TRUE(raw.Send(c.line));
    ASSERT_TRUE(raw.SendMessage(VersionQuestion()));
    std::optional<ServerMessage> first = raw.NextReply(5000);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->code, kCodeVersion);
  }
  // None of them registered anyone: "null" (a missing text) is no user, "eve" still free.
  LinkClient link(server.Port());
  ASSERT_TRUE(link.Connect());
  EXPECT_EQ(link.Ask(LoginMessage("null", "null")).code, kCodeWrongPassword);
  EXPECT_EQ(link.Ask(RegistrationMessage("eve", "pw")).code, kCodeRegistered);
}

TEST_F(LoginServerFixture, NamesThatCouldRewriteTheSettingsAreRefused) {
  LinkClient c(server.Port());
  ASSERT_TRUE(c.Connect());
  for (const std::string name : {"x]\r\n[系统设置", "名称=1", "[a]", "a\nb", "tab\there"}) {
    SCOPED_TRACE(name);
    ServerMessage reply = c.Ask(RegistrationMessage(name, "pw"));
    EXPECT_EQ(reply.code, kCodeWrongPassword);
    EXPECT_EQ(reply.texts[0], "用户名不能包含换行、控制字符、[、]或=！");
    EXPECT_EQ(DecideUserDialogReply(reply, ""), "用户名或密码错误，重试！");
    EXPECT_EQ(c.Ask(LoginMessage(name, "pw")).code, kCodeWrongPassword);
  }
}

// After five wrong passwords for one name its answers go out a second apart, while another
// client logging in meanwhile is answered at once. Minimal hashes, so that the waits measured
// are the server's and not the hashing's.
TEST(LoginServerGuessing, SlowsThatNameAndNobodyElse) {
  TempFolder folder;
  ServerProcess server;
  ASSERT_TRUE(server.Start("vorelin-login-server", {"--db", (folder.Path() / "u.db").string(),
                                                    "--test-minimum-hashes"}));
  LinkClient setup(server.Port());
  ASSERT_TRUE(setup.Connect());
  ASSERT_EQ(setup.Ask(RegistrationMessage("victim", "right")).code, kCodeRegistered);
  ASSERT_EQ(setup.Ask(RegistrationMessage("other", "pw")).code, kCodeRegistered);
  RawLoginClient guesser(server.Port());
  ASSERT_TRUE(guesser.IsOpen());
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(guesser.SendMessage(LoginMessage("victim", "guess" + std::to_string(i))));
    std::optional<ServerMessage> reply = guesser.NextReply(5000);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->code, kCodeWrongPassword);
  }
  auto sent = std::chrono::steady_clock::now();
  ASSERT_TRUE(guesser.Send(EncodeServerMessage(LoginMessage("victim", "g5")) + "\r\n" +
                           EncodeServerMessage(LoginMessage("victim", "g6")) + "\r\n" +
                           EncodeServerMessage(LoginMessage("victim", "right")) + "\r\n"));
  LinkClient other(server.Port());
  ASSERT_TRUE(other.Connect());
  EXPECT_EQ(other.Ask(LoginMessage("other", "pw")).code, kCodeLoginAccepted);
  // The other client is through while the slowed name still waits for most of its answers.
  std::vector<int> codes;
  while (std::optional<ServerMessage> early = guesser.NextReply(0)) codes.push_back(early->code);
  EXPECT_LE(codes.size(), 1u);
  size_t early = codes.size();
  std::vector<std::chrono::steady_clock::time_point> arrivals;
  while (codes.size() < 3) {
    std::optional<ServerMessage> reply = guesser.NextReply(5000);
    ASSERT_TRUE(reply);
    codes.push_back(reply->code);
    arrivals.push_back(std::chrono::steady_clock::now());
  }
  EXPECT_EQ(codes, (std::vector<int>{kCodeWrongPassword, kCodeWrongPassword, kCodeLoginAccepted}));
  for (size_t i = 1; i < arrivals.size(); ++i) {
    EXPECT_GE(arrivals[i] - arrivals[i - 1], std::chrono::milliseconds(900)) << "answer " << early + i;
  }
  EXPECT_GE(arrivals.back() - sent, std::chrono::milliseconds(2900));
}

TEST(LoginServerLimits, IdleClientsAreDroppedAndBusyOnesKept) {
  TempFolder folder;
  ServerProcess server;
  ASSERT_TRUE(server.Start("vorelin-login-server",
                           {"--db", (folder.Path() / "u.db").string(), "--idle-timeout", "1"}));
  RawLoginClient silent(server.Port());
  RawLoginClient half_line(server.Port());
  RawLoginClient busy(server.Port());
  ASSERT_TRUE(half_line.Send(EncodeServerMessage(VersionQuestion())));  // no line end, ever
  auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(2500)) {
    ASSERT_TRUE(busy.SendMessage(VersionQuestion()));
    std::optional<ServerMessage> reply = busy.NextReply(2000);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->code, kCodeVersion);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }
  EXPECT_TRUE(ClosedByPeer(silent.Fd(), 1000));
  EXPECT_TRUE(ClosedByPeer(half_line.Fd(), 1000));
  EXPECT_FALSE(ClosedByPeer(busy.Fd(), 100));
}

// Three connections in all, two per address: a new client takes the place of the one idle
// the longest, of its own address when that is full, else of all.
TEST(LoginServerLimits, ANewClientReplacesTheLongestIdle) {
  TempFolder folder;
  ServerProcess server;
  ASSERT_TRUE(server.Start("vorelin-login-server",
                           {"--db", (folder.Path() / "u.db").string(), "--max-connections", "3",
                            "--max-per-address", "2"}));
  // Each is greeted, so the server has taken it before the next one comes.
  auto open = [&](const std::string& from) {
    auto c = std::make_unique<RawLoginClient>(server.Port(), from);
    EXPECT_TRUE(c->IsOpen());
    EXPECT_FALSE(c->NextReply(300));  // the greeting is no reply line
    return c;
  };
  auto a1 = open("127.0.0.2");
  auto a2 = open("127.0.0.2");
  auto a3 = open("127.0.0.2");  // address full: a1 goes
  EXPECT_TRUE(ClosedByPeer(a1->Fd(), 2000));
  auto b1 = open("127.0.0.3");
  ASSERT_TRUE(a2->SendMessage(VersionQuestion()));  // a2 is active again: a3 idles longest
  ASSERT_TRUE(a2->NextReply(2000));
  auto c1 = open("127.0.0.4");  // server full: a3 goes
  EXPECT_TRUE(ClosedByPeer(a3->Fd(), 2000));
  for (auto* kept : {a2.get(), b1.get(), c1.get()}) {
    ASSERT_TRUE(kept->SendMessage(VersionQuestion()));
    std::optional<ServerMessage> reply = kept->NextReply(2000);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->code, kCodeVersion);
  }
}

}  // namespace
}  // namespace vorelin
