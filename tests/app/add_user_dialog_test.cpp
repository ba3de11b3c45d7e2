// The user dialog on its own: the '注册' checks and what reaches the wire, '重填', and whose
// reply handler is in force while it is shown and after it is hidden. A bare loopback peer
// stands in for the server, so the test sees every byte sent and chooses every reply.
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/add_user_dialog.h"
#include "app/qt_login_link.h"
#include "net/login_replies.h"
#include "support/loopback_peer.h"
#include "support/recording_messages.h"

namespace vorelin {
namespace {

using testing::LoopbackPeer;
using testing::RecordingMessages;

QString Q(const std::string& text) { return QString::fromStdString(text); }

struct UserDialog {
  explicit UserDialog(int port)
      : link(LoginServerAddress{"127.0.0.1", "127.0.0.1", port}), dialog(link, messages) {}
  QLineEdit* Box(const char* name) { return dialog.findChild<QLineEdit*>(name); }
  void Fill(const QString& user, const QString& password, const QString& confirmation) {
    for (const char* name : {"edtUser", "edtPassword", "edtConfirm"}) Box(name)->clear();
    QTest::keyClicks(Box("edtUser"), user);
    QTest::keyClicks(Box("edtPassword"), password);
    QTest::keyClicks(Box("edtConfirm"), confirmation);
  }
  void Click(const char* name) { dialog.findChild<QPushButton*>(name)->click(); }
  // Opens the link to the peer and lets the peer take the connection.
  bool Connect(LoopbackPeer& peer) {
    link.Open();
    return QTest::qWaitFor([&] { return link.IsConnected(); }) && peer.Accept();
  }

  RecordingMessages messages;
  QtLoginLink link;
  TFrmAdd dialog;
};

}  // namespace

class AddUserDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void layoutCarriesItsNamesAndTexts();
  void registrationChecks_data();
  void registrationChecks();
  void validRegistrationIsSentAsTyped();
  void notConnectedIsReportedWithoutReconnecting();
  void resetEmptiesTheBoxesAndFocusesTheUserName();
  void shownDialogAnswersRepliesAndHiddenDialogGivesThemBack();
};

void AddUserDialogTest::layoutCarriesItsNamesAndTexts() {
  UserDialog d(0);
  QCOMPARE(d.dialog.windowTitle(), QString("帐号管理"));
  QVERIFY(d.dialog.windowFlags() & Qt::WindowStaysOnTopHint);
  auto* tabs = d.dialog.findChild<QTabWidget*>();
  QVERIFY(tabs);
  QCOMPARE(tabs->count(), 1);
  QCOMPARE(tabs->tabText(0), QString("注册账号"));
  QCOMPARE(d.Box("edtUser")->echoMode(), QLineEdit::Normal);
  QCOMPARE(d.Box("edtPassword")->echoMode(), QLineEdit::Password);
  QCOMPARE(d.Box("edtConfirm")->echoMode(), QLineEdit::Password);
  QCOMPARE(d.dialog.findChild<QPushButton*>("btnRegister")->text(), QString("注册"));
  QCOMPARE(d.dialog.findChild<QPushButton*>("btnReset")->text(), QString("重填"));
}

void AddUserDialogTest::registrationChecks_data() {
  QTest::addColumn<QString>("user");
  QTest::addColumn<QString>("password");
  QTest::addColumn<QString>("confirmation");
  QTest::addColumn<QString>("message");
  QTest::addColumn<bool>("passwords_emptied");
  QTest::newRow("no name") << "" << "pw" << "pw" << "用户名或密码不能为空！" << false;
  QTest::newRow("no password") << "wang" << "" << "" << "用户名或密码不能为空！" << false;
  QTest::newRow("only the confirmation")
      << "wang" << "" << "pw" << "用户名或密码不能为空！" << false;
  QTest::newRow("passwords differ")
      << "wang" << "pw" << "pW" << "请确认两次输入密码一致且不为空！" << true;
}

// A refused registration is shown and nothing goes to the server, though connected.
void AddUserDialogTest::registrationChecks() {
  QFETCH(QString, user);
  QFETCH(QString, password);
  QFETCH(QString, confirmation);
  QFETCH(QString, message);
  QFETCH(bool, passwords_emptied);
  LoopbackPeer peer;
  QVERIFY(peer.Listen());
  UserDialog d(peer.port);
  QVERIFY(d.Connect(peer));
  d.Fill(user, password, confirmation);
  d.Click("btnRegister");
  QCOMPARE(Q(d.messages.Last()), message);
  QCOMPARE(d.messages.shown.size(), size_t{1});
  QCOMPARE(d.Box("edtUser")->text(), user);
  QCOMPARE(d.Box("edtPassword")->text().isEmpty(), passwords_emptied || password.isEmpty());
  QCOMPARE(d.Box("edtConfirm")->text().isEmpty(), passwords_emptied || confirmation.isEmpty());
  QTest::qWait(100);
  QCOMPARE(Q(peer.Received()), QString());
}

