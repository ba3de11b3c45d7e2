// Pictures of the trainer's windows after a short session, at the usual screen sizes. They
// go to $VORELIN_SCREENSHOTS when set (to look at them), else to a temporary folder; the
// test checks that each is the window's size and not blank.
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "support/recording_messages.h"
#include "support/quote_settings.h"
#include "tools/vorelin-sample/sample_market.h"
#include "net/server_process.h"

namespace vorelin {
namespace {


// Colours that make up at least 1 % of the picture: a blank or one-colour window has one.
int MainColours(const QImage& image) {
  QHash<QRgb, int> counts;
  for (int y = 0; y < image.height(); y += 4)
    for (int x = 0; x < image.width(); x += 4) ++counts[image.pixel(x, y)];
  const int total = (image.height() / 4) * (image.width() / 4);
  int main = 0;
  for (int n : counts) main += n * 100 >= total ? 1 : 0;
  return main;
}

}  // namespace

class ScreenshotsTest : public QObject {
  Q_OBJECT

 private slots:
  void MainWindowPages_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("1366x768") << 1366 << 768;
    QTest::newRow("1920x1080") << 1920 << 1080;
  }

  void MainWindowPages() {
    QFETCH(int, width);
    QFETCH(int, height);
    QTemporaryDir root_dir;
    const std::filesystem::path root = root_dir.path().toStdString();
    std::string error;
    QVERIFY2(WriteSampleMarket(root, error), error.c_str());
    ServerProcess quotes;
    QVERIFY(quotes.Start("vorelin-quote-server", {"--root", root.string()}));
    QVERIFY(testing::UseQuoteServer(root, quotes.Port()));
    const QString folder = qEnvironmentVariableIsSet("VORELIN_SCREENSHOTS")
                               ? qEnvironmentVariable("VORELIN_SCREENSHOTS")
                               : root_dir.path();
    const QString size = QString("%1x%2").arg(width).arg(height);
    auto save = [&](const QImage& image, const char* name) {
      QVERIFY2(MainColours(image) >= 2, name);
      image.save(folder + QString("/%1_%2.png").arg(name, size));
    };

    testing::RecordingMessages messages;
    TForm1 window(root, "demo", messages);
    window.resize(width, height);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QRadioButton*>("rbDay")->click();
    auto* code = window.findChild<QLineEdit*>("edtgpdm");
    code->clear();
    QTest::keyClicks(code, "600001");
    QTest::keyClick(code, Qt::Key_Return);
    // Start 100 bars before the end, so the session ends on a day the quote server has
    // minutes for (the sample market has them for its last 25 days).
    ReplayController& r = window.Session().Replay();
    r.SelectStartDate(r.Base().Bars[r.Base().Bars.size() - 100].date);
    QWidget* chart = window.findChild<QWidget*>("gp1");
    const int steps[] = {30, 12, 5, 8, 20};
    for (size_t i = 0; i < std::size(steps); ++i) {
      for (int k = 0; k < steps[i]; ++k) QTest::keyClick(chart, Qt::Key_Return);
      QTest::keyClick(chart, i % 2 == 0 ? Qt::Key_F2 : Qt::Key_F3);
    }
    for (int k = 0; k < 6; ++k) QTest::keyClick(chart, Qt::Key_Return);
    QApplication::processEvents();

    auto* pages = window.findChild<QTabWidget*>("pg2");
    const char* const names[] = {"chart", "equity", "journal", "report", "article1", "article2", "settings", "about"};
    QCOMPARE(pages->count(), static_cast<int>(std::size(names)));
    for (int page = 0; page < pages->count(); ++page) {
      pages->setCurrentIndex(page);
      QTest::qWait(20);
      const QImage image = window.grab().toImage();
      QCOMPARE(image.size(), window.size());
      save(image, names[page]);
    }

    pages->setCurrentIndex(0);
    auto* side = window.findChild<QTabWidget*>("pgSide");
    side->setCurrentIndex(1);
    QTest::qWait(20);
    save(window.grab().toImage(), "account_page");
    side->setCurrentIndex(0);

    // The chart's context menu, drawn over the window where it opens.
    const QPoint at(chart->width() / 3, 30);
    window.ChartView().Chart().HitTest(at.x(), at.y());
    std::unique_ptr<QMenu> menu(window.ChartView().BuildContextMenu(nullptr));
    QVERIFY(menu != nullptr);
    menu->popup(chart->mapToGlobal(at));
    QTest::qWait(50);
    QImage with_menu = window.grab().toImage();
    {
      QPainter painter(&with_menu);
      painter.drawImage(chart->mapTo(&window, at), menu->grab().toImage());
    }
    menu->hide();
    save(with_menu, "context_menu");

    // The intraday view of the current day, fetched from the quote server, a tenth of a
    // second a point.
    auto* speed = window.findChild<QLineEdit*>("edtbfjg");
    speed->clear();
    QTest::keyClicks(speed, "1");
    QTest::keyClick(chart, Qt::Key_F5);
    QTRY_VERIFY_WITH_TIMEOUT(!window.Intraday().View().Points().empty(), 10000);
    // The next step brings the new day's transactions into '分笔成交'.
    QTest::keyClick(chart, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(window.findChild<QListWidget*>("lstTransactions")->count() > 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(window.Intraday().View().TickPosition() > 90, 20000);
    window.findChild<QTabWidget*>("pgSide")->setCurrentIndex(2);
    QTest::qWait(20);
    save(window.grab().toImage(), "intraday");
    messages.answer = true;
    window.close();
  }

  // A blind session after a few trades: the chart (no code, name or date; the trade marks),
  // the journal page with the running session's rows masked, and its report.
  void BlindSession() {
    QTemporaryDir root_dir;
    const std::filesystem::path root = root_dir.path().toStdString();
    std::string error;
    QVERIFY2(WriteSampleMarket(root, error), error.c_str());
    const QString folder = qEnvironmentVariableIsSet("VORELIN_SCREENSHOTS")
                               ? qEnvironmentVariable("VORELIN_SCREENSHOTS")
                               : root_dir.path();
    testing::RecordingMessages messages;
    TForm1 window(root, "demo", messages);
    window.resize(1366, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QRadioButton*>("rbDay")->click();
    window.findChild<QPushButton*>("btnBlindTraining")->click();
    QVERIFY(window.Session().Replay().Blind());
    QWidget* chart = window.findChild<QWidget*>("gp1");
    const int steps[] = {6, 4, 5, 7};
    for (size_t i = 0; i < std::size(steps); ++i) {
      for (int k = 0; k < steps[i]; ++k) QTest::keyClick(chart, Qt::Key_Return);
      QTest::keyClick(chart, i % 2 == 0 ? Qt::Key_F2 : Qt::Key_F3);
    }
    for (int k = 0; k < 3; ++k) QTest::keyClick(chart, Qt::Key_Return);
    chart->setFocus();
    QTest::mouseMove(chart, QPoint(chart->width() / 2, chart->height() / 4));
    QApplication::processEvents();
    auto* pages = window.findChild<QTabWidget*>("pg2");
    const std::pair<int, const char*> shots[] = {{0, "blind_chart"}, {2, "blind_journal"}, {3, "blind_report"}};
    for (const auto& [page, name] : shots) {
      pages->setCurrentIndex(page);
      QTest::qWait(20);
      const QImage image = window.grab().toImage();
      QVERIFY2(MainColours(image) >= 2, name);
      image.save(folder + QString("/%1_1366x768.png").arg(name));
    }
    messages.answer = true;
    window.close();
  }
};

}  // namespace vorelin

QTEST_MAIN(vorelin::ScreenshotsTest)
#include "screenshots_test.moc"
