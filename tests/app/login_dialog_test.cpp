// The login dialog against the reference login server: registering through the user dialog,
// logging in (button and Enter), refusals, a server that is gone, a link that drops while a
// login is on its way, the remembered choice in config.ini and the users listed from log.mt3.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include "app/add_user_dialog.h"
#include "app/login_dialog.h"
#include "app/qt_login_link.h"
#include "net/server_process.h"
#include "net/socket_util.h"
#include "net/temp_folder.h"
#include "practice/journal_store.h"
#include "practice/password_scramble.h"
#include "practice/settings.h"
#include "support/recording_messages.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;
using testing::RecordingMessages;

QString Q(const std::string& text) { return QString::fromStdString(text); }

QStringList Q(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& t : texts) list << Q(t);
  return list;
}

void WriteConfig(const fs::path& root, const std::string& text) {
  std::ofstream(root / kConfigFileName, std::ios::binary) << text;
}

// One login dialog on its own data root and link, as the program creates it.
struct LoginWindow {
  LoginWindow(int port, fs::path root_folder)
      : root(std::move(root_folder)),
        link(LoginServerAddress{"127.0.0.1", "127.0.0.1", port}),
        dialog(root, link, messages) {}

  template <typename T>
  T* Child(const char* name) {
    return dialog.findChild<T*>(name);
  }
  QComboBox* Name() { return Child<QComboBox>("edtname"); }
  QLineEdit* Password() { return Child<QLineEdit>("edtPass"); }
  QPushButton* Login() { return Child<QPushButton>("btnLogin"); }

  // Shows the dialog and waits for the link it opens.
  bool ShowConnected() {
    dialog.show();
    return QTest::qWaitFor([&] { return link.IsConnected(); });
  }
  void Type(const QString& name, const QString& password) {
    Name()->clearEditText();
    Password()->clear();
    QTest::keyClicks(Name()->lineEdit(), name);
    QTest::keyClicks(Password(), password);
  }
  bool WaitForAccepted() {
    return QTest::qWaitFor([&] { return dialog.result() == QDialog::Accepted; });
  }
  bool WaitForMessages(size_t count) {
    return QTest::qWaitFor([&] { return messages.shown.size() >= count; });
  }

  fs::path root;
  RecordingMessages messages;
  QtLoginLink link;
  TFrmLogin dialog;
};

}  // namespace

class LoginDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void controlsCarryTheirNamesAndTexts();
  void registersThroughTheUserDialogThenLogsIn();
  void rememberedUserLogsInAndIsWelcomedAfterTheDialogCloses();
  void wrongPasswordEmptiesBothBoxesAndEnablesLoginAgain();
  void onlyEnterInThePasswordBoxLogsInAndOnlyOnce();
  void lockedUserIsRefused();
  void stoppedServerIsReportedAndTheLinkReconnects();
  void linkDroppedWhileLoggingInEnablesLoginAgain();
  void addUserOpensTheUserDialogAndLoginWorksAfterIt();
  void rememberPasswordWritesTheLoginChoice();
  void rememberPasswordReportsAnUnsavedFile();
  void shownListsTheJournalUsersKeepingTheRememberedName();
  void shownCreatesTheJournalOnFirstUse();

 private:
  TempFolder users_;
  ServerProcess server_;
};

void LoginDialogTest::initTestCase() {
  const std::string db = (users_.Path() / "users.db").string();
  QCOMPARE(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "张三", "密码1"}), 0);
  QCOMPARE(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "zhao", "pw"}), 0);
  QCOMPARE(RunProgram("vorelin-login-server", {"--db", db, "--add-user", "locked", "pw"}), 0);
  QCOMPARE(RunProgram("vorelin-login-server", {"--db", db, "--lock", "locked"}), 0);
  QVERIFY(server_.Start("vorelin-login-server", {"--db", db}));
}