void AddUserDialogTest::validRegistrationIsSentAsTyped() {
  LoopbackPeer peer;
  QVERIFY(peer.Listen());
  UserDialog d(peer.port);
  QVERIFY(d.Connect(peer));
  d.Fill("wang", "p w", "p w");
  d.Click("btnRegister");
  const std::string expected = EncodeServerMessage(RegistrationMessage("wang", "p w")) + "\r\n";
  QVERIFY(QTest::qWaitFor([&] { return peer.Received().size() >= expected.size(); }));
  QCOMPARE(Q(peer.Received()), Q(expected));
  QVERIFY(d.messages.shown.empty());
}

void AddUserDialogTest::notConnectedIsReportedWithoutReconnecting() {
  LoopbackPeer peer;  // listening, but the link was never opened
  QVERIFY(peer.Listen());
  UserDialog d(peer.port);
  d.Fill("wang", "pw", "pw");
  d.Click("btnRegister");
  QCOMPARE(Q(d.messages.shown.at(0)), QString("服务器未连接！"));
  QTest::qWait(100);
  QCOMPARE(d.link.Link().SocketHandle(), -1);
  QVERIFY(!d.link.IsConnected());
}

void AddUserDialogTest::resetEmptiesTheBoxesAndFocusesTheUserName() {
  UserDialog d(0);
  d.dialog.show();
  d.dialog.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&d.dialog));
  d.Fill("wang", "pw", "px");
  d.Box("edtConfirm")->setFocus();
  d.Click("btnReset");
  for (const char* name : {"edtUser", "edtPassword", "edtConfirm"}) {
    QVERIFY2(d.Box(name)->text().isEmpty(), name);
  }
  QVERIFY(d.Box("edtUser")->hasFocus());
  QVERIFY(d.messages.shown.empty());
}

void AddUserDialogTest::shownDialogAnswersRepliesAndHiddenDialogGivesThemBack() {
  LoopbackPeer peer;
  QVERIFY(peer.Listen());
  UserDialog d(peer.port);
  std::vector<int> before;  // the handler in force before the dialog, e.g. the main window's
  d.link.SetReplyHandler([&](const ServerMessage& m) { before.push_back(m.code); });
  QVERIFY(d.Connect(peer));

  d.dialog.show();
  peer.Reply({kCodeRegistered, kCodeNameTaken, kCodeWrongPassword, kCodeVersion,
              kCodeLoginAccepted, kCodeLocked});
  QVERIFY(QTest::qWaitFor([&] { return d.messages.shown.size() == 4; }));
  QTest::qWait(100);  // the ignored replies have arrived too
  QCOMPARE(d.messages.shown.size(), size_t{4});
  QCOMPARE(Q(d.messages.shown[0]), QString("注册成功！"));
  QCOMPARE(Q(d.messages.shown[1]), QString("此用户名已注册，请重新注册！"));
  QCOMPARE(Q(d.messages.shown[2]), QString("用户名或密码错误，重试！"));
  QCOMPARE(Q(d.messages.shown[3]), Q(LockedUserText(kDefaultAdminContact)));
  QVERIFY(before.empty());

  d.dialog.hide();
  peer.Reply({kCodeRegistered});
  QVERIFY(QTest::qWaitFor([&] { return !before.empty(); }));
  QCOMPARE(before, std::vector<int>{kCodeRegistered});
  QCOMPARE(d.messages.shown.size(), size_t{4});

  // Shown again, it takes the link over again and still gives it back afterwards.
  d.dialog.show();
  peer.Reply({kCodeRegistered});
  QVERIFY(QTest::qWaitFor([&] { return d.messages.shown.size() == 5; }));
  d.dialog.hide();
  peer.Reply({kCodeNameTaken});
  QVERIFY(QTest::qWaitFor([&] { return before.size() == 2; }));
  QCOMPARE(before.back(), kCodeNameTaken);
}

}  // namespace vorelin

QTEST_MAIN(vorelin::AddUserDialogTest)
#include "add_user_dialog_test.moc"
