// The intraday view and the transaction lists against the reference quote server: F5 opens
// the current bar's day, the minute points arrive and are cached, a step fills '分笔成交'.
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <string>

#include "app/main_window.h"
#include "net/server_process.h"
#include "support/recording_messages.h"
#include "support/quote_settings.h"
#include "tools/vorelin-sample/sample_market.h"

namespace vorelin {

class IntradayViewTest : public QObject {
  Q_OBJECT

 private slots:
  void DayOpensFromTheServerAndIsCached() {
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    std::string error;
    QVERIFY2(WriteSampleMarket(root, error), error.c_str());
    ServerProcess quotes;
    QVERIFY(quotes.Start("vorelin-quote-server", {"--root", root.string()}));
    QVERIFY(testing::UseQuoteServer(root, quotes.Port()));

    testing::RecordingMessages messages;
    TForm1 window(root, "张三", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ReplayController& r = window.Session().Replay();
    QCOMPARE(r.Boxes.Period, 0);  // a first start replays minute data
    QWidget* chart = window.findChild<QWidget*>("gp1");
    for (int i = 0; i < 5; ++i) QTest::keyClick(chart, Qt::Key_Return);

    QTest::keyClick(chart, Qt::Key_F5);
    QVERIFY(window.ChartView().Chart().ShowFs());
    QTRY_VERIFY_WITH_TIMEOUT(!window.Intraday().View().Points().empty(), 10000);
    const std::string code = r.Account().StockCode;
    const int date = r.CurrentDate();
    QVERIFY(std::filesystem::exists(root / "tick" / (code + std::to_string(date) + ".bin")));
    QVERIFY(window.windowTitle().contains(QString::fromUtf8("星期")));
    // The tick timer replays the day point by point.
    QTRY_VERIFY_WITH_TIMEOUT(window.Intraday().View().TickPosition() > 0, 5000);

    QTest::keyClick(chart, Qt::Key_Return);
    auto* list = window.findChild<QListWidget*>("lstTransactions");
    QVERIFY(list != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(list->count() > 1, 10000);
    QVERIFY(list->item(0)->text().contains(QString::fromUtf8("星期")));
    const QString line = list->item(1)->text();
    const QColor expected = line.contains('B') ? QColor(255, 0, 0) : QColor(0, 128, 0);
    QCOMPARE(list->item(1)->foreground().color(), expected);

    // F5 again leaves the intraday view for the bars.
    QTest::keyClick(chart, Qt::Key_F5);
    QVERIFY(!window.ChartView().Chart().ShowFs());
    messages.answer = true;
    QVERIFY(window.close());
  }

  void StoppedServerSaysSoAndTheWindowGoesOn() {
    QTemporaryDir dir;
    const std::filesystem::path root = dir.path().toStdString();
    std::string error;
    QVERIFY2(WriteSampleMarket(root, error), error.c_str());
    QVERIFY(testing::UseQuoteServer(root, 1));  // nothing listens there
    testing::RecordingMessages messages;
    TForm1 window(root, "李四", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* chart = window.findChild<QWidget*>("gp1");
    QTest::keyClick(chart, Qt::Key_F5);
    QTRY_VERIFY_WITH_TIMEOUT(std::find(messages.shown.begin(), messages.shown.end(),
                                       "行情连接被断开!") != messages.shown.end(),
                             10000);
    QVERIFY(std::find(messages.shown.begin(), messages.shown.end(), "服务器连接失败") !=
            messages.shown.end());
    QCOMPARE(window.windowTitle(), QString::fromUtf8("网络连接中断!"));
    // Stepping still works and asks for a new receiver.
    QTest::keyClick(chart, Qt::Key_F5);
    const int row = window.Session().Replay().Base().CurrentRow;
    QTest::keyClick(chart, Qt::Key_Return);
    QCOMPARE(window.Session().Replay().Base().CurrentRow, row + 1);
    messages.answer = true;
    QVERIFY(window.close());
  }
};

}  // namespace vorelin

QTEST_MAIN(vorelin::IntradayViewTest)
#include "intraday_view_test.moc"