void LoginDialogTest::controlsCarryTheirNamesAndTexts() {
  TempFolder root;
  LoginWindow w(server_.Port(), root.Path());
  QCOMPARE(w.dialog.windowTitle(), QString("登录"));
  QVERIFY(w.Name() && w.Name()->isEditable());
  QVERIFY(w.Password());
  QCOMPARE(w.Password()->echoMode(), QLineEdit::Password);
  QCOMPARE(w.Child<QCheckBox>("ckname")->text(), QString("记住密码"));
  QCOMPARE(w.Login()->text(), QString("登录"));
  QCOMPARE(w.Child<QPushButton>("btnClose")->text(), QString("退出"));
  QCOMPARE(w.Child<QPushButton>("btnAddUser")->text(), QString("免费注册"));
  QVERIFY(!w.link.IsConnected());  // the link waits for the dialog to be shown
}

void LoginDialogTest::registersThroughTheUserDialogThenLogsIn() {
  TempFolder root;
  LoginWindow w(server_.Port(), root.Path());
  QVERIFY(w.ShowConnected());
  {
    TFrmAdd add(w.link, w.messages);
    add.show();
    QTest::keyClicks(add.findChild<QLineEdit*>("edtUser"), "wang");
    QTest::keyClicks(add.findChild<QLineEdit*>("edtPassword"), "pw2");
    QTest::keyClicks(add.findChild<QLineEdit*>("edtConfirm"), "pw2");
    auto* registration = add.findChild<QPushButton*>("btnRegister");
    registration->click();
    QVERIFY(w.WaitForMessages(1));
    registration->click();
    QVERIFY(w.WaitForMessages(2));
    QCOMPARE(Q(w.messages.shown), QStringList({"注册成功！", "此用户名已注册，请重新注册！"}));
    add.hide();
  }
  w.Type("wang", "pw2");
  w.Login()->click();
  QVERIFY(w.WaitForAccepted());
  QCOMPARE(Q(w.dialog.User().Name()), QString("wang"));
}

void LoginDialogTest::rememberedUserLogsInAndIsWelcomedAfterTheDialogCloses() {
  TempFolder root;
  WriteConfig(root.Path(), "[系统设置]\r\n名称=张三\r\n密码=" + ScramblePassword("密码1") +
                               "\r\n记住密码=1\r\n");
  LoginWindow w(server_.Port(), root.Path());
  QCOMPARE(w.Name()->currentText(), QString("张三"));
  QCOMPARE(w.Password()->text(), QString("密码1"));
  QVERIFY(w.Child<QCheckBox>("ckname")->isChecked());

  bool visible_at_welcome = true;
  w.messages.on_show = [&](const std::string&) { visible_at_welcome = w.dialog.isVisible(); };
  QVERIFY(w.ShowConnected());
  QVERIFY(!w.dialog.User().IsSet());
  w.Login()->click();
  QVERIFY(w.WaitForMessages(1));
  QCOMPARE(w.dialog.result(), int(QDialog::Accepted));
  QVERIFY(w.dialog.User().IsSet());
  QCOMPARE(Q(w.dialog.User().Name()), QString("张三"));
  QCOMPARE(Q(w.messages.shown), QStringList({"欢迎使用Vorelin训练系统，张三！"}));
  QVERIFY2(!visible_at_welcome, "the welcome comes after the dialog has closed");
}

void LoginDialogTest::wrongPasswordEmptiesBothBoxesAndEnablesLoginAgain() {
  TempFolder root;
  LoginWindow w(server_.Port(), root.Path());
  QVERIFY(w.ShowConnected());
  w.dialog.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w.dialog));
  w.Type("zhao", "wrong");
  w.Child<QPushButton>("btnAddUser")->setFocus();
  w.Login()->click();
  QVERIFY2(!w.Login()->isEnabled(), "no second login while one is on its way");
  QVERIFY(w.WaitForMessages(1));
  QCOMPARE(Q(w.messages.shown), QStringList({"用户名或密码错误，重试！"}));
  QCOMPARE(w.Name()->currentText(), QString());
  QCOMPARE(w.Password()->text(), QString());
  QVERIFY(w.Login()->isEnabled());
  QVERIFY(w.Name()->hasFocus());
  QVERIFY(w.dialog.isVisible());
  QVERIFY(!w.dialog.User().IsSet());
}

