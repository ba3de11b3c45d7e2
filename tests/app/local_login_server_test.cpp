// The login server the trainer brings along: started from the program's folder only for this
// machine and only when nothing answers, usable by the login link, and gone with its owner.
#include <QTest>

#include <chrono>
#include <filesystem>

#include "app/local_login_server.h"
#include "net/login_link.h"
#include "net/login_replies.h"
#include "net/server_process.h"
#include "net/socket_util.h"
#include "net/temp_folder.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;

// A port nobody listens on right now.
int FreePort() {
  int port = 0;
  std::string error;
  ListenTcp("127.0.0.1", 0, port, error);
  return port;
}

bool Accepts(int port) { return ConnectTcp("127.0.0.1", port, 300).IsOpen(); }

// Sends one message on a fresh link and waits for the reply's code; -1 when none came.
int Exchange(int port, const ServerMessage& message) {
  LoginLink link(LoginServerAddress{"127.0.0.1", "127.0.0.1", port});
  int code = -1;
  link.SetReplyHandler([&](const ServerMessage& reply) { code = reply.code; });
  if (!link.Open()) return -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  bool sent = false;
  while (code < 0 && std::chrono::steady_clock::now() < deadline && link.Poll(20)) {
    if (!sent && link.IsConnected()) sent = link.Send(message);
  }
  return code;
}

}  // namespace

class LocalLoginServerTest : public QObject {
  Q_OBJECT

 private slots:
  void startsTheBundledServerWhenNothingAnswersAndEndsIt();
  void leavesAServerThatAlreadyAnswers();
  void startsNothingForAnotherMachine();
  void reportsAMissingProgram();
  void reportsAServerThatCannotStart();
};

void LocalLoginServerTest::startsTheBundledServerWhenNothingAnswersAndEndsIt() {
  TempFolder root;
  const int port = FreePort();
  {
    LocalLoginServer server;  // the test program sits beside the server in the build's bin
    std::string error;
    QVERIFY2(server.EnsureRunning("localhost", port, root.Path(), &error), error.c_str());
    QVERIFY(fs::exists(root.Path() / "users.db"));
    QCOMPARE(Exchange(port, RegistrationMessage("新用户", "pw")), kCodeRegistered);
    QCOMPARE(Exchange(port, LoginMessage("新用户", "pw")), kCodeLoginAccepted);
    QVERIFY2(server.EnsureRunning("127.0.0.1", port, root.Path(), &error), error.c_str());
  }
  QVERIFY2(!Accepts(port), "the server ends with its owner");
}

void LocalLoginServerTest::leavesAServerThatAlreadyAnswers() {
  TempFolder root, db;
  ServerProcess running;
  QVERIFY(running.Start("vorelin-login-server", {"--db", (db.Path() / "u.db").string()}));
  {
    LocalLoginServer server;
    std::string error;
    QVERIFY(server.EnsureRunning("127.0.0.1", running.Port(), root.Path(), &error));
  }
  QVERIFY2(!fs::exists(root.Path() / "users.db"), "no second server was started");
  QVERIFY(running.IsRunning());
  QVERIFY(Accepts(running.Port()));
}

void LocalLoginServerTest::startsNothingForAnotherMachine() {
  TempFolder root;
  const int port = FreePort();
  LocalLoginServer server;
  std::string error;
  QVERIFY(server.EnsureRunning("192.0.2.10", port, root.Path(), &error));
  QVERIFY(!Accepts(port));
  QVERIFY(!fs::exists(root.Path() / "users.db"));
}

void LocalLoginServerTest::reportsAMissingProgram() {
  TempFolder root, empty;
  LocalLoginServer server(QString::fromStdString(empty.Path().string()));
  std::string error;
  QVERIFY(!server.EnsureRunning("127.0.0.1", FreePort(), root.Path(), &error));
  QCOMPARE(QString::fromStdString(error),
           QString::fromStdString("找不到登录服务器程序：" +
                                  (empty.Path() / "vorelin-login-server").string()));
}

void LocalLoginServerTest::reportsAServerThatCannotStart() {
  TempFolder root;
  const fs::path missing = root.Path() / "no such folder";  // the user store cannot be made
  const int port = FreePort();
  LocalLoginServer server;
  std::string error;
  QVERIFY(!server.EnsureRunning("127.0.0.1", port, missing, &error));
  const std::string expected = "登录服务器未能在端口 " + std::to_string(port) + " 上启动";
  QVERIFY2(error.rfind(expected, 0) == 0, error.c_str());
  QVERIFY(!Accepts(port));
}

}  // namespace vorelin

QTEST_MAIN(vorelin::LocalLoginServerTest)
#include "local_login_server_test.moc"
