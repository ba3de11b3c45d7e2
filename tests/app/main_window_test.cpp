// The main window driven as a trainee drives it: open a stock, step with Enter, buy with F2,
// step, sell with F3, and close; the journal, the screenshots and config.ini are checked.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "chart/image_files.h"
#include "common/ini_file.h"
#include "support/recording_messages.h"
#include "tools/vorelin-sample/sample_market.h"

namespace vorelin {

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    root_ = dir_.path().toStdString();
    std::string error;
    QVERIFY2(WriteSampleMarket(root_, error), error.c_str());
  }

  void TradesFromTheKeyboardAreJournalled() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "张三", messages);
    window.resize(1366, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto* day = window.findChild<QRadioButton*>("rbDay");
    QVERIFY(day != nullptr);
    day->click();
    auto* code = window.findChild<QLineEdit*>("edtgpdm");
    QVERIFY(code != nullptr);
    code->clear();
    QTest::keyClicks(code, "600001");
    QTest::keyClick(code, Qt::Key_Return);
    QCOMPARE(QString::fromStdString(messages.Last()), QString::fromUtf8("数据载入成功！"));
    ReplayController& r = window.Session().Replay();
    QCOMPARE(QString::fromStdString(r.Account().StockCode), QString("600001"));

    QWidget* chart = window.findChild<QWidget*>("gp1");
    QVERIFY(chart != nullptr);
    const int row = r.Base().CurrentRow;
    for (int i = 0; i < 15; ++i) QTest::keyClick(chart, Qt::Key_Return);
    QCOMPARE(r.Base().CurrentRow, row + 15);

    QTest::keyClick(chart, Qt::Key_F2);
    QCOMPARE(QString::fromStdString(messages.Last()), QString::fromUtf8("买入成功！"));
    QVERIFY(r.Account().LongQty > 0);
    auto* quantity = window.findChild<QLineEdit*>("edtddcc");
    QVERIFY(quantity != nullptr);
    QCOMPARE(quantity->text().toDouble(), r.Account().LongQty);
    QTest::keyClick(chart, Qt::Key_Return);
    QTest::keyClick(chart, Qt::Key_F3);
    QCOMPARE(QString::fromStdString(messages.Last()), QString::fromUtf8("卖出成功"));
    QCOMPARE(r.Account().LongQty, 0.0);

    std::vector<JournalLine> lines;
    std::string statistics;
    QVERIFY(window.Session().JournalPage(lines, statistics));
    QCOMPARE(lines.size(), size_t{2});
    for (const JournalLine& line : lines) {
      const std::filesystem::path picture = JournalPicturePath(root_, line.Value(11));
      RgbImage image;
      std::string error;
      QVERIFY2(ReadJpegFile(picture.string(), &image, &error), picture.string().c_str());
      QVERIFY(image.width > 300 && image.height > 200);
    }
    // The results pages as the trainee opens them.
    auto* pages = window.findChild<QTabWidget*>("pg2");
    pages->setCurrentIndex(2);
    auto* list = window.findChild<QTableWidget*>("lvJournal");
    QVERIFY(list != nullptr);
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->item(0, 3)->text(), QString::fromUtf8("证券买入"));
    QCOMPARE(list->item(0, 0)->foreground().color(), QColor(255, 0, 0));
    QCOMPARE(list->item(1, 0)->foreground().color(), QColor(0, 0, 255));
    pages->setCurrentIndex(1);
    auto* curve = window.findChild<EquityCurveView*>("chtEquity");
    QVERIFY(curve != nullptr);
    QCOMPARE(curve->Points().size(), size_t{1});
    pages->setCurrentIndex(0);

    messages.answer = true;
    QVERIFY(window.close());
    QCOMPARE(QString::fromStdString(messages.asked.back()), QString::fromUtf8("确定要退出吗？ "));
    IniFile ini;
    QVERIFY(ini.Load(std::filesystem::path(root_) / "config.ini"));
    QCOMPARE(QString::fromStdString(ini.ReadString("张三", "股票代码", "")), QString("600001"));
    QCOMPARE(QString::fromStdString(ini.ReadString("张三", "周期", "")), QString("1"));
  }

  void ClosingWhileHoldingAsksTheOtherQuestionAndNoKeepsTheWindow() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "李四", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* chart = window.findChild<QWidget*>("gp1");
    for (int i = 0; i < 3; ++i) QTest::keyClick(chart, Qt::Key_Return);
    QTest::keyClick(chart, Qt::Key_F2);
    QVERIFY(window.Session().Replay().Account().LongQty > 0);
    messages.answer = false;
    QVERIFY(!window.close());
    QCOMPARE(QString::fromStdString(messages.asked.back()), QString::fromUtf8("您还未清仓,确定要退出吗？ "));
    QVERIFY(window.isVisible());
  }

  void ZeroOrNegativeQuantityChangesNothing() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "王五", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ReplayController& r = window.Session().Replay();
    const double cash = r.Account().Cash;
    auto* quantity = window.findChild<QLineEdit*>("edtqhmmsl");
    auto* buy = window.findChild<QPushButton*>("btnBtnBuyOpen");
    quantity->setText("-100");
    buy->click();
    QCOMPARE(QString::fromStdString(messages.Last()), QString::fromUtf8("买卖数量有误！"));
    QCOMPARE(r.Account().Cash, cash);
    QCOMPARE(r.Account().LongQty, 0.0);
  }

  void NumericBoxesTypeZeroForOtherCharacters() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "孙七", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* speed = window.findChild<QLineEdit*>("edtbfjg");
    speed->clear();
    QTest::keyClicks(speed, "1a.5");
    QCOMPARE(speed->text(), QString("10.5"));
    QCOMPARE(window.Session().Replay().Boxes.PlaySpeed, std::string("10.5"));
  }

  void ACodeWithPathCharactersIsRefused() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "赵六", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const std::string before = window.Session().Replay().Account().StockCode;
    auto* code = window.findChild<QLineEdit*>("edtgpdm");
    code->clear();
    QTest::keyClicks(code, "../x");
    QTest::keyClick(code, Qt::Key_Return);
    QVERIFY(QString::fromStdString(messages.Last()).startsWith(QString::fromUtf8("股票代码不合法")));
    QCOMPARE(code->text(), QString::fromStdString(before));
  }

 private:
  QTemporaryDir dir_;
  std::string root_;
};

}  // namespace vorelin

QTEST_MAIN(vorelin::MainWindowTest)
#include "main_window_test.moc"
