// The cursor information window over a real chart: the keyboard cursor shows it with the
// bar's text, the close button hides it and switches the cursor off, closing it by the
// window system only hides it, and its title row drags it only while it is active.
#include <QtTest>
#include <vector>

#include "app/chart_widget.h"
#include "support/recording_messages.h"

namespace vorelin {

class HintWindowTest : public QObject {
  Q_OBJECT

 private:
  // 40 day bars from 2024-03-01 on, closing at 10, 11, ... (dates past the month's end are
  // numbers only, which the chart does not mind).
  static void Feed(TGP& chart) {
    std::vector<double> date, price, vol;
    for (int i = 0; i < 40; ++i) {
      date.push_back(20240301 + i);
      price.push_back(10 + i);
      vol.push_back(1000);
    }
    for (const char* name : {"time", "open", "high", "low", "close", "amount"})
      chart.SetSeries(name, name == std::string("time") ? std::vector<double>(40, 0) : price, false);
    chart.SetSeries("date", date, false);
    chart.SetSeries("vol", vol, true);
    chart.StkName = "测试股票";
  }

 private slots:
  void KeyboardCursorShowsTheBarAndTheCloseButtonEndsIt() {
    testing::RecordingMessages messages;
    ChartWidget widget(messages);
    widget.resize(900, 500);
    Feed(widget.Chart());
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    widget.setFocus();
    QTest::keyClick(&widget, Qt::Key_Left);
    QApplication::processEvents();
    widget.repaint();
    THintWin& hint = widget.HintWindow();
    QVERIFY(hint.isVisible());
    QCOMPARE(hint.height(), 215);
    QCOMPARE(hint.lblTitle->text(), QString::fromUtf8("测试股票"));
    // The cursor starts one bar before the last: bar 38, 2024-03-39 as a number.
    const QString text = hint.mmoHint->toPlainText();
    QVERIFY2(text.contains(QString::fromUtf8(" 　收盘:48.00")), qPrintable(text));
    QVERIFY2(text.contains(QString::fromUtf8("　 涨跌:2.13%")), qPrintable(text));
    QVERIFY(!text.contains('\r'));

    hint.close();
    QVERIFY(!hint.isVisible());
    QVERIFY2(widget.Chart().ShowCursor(), "closing by the window system keeps the cursor");

    widget.Chart().SetShowCursor(true);
    widget.Chart().ShowInfoWindow(false);
    QVERIFY(hint.isVisible());
    QTest::mouseClick(hint.btnClose, Qt::LeftButton);
    QVERIFY(!hint.isVisible());
    QVERIFY(!widget.Chart().ShowCursor());
    QVERIFY(!widget.Chart().InfoWindowShown());
  }

  void TitleRowDragsOnlyTheActiveWindow() {
    THintWin hint;
    hint.show();
    QVERIFY(QTest::qWaitForWindowExposed(&hint));
    const QPoint start = hint.pos();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), hint.lblTitle->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(hint.lblTitle, &press);
    QVERIFY(QTest::qWaitForWindowActive(&hint));
    QMouseEvent move(QEvent::MouseMove, QPointF(45, 25), hint.lblTitle->mapToGlobal(QPointF(45, 25)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(hint.lblTitle, &move);
    QCOMPARE(hint.pos(), start + QPoint(40, 20));

    // Another window in front: the same drag leaves the window where it is.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!hint.isActiveWindow());
    QMouseEvent further(QEvent::MouseMove, QPointF(85, 45), hint.lblTitle->mapToGlobal(QPointF(85, 45)),
                        Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(hint.lblTitle, &further);
    QCOMPARE(hint.pos(), start + QPoint(40, 20));
  }
};

}  // namespace vorelin

QTEST_MAIN(vorelin::HintWindowTest)
#include "hint_window_test.moc"