void LoginDialogTest::onlyEnterInThePasswordBoxLogsInAndOnlyOnce() {
  TempFolder root;
  LoginWindow w(server_.Port(), root.Path());
  QVERIFY(w.ShowConnected());
  w.Type("zhao", "pw");
  QTest::keyClick(w.Name()->lineEdit(), Qt::Key_Return);
  QTest::qWait(300);
  QVERIFY2(w.dialog.result() != QDialog::Accepted, "Enter in the user box logs nobody in");
  QVERIFY(w.messages.shown.empty());

  w.Type("zhao", "wrong");
  QTest::keyClick(w.Password(), Qt::Key_Return);
  QVERIFY(w.WaitForMessages(1));
  QTest::qWait(300);  // time for a second answer, had two logins gone out
  QCOMPARE(Q(w.messages.shown), QStringList({"用户名或密码错误，重试！"}));

  w.Type("zhao", "pw");
  QTest::keyClick(w.Password(), Qt::Key_Enter);
  QVERIFY(w.WaitForAccepted());
  QCOMPARE(Q(w.dialog.User().Name()), QString("zhao"));
}

void LoginDialogTest::lockedUserIsRefused() {
  TempFolder root;
  LoginWindow w(server_.Port(), root.Path());
  QVERIFY(w.ShowConnected());
  w.Type("locked", "pw");
  w.Login()->click();
  QVERIFY(w.WaitForMessages(1));
  QCOMPARE(Q(w.messages.Last()), Q(LockedUserText(kDefaultAdminContact)));
  QCOMPARE(w.Name()->currentText(), QString());
  QVERIFY(w.Login()->isEnabled());
}

void LoginDialogTest::stoppedServerIsReportedAndTheLinkReconnects() {
  TempFolder root;
  TempFolder db;
  ServerProcess own;
  QVERIFY(own.Start("vorelin-login-server", {"--db", (db.Path() / "u.db").string()}));
  const int port = own.Port();
  LoginWindow w(port, root.Path());
  QVERIFY(w.ShowConnected());
  own.Kill();
  QVERIFY(QTest::qWaitFor([&] { return !w.link.IsConnected(); }));

  // Something answers on the port again; the failed login's reconnect must find it.
  int bound = 0;
  std::string error;
  SocketFd listener = ListenTcp("127.0.0.1", port, bound, error);
  QVERIFY2(listener.IsOpen(), error.c_str());
  w.Type("zhao", "pw");
  w.Login()->click();
  QCOMPARE(Q(w.messages.shown), QStringList({"服务器未连接！"}));
  QVERIFY(w.Login()->isEnabled());
  QVERIFY(QTest::qWaitFor([&] { return w.link.IsConnected(); }));
  QVERIFY(!w.dialog.User().IsSet());
}

void LoginDialogTest::linkDroppedWhileLoggingInEnablesLoginAgain() {
  TempFolder root;
  int port = 0;
  std::string error;
  SocketFd listener = ListenTcp("127.0.0.1", 0, port, error);
  QVERIFY2(listener.IsOpen(), error.c_str());
  LoginWindow w(port, root.Path());
  QVERIFY(w.ShowConnected());  // waiting in the listener's queue, never answered
  w.Type("zhao", "pw");
  w.Login()->click();
  QVERIFY(!w.Login()->isEnabled());
  listener.Reset();  // the queued connection is reset
  QVERIFY(QTest::qWaitFor([&] { return w.Login()->isEnabled(); }));
  QVERIFY(!w.link.IsConnected());
  QVERIFY(w.messages.shown.empty());
}

void LoginDialogTest::addUserOpensTheUserDialogAndLoginWorksAfterIt() {
  TempFolder root;
  LoginWindow w(server_.Port(), root.Path());
  QVERIFY(w.ShowConnected());
  QString opened;
  QTimer closer;
  connect(&closer, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != &w.dialog) {
      opened = modal->windowTitle();
      modal->close();
    }
  });
  closer.start(20);
  w.Child<QPushButton>("btnAddUser")->click();  // returns once the timer has closed it
  closer.stop();
  QCOMPARE(opened, QString("帐号管理"));

  // The user dialog ignores an accepted login; the login dialog's handler must be back.
  w.Type("zhao", "pw");
  w.Login()->click();
  QVERIFY(w.WaitForAccepted());
  QCOMPARE(Q(w.dialog.User().Name()), QString("zhao"));
}

