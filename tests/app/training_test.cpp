// The training aids driven through the window: the A-share rules on the settings page, the
// trade reason box, blind training and the session report page.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <string>

#include "app/main_window.h"
#include "common/ini_file.h"
#include "support/recording_messages.h"
#include "tools/vorelin-sample/sample_market.h"

namespace vorelin {

class TrainingTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    root_ = dir_.path().toStdString();
    std::string error;
    QVERIFY2(WriteSampleMarket(root_, error), error.c_str());
  }

  void RuleBoxesReachTheAccountAndTheFile() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "张三", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ReplayController& r = window.Session().Replay();
    auto* t1 = window.findChild<QCheckBox*>("chkTPlusOne");
    auto* stamp = window.findChild<QCheckBox*>("chkStampDuty");
    QVERIFY(t1 != nullptr && stamp != nullptr);
    QVERIFY(!t1->isChecked() && !stamp->isChecked());  // off by default
    t1->click();
    stamp->click();
    QVERIFY(r.Account().TPlusOne);
    QCOMPARE(r.Account().StampDutyRate, 0.0005);

    QWidget* chart = window.findChild<QWidget*>("gp1");
    for (int i = 0; i < 3; ++i) QTest::keyClick(chart, Qt::Key_Return);
    QTest::keyClick(chart, Qt::Key_F2);
    QCOMPARE(QString::fromStdString(messages.Last()), QString::fromUtf8("买入成功！"));
    const double held = r.Account().LongQty;
    QTest::keyClick(chart, Qt::Key_F3);
    QCOMPARE(QString::fromStdString(messages.Last()),
             QString::fromUtf8("T+1：今日买入的股票明日才能卖出！"));
    QCOMPARE(r.Account().LongQty, held);

    window.findChild<QPushButton*>("btnSaveSettings")->click();
    IniFile ini;
    QVERIFY(ini.Load(std::filesystem::path(root_) / "config.ini"));
    QCOMPARE(QString::fromStdString(ini.ReadString("张三", "T+1交易", "")), QString("1"));
    QCOMPARE(QString::fromStdString(ini.ReadString("张三", "涨跌停限制", "")), QString("0"));
  }

  void ReasonsAreJournalledListedAndShownWithThePicture() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "李四", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* reason = window.findChild<QComboBox*>("cbbReason");
    QVERIFY(reason != nullptr && reason->isEditable());
    QWidget* chart = window.findChild<QWidget*>("gp1");
    for (int i = 0; i < 3; ++i) QTest::keyClick(chart, Qt::Key_Return);
    reason->setEditText(QString::fromUtf8("突破前高"));
    window.findChild<QPushButton*>("btnBtnBuyOpen")->click();
    QCOMPARE(QString::fromStdString(messages.Last()), QString::fromUtf8("买入成功！"));
    QCOMPARE(reason->count(), 1);
    QCOMPARE(reason->itemText(0), QString::fromUtf8("突破前高"));

    window.findChild<QTabWidget*>("pg2")->setCurrentIndex(2);
    auto* list = window.findChild<QTableWidget*>("lvJournal");
    QCOMPARE(list->columnCount(), 13);
    QCOMPARE(list->horizontalHeaderItem(12)->text(), QString::fromUtf8("交易理由"));
    QCOMPARE(list->item(0, 12)->text(), QString::fromUtf8("突破前高"));
    window.findChild<JournalPage*>()->ShowPicture(0);
    TForm5* picture = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->objectName() == "Form5") picture = static_cast<TForm5*>(top);
    QVERIFY(picture != nullptr && picture->isVisible());
    QCOMPARE(picture->ReasonText(), QString::fromUtf8("交易理由：突破前高"));
    picture->hide();
  }

  void ReportPageAndTheBuyAndHoldLine() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "王五", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* chart = window.findChild<QWidget*>("gp1");
    QTest::keyClick(chart, Qt::Key_F2);
    for (int i = 0; i < 4; ++i) QTest::keyClick(chart, Qt::Key_Return);
    QTest::keyClick(chart, Qt::Key_F3);
    auto* pages = window.findChild<QTabWidget*>("pg2");
    QCOMPARE(pages->tabText(3), QString::fromUtf8("训练报告"));
    pages->setCurrentIndex(3);
    const QString text = window.findChild<QPlainTextEdit*>("mmoSessionReport")->toPlainText();
    QVERIFY2(text.contains(QString::fromUtf8("完成回合：    1")), qPrintable(text));
    QVERIFY(text.contains(QString::fromStdString(window.Session().Replay().Account().StockCode)));
    pages->setCurrentIndex(1);
    auto* session = window.findChild<EquityCurveView*>("chtSessionEquity");
    QVERIFY(session != nullptr);
    QCOMPARE(session->Points().size(), size_t{5});  // the bar shown at the start and four more
    QCOMPARE(session->Comparison().size(), size_t{5});
    // Holding starts from the assets before the first buy; the account has paid its fee.
    const SessionReport report = window.Session().Replay().Report();
    QCOMPARE(session->Comparison().front().assets, report.start_assets);
    QVERIFY(session->Points().front().assets < report.start_assets);
  }

  void TradeMarksFollowThePeriod() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "赵六", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QRadioButton*>("rbDay")->click();
    auto* code = window.findChild<QLineEdit*>("edtgpdm");
    code->clear();
    QTest::keyClicks(code, "600001");
    QTest::keyClick(code, Qt::Key_Return);
    QWidget* chart = window.findChild<QWidget*>("gp1");
    QTest::keyClick(chart, Qt::Key_F2);
    for (int i = 0; i < 3; ++i) QTest::keyClick(chart, Qt::Key_Return);
    QTest::keyClick(chart, Qt::Key_F3);
    TGP& gp = window.ChartView().Chart();
    QCOMPARE(gp.TradeMarks().size(), size_t{2});
    const int last = gp.Pane(0).BarCount() - 1;
    QCOMPARE(gp.TradeMarkTextsAt(last).size(), size_t{1});      // the sale, on the last bar
    QCOMPARE(gp.TradeMarkTextsAt(last - 3).size(), size_t{1});  // the buy, three bars before
    // At the week period both sit on the last (combined) bars.
    QAction* week = nullptr;
    for (QAction* action : window.findChildren<QAction*>())
      if (action->text() == QString::fromUtf8("周线")) week = action;
    QVERIFY(week != nullptr);
    week->trigger();
    const int weeks = gp.Pane(0).BarCount();
    QVERIFY(weeks < last);
    size_t found = 0;
    for (int bar = std::max(0, weeks - 3); bar < weeks; ++bar) found += gp.TradeMarkTextsAt(bar).size();
    QCOMPARE(found, size_t{2});
  }

  void BlindTrainingHidesTheStockUntilItEnds() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "孙七", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QRadioButton*>("rbDay")->click();
    auto* blind = window.findChild<QPushButton*>("btnBlindTraining");
    QVERIFY(blind != nullptr);
    QCOMPARE(blind->text(), QString::fromUtf8("盲盘训练"));
    blind->click();
    ReplayController& r = window.Session().Replay();
    QVERIFY(r.Blind());
    // The blind start is random: row 100 leaves room for the steps below.
    r.Boxes.StartRow = "100";
    r.StartRowEnter();
    QVERIFY(r.Blind());
    const QString code = QString::fromStdString(r.Account().StockCode);
    const QString name = QString::fromStdString(r.Account().StockName);
    auto* code_box = window.findChild<QLineEdit*>("edtgpdm");
    QCOMPARE(code_box->text(), QString("******"));
    QVERIFY(code_box->isReadOnly());
    QCOMPARE(blind->text(), QString::fromUtf8("结束盲盘"));
    QWidget* chart = window.findChild<QWidget*>("gp1");
    QTest::keyClick(chart, Qt::Key_Return);
    QTest::keyClick(chart, Qt::Key_F2);
    for (int i = 0; i < 2; ++i) QTest::keyClick(chart, Qt::Key_Return);
    QTest::keyClick(chart, Qt::Key_F3);
    QVERIFY(!window.windowTitle().contains(code) && !window.windowTitle().contains(name));
    QVERIFY(window.ChartView().Chart().HideDates());
    QCOMPARE(QString::fromStdString(window.ChartView().Chart().StkName), QString("******"));

    auto* pages = window.findChild<QTabWidget*>("pg2");
    pages->setCurrentIndex(2);
    auto* list = window.findChild<QTableWidget*>("lvJournal");
    QCOMPARE(list->rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
      QCOMPARE(list->item(row, 1)->text(), QString("******"));
      QCOMPARE(list->item(row, 2)->text(), QString("******"));
    }
    pages->setCurrentIndex(3);
    QVERIFY(!window.findChild<QPlainTextEdit*>("mmoSessionReport")->toPlainText().contains(code));

    blind->click();  // '结束盲盘'
    QVERIFY(!r.Blind());
    QVERIFY(QString::fromStdString(messages.Last()).startsWith(QString::fromUtf8("盲盘结束：") + code));
    QCOMPARE(code_box->text(), code);
    QVERIFY(!code_box->isReadOnly());
    QVERIFY(window.windowTitle().contains(code));
    pages->setCurrentIndex(2);
    QCOMPARE(list->item(0, 1)->text(), code);
  }

 private:
  QTemporaryDir dir_;
  std::string root_;
};

}  // namespace vorelin

QTEST_MAIN(vorelin::TrainingTest)
#include "training_test.moc"
