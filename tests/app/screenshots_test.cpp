// Pictures of the trainer's windows after a short session, at the usual screen sizes. They
// go to $VORELIN_SCREENSHOTS when set (to look at them), else to a temporary folder; the
// test checks that each is the window's size and not blank.
#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <string>

#include "app/main_window.h"
#include "tools/vorelin-sample/sample_market.h"

namespace vorelin {
namespace {

class SilentMessages final : public MessageSink {
 public:
  void Show(const std::string&) override {}
  bool Ask(const std::string&) override { return true; }
};

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
    const std::string root = root_dir.path().toStdString();
    std::string error;
    QVERIFY2(WriteSampleMarket(root, error), error.c_str());
    const QString folder = qEnvironmentVariableIsSet("VORELIN_SCREENSHOTS")
                               ? qEnvironmentVariable("VORELIN_SCREENSHOTS")
                               : root_dir.path();
    SilentMessages messages;
    TForm1 window(root, "demo", messages);
    window.resize(width, height);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QRadioButton*>("rbDay")->click();
    auto* code = window.findChild<QLineEdit*>("edtgpdm");
    code->clear();
    QTest::keyClicks(code, "600001");
    QTest::keyClick(code, Qt::Key_Return);
    QWidget* chart = window.findChild<QWidget*>("gp1");
    for (int i = 0; i < 30; ++i) QTest::keyClick(chart, Qt::Key_Return);
    QTest::keyClick(chart, Qt::Key_F2);
    for (int i = 0; i < 12; ++i) QTest::keyClick(chart, Qt::Key_Return);
    QTest::keyClick(chart, Qt::Key_F3);
    for (int i = 0; i < 5; ++i) QTest::keyClick(chart, Qt::Key_Return);
    QTest::keyClick(chart, Qt::Key_F2);
    for (int i = 0; i < 8; ++i) QTest::keyClick(chart, Qt::Key_Return);
    QTest::keyClick(chart, Qt::Key_F3);

    auto* pages = window.findChild<QTabWidget*>("pg2");
    const QString size = QString("%1x%2").arg(width).arg(height);
    for (int page = 0; page < pages->count(); ++page) {
      pages->setCurrentIndex(page);
      QTest::qWait(20);
      const QImage image = window.grab().toImage();
      QCOMPARE(image.size(), window.size());
      QVERIFY2(MainColours(image) >= 2, qPrintable(pages->tabText(page)));
      image.save(folder + QString("/main_%1_page%2.png").arg(size).arg(page));
    }
  }
};

}  // namespace vorelin

QTEST_MAIN(vorelin::ScreenshotsTest)
#include "screenshots_test.moc"
