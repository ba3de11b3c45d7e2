// The login link on the Qt loop: a reply handler that opens a modal box (a nested event loop)
// still receives what arrives meanwhile, and a lost or refused connection is signalled.
#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "app/qt_login_link.h"
#include "support/loopback_peer.h"

namespace vorelin {
namespace {

using testing::LoopbackPeer;

}  // namespace

class QtLoginLinkTest : public QObject {
  Q_OBJECT

 private slots:
  void handlerWithAModalBoxStillReceivesLaterReplies_data();
  void handlerWithAModalBoxStillReceivesLaterReplies();
  void lostConnectionIsSignalled();
  void refusedConnectionIsSignalled();
};

void QtLoginLinkTest::handlerWithAModalBoxStillReceivesLaterReplies_data() {
  QTest::addColumn<bool>("together");
  QTest::newRow("both replies in one segment") << true;
  QTest::newRow("second reply sent while the box is open") << false;
}

void QtLoginLinkTest::handlerWithAModalBoxStillReceivesLaterReplies() {
  QFETCH(bool, together);
  LoopbackPeer peer;
  QVERIFY(peer.Listen());
  QtLoginLink link(LoginServerAddress{"127.0.0.1", "127.0.0.1", peer.port});
  link.Open();
  QVERIFY(QTest::qWaitFor([&] { return link.IsConnected(); }));
  QVERIFY(peer.Accept());

  std::vector<int> codes;
  std::vector<int> seen_inside_box;
  link.SetReplyHandler([&](const ServerMessage& reply) {
    codes.push_back(reply.code);
    if (reply.code != 11) return;
    // What a message box does: a nested loop until the user closes it.
    QEventLoop box;
    if (!together) QTimer::singleShot(50, [&] { peer.Reply({10}); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (codes.size() > 1) box.quit();
    });
    poll.start(10);
    QTimer::singleShot(2000, &box, &QEventLoop::quit);
    box.exec();
    seen_inside_box = codes;
  });
  if (together)
    peer.Reply({11, 10});
  else
    peer.Reply({11});
  QVERIFY(QTest::qWaitFor([&] { return !seen_inside_box.empty(); }));
  QCOMPARE(seen_inside_box, (std::vector<int>{11, 10}));
}

void QtLoginLinkTest::lostConnectionIsSignalled() {
  LoopbackPeer peer;
  QVERIFY(peer.Listen());
  QtLoginLink link(LoginServerAddress{"127.0.0.1", "127.0.0.1", peer.port});
  QSignalSpy closed(&link, &QtLoginLink::closed);
  link.Open();
  QVERIFY(QTest::qWaitFor([&] { return link.IsConnected(); }));
  QVERIFY(peer.Accept());
  QCOMPARE(closed.count(), 0);
  peer.connection.Reset();  // the server goes away
  QVERIFY(closed.wait(3000));
  QVERIFY(!link.IsConnected());
  QTest::qWait(100);
  QCOMPARE(closed.count(), 1);

  // The new connection is watched as well: it connects and receives.
  int code = -1;
  link.SetReplyHandler([&](const ServerMessage& reply) { code = reply.code; });
  link.Reconnect();
  QVERIFY(QTest::qWaitFor([&] { return link.IsConnected(); }));
  QVERIFY(peer.Accept());
  peer.Reply({11});
  QVERIFY(QTest::qWaitFor([&] { return code == 11; }));
}

void QtLoginLinkTest::refusedConnectionIsSignalled() {
  int port = 0;
  {
    LoopbackPeer gone;
    QVERIFY(gone.Listen());
    port = gone.port;
  }
  QtLoginLink link(LoginServerAddress{"127.0.0.1", "127.0.0.1", port});
  QSignalSpy closed(&link, &QtLoginLink::closed);
  link.Open();
  QVERIFY(closed.count() == 1 || closed.wait(3000));
  QVERIFY(!link.IsConnected());
  QCOMPARE(link.Link().SocketHandle(), -1);
}

}  // namespace vorelin

QTEST_MAIN(vorelin::QtLoginLinkTest)
#include "qt_login_link_test.moc"
