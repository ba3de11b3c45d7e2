// The drawing-tool panel beside the chart: a tool picked on pnltool and a figure placed on
// the chart with the mouse, the text tool's dialog, hiding and clearing figures, and the
// '划线' menu item with its setting.
#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <string>

#include "app/add_text_dialog.h"
#include "app/main_window.h"
#include "chart/qt/qt_canvas.h"
#include "common/ini_file.h"
#include "support/recording_messages.h"
#include "tools/vorelin-sample/sample_market.h"

namespace vorelin {

class DrawingToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    root_ = dir_.path().toStdString();
    std::string error;
    QVERIFY2(WriteSampleMarket(root_, error), error.c_str());
  }

  void ToolPickedOnThePanelDrawsAFigureWithTheMouse() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "张三", messages);
    window.resize(1366, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget* chart_widget = window.findChild<QWidget*>("gp1");
    for (int i = 0; i < 40; ++i) QTest::keyClick(chart_widget, Qt::Key_Return);
    TGP& chart = window.ChartView().Chart();
    const PaneReport plot = chart.ReportOf(0);
    QVERIFY(plot.right - plot.left > 200);

    auto* panel = window.findChild<QWidget*>("pnltool");
    QVERIFY(panel != nullptr && panel->isVisible());
    QToolButton* segment = window.DrawingTools().Button(1);
    QVERIFY(segment != nullptr);
    QTest::mouseClick(segment, Qt::LeftButton);
    QVERIFY(chart.Tool().Active());
    QCOMPARE(chart_widget->cursor().shape(), Qt::CrossCursor);

    const QPoint from(plot.left + 40, plot.top + 30);
    const QPoint to(plot.left + 200, plot.bottom - 30);
    QTest::mousePress(chart_widget, Qt::LeftButton, {}, from);
    QTest::mouseMove(chart_widget, (from + to) / 2);
    QCOMPARE(chart.Tool().Placed(), 1);
    QCOMPARE(chart.Tool().Points()[1].x, ((from + to) / 2).x());
    QTest::mouseRelease(chart_widget, Qt::LeftButton, {}, to);
    QVERIFY(!chart.Tool().Active());
    QCOMPARE(chart.FiguresOf(chart.Pane(0)).size(), size_t{1});
    QCOMPARE(chart.FiguresOf(chart.Pane(0))[0].tool, 1);

    chart.RepaintChart();
    const auto* buffer = dynamic_cast<const QtCanvas*>(chart.BackBuffer());
    QVERIFY(buffer != nullptr);
    // The segment's stored ends sit on bar centres, within a bar of the mouse positions.
    const QPoint middle = (from + to) / 2;
    bool yellow = false;
    for (int dx = -6; dx <= 6 && !yellow; ++dx) {
      for (int dy = -6; dy <= 6 && !yellow; ++dy) {
        yellow = buffer->Image().pixelColor(middle.x() + dx, middle.y() + dy) == QColor(255, 255, 0);
      }
    }
    QVERIFY2(yellow, "the segment is painted across the price pane");

    QToolButton* hide = window.DrawingTools().Button(26);
    QTest::mouseClick(hide, Qt::LeftButton);
    QVERIFY(!chart.DrawingsVisible());
    QTest::mouseClick(hide, Qt::LeftButton);
    QVERIFY(chart.DrawingsVisible());
    QTest::mouseClick(window.DrawingTools().Button(25), Qt::LeftButton);
    QVERIFY(chart.FiguresOf(chart.Pane(0)).empty());
  }

  void TextToolAsksWithTheAddTextDialog() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "李四", messages);
    window.resize(1366, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QWidget* chart_widget = window.findChild<QWidget*>("gp1");
    for (int i = 0; i < 20; ++i) QTest::keyClick(chart_widget, Qt::Key_Return);
    TGP& chart = window.ChartView().Chart();
    const PaneReport plot = chart.ReportOf(0);
    QTest::mouseClick(window.DrawingTools().Button(24), Qt::LeftButton);

    bool answered = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TAddStr*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      QCOMPARE(dialog->windowTitle(), QString::fromUtf8("添加文字"));
      dialog->findChild<QPlainTextEdit*>("memText")->setPlainText(QString::fromUtf8("突破"));
      dialog->findChild<QSpinBox*>("edtSize")->setValue(12);
      dialog->SetColour(0x0000FF);
      answered = true;
      dialog->findChild<QPushButton*>("btnOk")->click();
    });
    const QPoint at(plot.left + 60, plot.top + 40);
    QTest::mousePress(chart_widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(chart_widget, Qt::LeftButton, {}, at);
    QVERIFY(answered);
    const std::vector<XXLine> figures = chart.FiguresOf(chart.Pane(0));
    QCOMPARE(figures.size(), size_t{1});
    QCOMPARE(QString::fromStdString(figures[0].text), QString::fromUtf8("突破"));
    QCOMPARE(figures[0].colour, Colour{0x0000FF});
    QCOMPARE(figures[0].font_size, 12);
  }

  void LineMenuItemHidesThePanelAndIsSaved() {
    testing::RecordingMessages messages;
    TForm1 window(root_, "王五", messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* item = window.findChild<QAction*>("mnuLine");
    QVERIFY(item != nullptr && item->isChecked());
    QTest::mouseClick(window.DrawingTools().Button(1), Qt::LeftButton);
    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!window.DrawingTools().isVisible());
    QVERIFY2(window.ChartView().Chart().Tool().Active(), "the picked tool stays");
    window.Session().Save();
    IniFile ini;
    QVERIFY(ini.Load(std::filesystem::path(root_) / "config.ini"));
    QCOMPARE(QString::fromStdString(ini.ReadString("王五", "划线工具", "")), QString("0"));
    item->trigger();
    QVERIFY(window.DrawingTools().isVisible());
  }

 private:
  QTemporaryDir dir_;
  std::string root_;
};

}  // namespace vorelin

QTEST_MAIN(vorelin::DrawingToolsTest)
#include "drawing_tools_test.moc"
