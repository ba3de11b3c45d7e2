// The multi-period window opened from the chart's period popup in a fresh data root: it
// covers the chart, follows the replay step by step, takes a custom period from its menu
// and switches the main chart on a double-click.
#include <QAction>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/startup.h"
#include "support/recording_messages.h"

namespace vorelin {
namespace {

int Bars(ChartWidget& chart) { return chart.Chart().Pane(0).BarCount(); }

double LastClose(ChartWidget& chart) {
  const SeriesView close = chart.Chart().Pane(0).FindSeries("Close");
  return close && close.count > 0 ? close[close.count - 1] : -1;
}

int LastDate(ChartWidget& chart) {
  const SeriesView date = chart.Chart().Pane(0).FindSeries("date");
  return date && date.count > 0 ? static_cast<int>(date[date.count - 1]) : -1;
}

// Runs the shared menu's item as a click on it would, for the chart at `position`.
void RunMenuItem(TfrmDzq& window, int position, const char* caption) {
  window.activateWindow();
  window.Chart(position).setFocus();
  QTRY_COMPARE(window.FocusedChart(), position);
  std::unique_ptr<QMenu> menu(window.BuildMenu(nullptr));
  for (QAction* action : menu->actions()) {
    if (action->text() == QString::fromUtf8(caption)) {
      action->trigger();
      return;
    }
  }
  QFAIL(caption);
}

// Types `text` into the custom period box as soon as it is open.
void AnswerPeriodBox(const QString& text) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, text] {
    auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    QCOMPARE(box->windowTitle(), QString::fromUtf8("周期设置"));
    QCOMPARE(box->labelText(), QString::fromUtf8("输入整数数字"));
    box->setTextValue(text);
    box->accept();
  });
  poll->start(10);
}

}  // namespace

class MultiPeriodWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    root_ = dir_.path().toStdString();
    std::string error;
    QVERIFY2(PrepareDataRoot(root_, &error), error.c_str());
  }

  void FollowsTheReplayAndSwitchesTheMainChart() {
    QVERIFY(std::filesystem::exists(root_ / "mac.wfc"));
    testing::RecordingMessages messages;
    TForm1 window(root_, "demo", messages);
    window.resize(1366, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QRadioButton*>("rbDay")->click();
    auto* code = window.findChild<QLineEdit*>("edtgpdm");
    code->clear();
    QTest::keyClicks(code, "600001");
    QTest::keyClick(code, Qt::Key_Return);
    ReplayController& r = window.Session().Replay();
    ChartWidget& main = window.ChartView();
    for (int i = 0; i < 5; ++i) QTest::keyClick(&main, Qt::Key_Return);

    TfrmDzq& dzq = window.MultiPeriod();
    QVERIFY(dzq.isHidden());
    auto* open = window.findChild<QAction*>("actMultiPeriod");
    QVERIFY(open != nullptr);
    open->trigger();
    QVERIFY(dzq.isVisible());
    QCOMPARE(dzq.geometry(), main.rect());
    QCOMPARE(dzq.windowTitle(), QString::fromUtf8("多周期同列"));
    // Every chart runs mac.wfc: K-lines and its three averages on the charts with bars.
    for (int k = 0; k < 9; ++k) {
      PaneFormula& pane = dzq.Chart(k).Chart().Pane(0);
      QCOMPARE(QString::fromStdString(pane.FileName()),
               QString::fromStdString((root_ / "mac.wfc").string()));
      QVERIFY2(pane.ErrorText().empty(), pane.ErrorText().c_str());
      if (k >= 6) continue;
      QCOMPARE(pane.DrawK(), 1);
      QCOMPARE(pane.ParameterValues(), (std::vector<double>{5, 10, 20}));
    }
    // Four in view: chart 4 ends inside the client area, chart 2 starts near its right edge.
    const QRect four = dzq.Chart(4).geometry();
    QVERIFY(four.right() < dzq.width() && four.width() > dzq.width() / 3);
    QVERIFY(dzq.Chart(2).geometry().left() > dzq.width() * 9 / 10);

    auto revealed = [&r] { return r.Base().CurrentRow - r.Base().StartRow + 1; };
    auto current_close = [&r] { return r.Base().Bars[static_cast<size_t>(r.Base().CurrentRow)].close; };
    auto current_date = [&r] { return std::stoi(r.Base().Bars[static_cast<size_t>(r.Base().CurrentRow)].date); };
    QCOMPARE(Bars(dzq.Chart(0)), revealed());
    // Steps with Enter on a small chart, as on the main one.
    for (int i = 0; i < 7; ++i) {
      QTest::keyClick(&dzq.Chart(4), Qt::Key_Return);
      QCOMPARE(Bars(dzq.Chart(0)), revealed());
      QCOMPARE(Bars(dzq.Chart(1)), (revealed() + 4) / 5);
      for (int k = 0; k < 6; ++k) {
        QCOMPARE(LastClose(dzq.Chart(k)), current_close());
        QCOMPARE(LastDate(dzq.Chart(k)), current_date());
      }
    }
    QCOMPARE(Bars(dzq.Chart(6)), 0);

    AnswerPeriodBox("10");
    RunMenuItem(dzq, 6, "自定义周期");
    QCOMPARE(QString::fromStdString(dzq.Chart(6).Chart().Week), QString::fromUtf8("10日线"));
    QCOMPARE(Bars(dzq.Chart(6)), (revealed() + 9) / 10);
    AnswerPeriodBox("abc");
    RunMenuItem(dzq, 7, "自定义周期");
    QCOMPARE(dzq.Logic().Period(7), 0);
    QCOMPARE(Bars(dzq.Chart(7)), 0);

    // The right button opens the shared menu on a chart and no menu beside the charts.
    auto right_click = [](QWidget* widget) {
      QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(30, 10),
                              widget->mapToGlobal(QPoint(30, 10)));
      QApplication::sendEvent(widget, &event);
    };
    right_click(dzq.findChild<QWidget*>("dzqCaption"));
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    right_click(&dzq.Chart(2));
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup != nullptr);
    QCOMPARE(popup->objectName(), QString("pmDzq"));
    QCOMPARE(popup->actions().size(), 9);
    QCOMPARE(dzq.FocusedChart(), 2);
    popup->close();

    RunMenuItem(dzq, 0, "九图");
    QCOMPARE(dzq.Logic().LayoutCount(), 9);
    QVERIFY(dzq.Chart(8).geometry().right() < dzq.width());
    RunMenuItem(dzq, 3, "显示指标栏");
    QVERIFY(dzq.Chart(3).Chart().ShowTab());

    // A chart without a period ignores the double-click; chart 1 (weekly) switches.
    QTest::mouseDClick(&dzq.Chart(7), Qt::LeftButton, {}, QPoint(60, 60));
    QVERIFY(dzq.isVisible());
    QTest::mouseDClick(&dzq.Chart(1), Qt::LeftButton, {}, QPoint(60, 60));
    QVERIFY(dzq.isHidden());
    QCOMPARE(r.Base().PeriodMultiplier, 5);
    QCOMPARE(Bars(main), (revealed() + 4) / 5);
    messages.answer = true;
    window.close();
  }

 private:
  QTemporaryDir dir_;
  std::filesystem::path root_;
};

}  // namespace vorelin

QTEST_MAIN(vorelin::MultiPeriodWindowTest)
#include "multi_period_window_test.moc"