void LoginDialogTest::rememberPasswordWritesTheLoginChoice() {
  TempFolder root;
  WriteConfig(root.Path(), "[甲]\r\n周期=1\r\n");
  LoginWindow w(server_.Port(), root.Path());
  w.Type("li", "pw9");
  auto* remember = w.Child<QCheckBox>("ckname");
  remember->click();
  IniFile ini;
  QVERIFY(ini.Load(root.Path() / kConfigFileName));
  QCOMPARE(Q(ini.ReadString(kSystemSection, "名称", "")), QString("li"));
  QCOMPARE(Q(ini.ReadString(kSystemSection, "密码", "")), Q(ScramblePassword("pw9")));
  QCOMPARE(Q(ini.ReadString(kSystemSection, "记住密码", "")), QString("1"));
  QCOMPARE(ini.ReadInteger("甲", "周期", 0), 1);

  remember->click();
  QVERIFY(ini.Load(root.Path() / kConfigFileName));
  QCOMPARE(Q(ini.ReadString(kSystemSection, "名称", "")), QString("li"));
  QCOMPARE(Q(ini.ReadString(kSystemSection, "密码", "x")), QString());
  QCOMPARE(Q(ini.ReadString(kSystemSection, "记住密码", "")), QString("0"));
  QVERIFY(w.messages.shown.empty());
}

void LoginDialogTest::rememberPasswordReportsAnUnsavedFile() {
  TempFolder root;
  const fs::path missing = root.Path() / "no such folder";
  LoginWindow w(server_.Port(), missing);
  w.Child<QCheckBox>("ckname")->click();
  QCOMPARE(w.messages.shown.size(), size_t{1});
  QVERIFY(Q(w.messages.shown[0]).startsWith(Q("设置保存失败：" + (missing / "config.ini").string() + "（")));
}

void LoginDialogTest::shownListsTheJournalUsersKeepingTheRememberedName() {
  TempFolder root;
  const JournalStore journal(root.Path());
  std::string error;
  TGpAcount account;
  Tstock base;
  QVERIFY2(journal.CreateIfMissing(error), error.c_str());
  QVERIFY2(journal.SaveAccount("甲", account, base, error), error.c_str());
  QVERIFY2(journal.SaveAccount("乙", account, base, error), error.c_str());
  WriteConfig(root.Path(), "[系统设置]\r\n名称=乙\r\n");
  LoginWindow w(server_.Port(), root.Path());
  QCOMPARE(w.Name()->count(), 0);  // the list is filled when shown
  w.dialog.show();
  QStringList listed;
  for (int i = 0; i < w.Name()->count(); ++i) listed << w.Name()->itemText(i);
  QCOMPARE(listed, QStringList({"甲", "乙"}));
  QCOMPARE(w.Name()->currentText(), QString("乙"));
  w.dialog.hide();
  w.dialog.show();  // shown again: the list is not filled twice
  QCOMPARE(w.Name()->count(), 2);
  QVERIFY(w.messages.shown.empty());
}

void LoginDialogTest::shownCreatesTheJournalOnFirstUse() {
  TempFolder root;
  LoginWindow w(server_.Port(), root.Path());
  QVERIFY(!fs::exists(root.Path() / kJournalFileName));
  w.dialog.show();
  QVERIFY(fs::exists(root.Path() / kJournalFileName));
  std::vector<std::string> names;
  std::string error;
  QVERIFY2(JournalStore(root.Path()).UserNames(names, error), error.c_str());
  QVERIFY(names.empty());
  QCOMPARE(w.Name()->count(), 0);
}

}  // namespace vorelin

QTEST_MAIN(vorelin::LoginDialogTest)
#include "login_dialog_test.moc"
