// Pictures of the trainer's windows after a short session, at the usual screen sizes. They
// go to $VORELIN_SCREENSHOTS when set (to look at them), else to a temporary folder; the
// test checks that each is the window's size and not blank.
#include <QApplication>
#include <QImage>
#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "app/chart_formula_editor.h"
#include "app/formula_editor.h"
#include "app/main_window.h"
#include "formula_chart/gp_chart_port.h"
#include "app/parameter_dialog.h"
#include "formula/builtin_formulas.h"
#include "formula/interpreter.h"
#include "formula_library/formula_test_run.h"
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
  // Each picture starts from a new data root holding the sample market.
  void init() {
    root_dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(root_dir_->isValid());
    root_ = root_dir_->path().toStdString();
    std::string error;
    QVERIFY2(WriteSampleMarket(root_, error), error.c_str());
    folder_ = qEnvironmentVariableIsSet("VORELIN_SCREENSHOTS") ? qEnvironmentVariable("VORELIN_SCREENSHOTS")
                                                                : root_dir_->path();
  }

  void MainWindowPages_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("1366x768") << 1366 << 768;
    QTest::newRow("1920x1080") << 1920 << 1080;
  }

  void MainWindowPages() {
    QFETCH(int, width);
    QFETCH(int, height);
    const std::filesystem::path& root = root_;
    std::string error;
    QVERIFY2(WriteDefaultMultiPeriodFormula(root, &error), error.c_str());
    ServerProcess quotes;
    QVERIFY(quotes.Start("vorelin-quote-server", {"--root", root.string()}));
    QVERIFY(testing::UseQuoteServer(root, quotes.Port()));
    const QString& folder = folder_;
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

    // The multi-period window with nine charts, the bottom row at custom periods.
    TfrmDzq& dzq = window.MultiPeriod();
    dzq.Open(r.Boxes.Period);
    dzq.Logic().SetLayoutCount(9);
    dzq.Layout();
    for (const auto& [position, period] : {std::pair{6, "10"}, std::pair{7, "40"}, std::pair{8, "500"}})
      dzq.Logic().SetCustomPeriod(position, period);
    QTest::qWait(20);
    save(window.grab().toImage(), "multi_period");
    dzq.hide();

    // The intraday view of the current day, fetched from the quote server, a tenth of a
    // second a point.
    // The information board comes back through the chart's menu (a random window hides it).
    TGP& gp = window.ChartView().Chart();
    if (!gp.ShowBoard()) gp.DoMenuCommand("显示信息板");
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

    // Back in the K-line view, the next step's transactions fill the board's lists.
    QTest::keyClick(chart, Qt::Key_F5);
    QTest::keyClick(chart, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(!gp.BoardTrades().empty(), 10000);
    QTest::qWait(20);
    save(window.grab().toImage(), "board_ticks");
    const int board_left = chart->width() - gp.BoradWidth();
    QTest::mouseClick(chart, Qt::LeftButton, {}, QPoint(board_left + gp.BoardTabWidth() + 5, chart->height() - 6));
    QCOMPARE(QString::fromStdString(gp.InfoStr()), QString::fromUtf8("分价"));
    QTest::qWait(20);
    save(window.grab().toImage(), "board_prices");
    messages.answer = true;
    window.close();
  }

  // The 跟踪 tab: a chart replaying a day bar file with that day's minutes in its
  // time-sharing panes, drawn in miniature on the board.
  void BoardTracking() {
    const std::filesystem::path& root = root_;
    const QString& folder = folder_;
    testing::RecordingMessages messages;
    ChartWidget widget(messages);
    widget.resize(1000, 640);
    GpChartPort port(widget.Chart());
    StockDirectory directory;
    QVERIFY(directory.Load(root / "winbase.dat"));
    ReplayController replay(root, port, messages);
    replay.SetStockDirectory(&directory);
    replay.Boxes.Period = 1;
    replay.ApplyStockCode("600001");
    replay.OpenStock();
    const std::vector<TBarRecord>& bars = replay.Base().Bars;
    replay.SelectStartDate(bars[bars.size() - 12].date);
    for (int k = 0; k < 5; ++k) replay.NextClick();

    Tstock minutes;
    minutes.FileName = (root / "MinData" / "600001.TXT").string();
    QVERIFY(minutes.LoadBars());
    const std::string day = std::to_string(replay.CurrentDate());
    TGP& gp = widget.Chart();
    int slot = 0;
    for (const TBarRecord& m : minutes.Bars)
      if (m.date == day) gp.AppendTick(slot++, m.close, m.amount, m.vol);
    QVERIFY(slot > 200);
    gp.SetPrevClose(bars[static_cast<size_t>(replay.Base().CurrentRow) - 1].close);

    // Off the screen's corner: the keyboard cursor parks the pointer just outside the chart.
    widget.move(60, 60);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QTest::qWait(20);
    const int board_left = widget.width() - gp.BoradWidth();
    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(board_left + 2 * gp.BoardTabWidth() + 5, widget.height() - 6));
    QCOMPARE(QString::fromStdString(gp.InfoStr()), QString::fromUtf8("跟踪"));
    QTest::qWait(20);
    const QImage image = widget.grab().toImage();
    QVERIFY(MainColours(image) >= 2);
    image.save(folder + "/board_tracking.png");

    // The keyboard cursor with its information window, drawn over the chart where it stands.
    widget.setFocus();
    for (int k = 0; k < 6; ++k) QTest::keyClick(&widget, Qt::Key_Left);
    QTest::qWait(20);
    THintWin& hint = widget.HintWindow();
    QVERIFY(hint.isVisible());
    QImage with_hint = widget.grab().toImage();
    {
      QPainter painter(&with_hint);
      painter.drawImage(widget.mapFromGlobal(hint.pos()), hint.grab().toImage());
    }
    with_hint.save(folder + "/cursor_information.png");
  }

  // A chart with every drawing tool used once, spread over five panes.
  void DrawingTools() {
    const std::filesystem::path& root = root_;
    const QString& folder = folder_;
    testing::RecordingMessages messages;
    TForm1 window(root, "demo", messages);
    window.resize(1920, 1080);
    window.show();
    // Without a window manager the window closed last may keep the activation.
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.findChild<QRadioButton*>("rbDay")->click();
    auto* code = window.findChild<QLineEdit*>("edtgpdm");
    code->clear();
    QTest::keyClicks(code, "600001");
    QTest::keyClick(code, Qt::Key_Return);
    QWidget* chart_widget = window.findChild<QWidget*>("gp1");
    for (int k = 0; k < 150; ++k) QTest::keyClick(chart_widget, Qt::Key_Return);
    TGP& chart = window.ChartView().Chart();
    chart.SetTechWindows(5);
    QApplication::processEvents();
    chart.RepaintChart();

    struct Placement {
      int tool;
      int pane;
      QPointF p1, p2, p3;  // fractions of the pane's plot
    };
    const Placement kPlacements[] = {
        {1, 0, {0.04, 0.25}, {0.18, 0.55}, {}},   {3, 0, {0.22, 0.12}, {0.30, 0.34}, {}},
        {4, 0, {0.04, 0.92}, {0.14, 0.78}, {}},   {6, 0, {0.40, 0.85}, {0.52, 0.62}, {0.46, 0.97}},
        {7, 0, {0.60, 0.30}, {0.67, 0.46}, {}},   {10, 0, {0.72, 0.92}, {0.76, 0.55}, {}},
        {19, 0, {0.56, 0.97}, {0.70, 0.72}, {}},  {21, 0, {0.80, 0.08}, {0.92, 0.28}, {}},
        {22, 0, {0.34, 0.62}, {}, {}},            {23, 0, {0.37, 0.16}, {}, {}},
        {24, 0, {0.82, 0.36}, {}, {}},            {2, 1, {0.10, 0.80}, {0.40, 0.30}, {}},
        {16, 1, {0.55, 0.50}, {0.62, 0.50}, {}},  {12, 2, {0.05, 0.85}, {0.20, 0.15}, {}},
        {17, 2, {0.50, 0.50}, {}, {}},            {8, 3, {0.05, 0.50}, {0.08, 0.50}, {}},
        {5, 3, {0.30, 0.80}, {0.42, 0.55}, {0.36, 0.45}}, {18, 3, {0.60, 0.50}, {}, {}},
        {9, 4, {0.05, 0.85}, {0.12, 0.30}, {0.18, 0.70}}, {11, 4, {0.42, 0.90}, {0.48, 0.15}, {}},
        {20, 4, {0.75, 0.90}, {0.92, 0.30}, {}}};
    auto at = [&](int pane, QPointF f) {
      const PaneReport& plot = chart.ReportOf(pane);
      return QPoint(plot.left + static_cast<int>(f.x() * (plot.right - plot.left - 1)),
                    plot.top + static_cast<int>(f.y() * (plot.bottom - plot.top - 1)));
    };
    for (const Placement& p : kPlacements) {
      QTest::mouseClick(window.DrawingTools().Button(p.tool), Qt::LeftButton);
      if (p.tool == 24) {
        QTimer::singleShot(0, [folder] {
          QWidget* dialog = QApplication::activeModalWidget();
          if (dialog == nullptr) return;
          dialog->findChild<QPlainTextEdit*>("memText")->setPlainText(QString::fromUtf8("放量突破"));
          dialog->grab().toImage().save(folder + "/add_text_dialog.png");
          dialog->findChild<QPushButton*>("btnOk")->click();
        });
      }
      const QPoint a = at(p.pane, p.p1);
      const QPoint b = p.p2.isNull() ? a : at(p.pane, p.p2);
      QTest::mousePress(chart_widget, Qt::LeftButton, {}, a);
      QTest::mouseMove(chart_widget, b);
      QTest::mouseRelease(chart_widget, Qt::LeftButton, {}, b);
      if (!p.p3.isNull()) {
        const QPoint c = at(p.pane, p.p3);
        QTest::mouseMove(chart_widget, c);
        QTest::mousePress(chart_widget, Qt::LeftButton, {}, c);
        QTest::mouseRelease(chart_widget, Qt::LeftButton, {}, c);
      }
      QVERIFY2(!chart.Tool().Active(), std::to_string(p.tool).c_str());
    }
    QTest::qWait(20);
    const QImage image = window.grab().toImage();
    QVERIFY(MainColours(image) >= 2);
    image.save(folder + "/drawing_tools_1920x1080.png");

    // The rubber band while the second point of a segment follows the mouse (the chart
    // follows the mouse only with the focus, which the closed text dialog took along).
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(window.DrawingTools().Button(25), Qt::LeftButton);
    QTest::mouseClick(window.DrawingTools().Button(1), Qt::LeftButton);
    QTest::mousePress(chart_widget, Qt::LeftButton, {}, at(0, {0.30, 0.80}));
    QTest::mouseMove(chart_widget, at(0, {0.60, 0.25}));
    QTest::qWait(20);
    const QImage preview = window.grab().toImage();
    QVERIFY(MainColours(preview) >= 2);
    preview.save(folder + "/drawing_preview_1920x1080.png");
    QTest::mouseRelease(chart_widget, Qt::LeftButton, {}, at(0, {0.60, 0.25}));
    messages.answer = true;
    window.close();
  }

  // The formula editors (colouring, the marked error line, the function list with its help
  // and the completion list) and the parameter dialog on MACD.
  void FormulaWindows() {
    QTemporaryDir dir;
    const QString folder = qEnvironmentVariableIsSet("VORELIN_SCREENSHOTS")
                               ? qEnvironmentVariable("VORELIN_SCREENSHOTS")
                               : dir.path();
    auto save = [&](const QImage& image, const char* name) {
      QVERIFY2(MainColours(image) >= 2, name);
      image.save(folder + QString("/%1.png").arg(name));
    };
    testing::RecordingMessages messages;

    TFedit editor(messages);
    editor.SetName("MYKDJ");
    editor.SetText(QString::fromUtf8(
        "TECHNAME:=MYKDJ;\r\nTECHTITLE:=随机指标;\r\nDRAWK:=FALSE;\r\n"
        "N:=INPUT(2,100,9,9); {周期}\r\n"
        "RSV:=(CLOSE-LLV(LOW,N))/(HHV(HIGH,N)-LLV(LOW,N))*100;\r\n"
        "K:SMA(RSV,3,1),COLORWHITE;\r\nD:SMA(K,3,1),COLORYELLOW;\r\n"
        "J:3*K-2*D,COLORFF00FF,LINETHICK2;\r\n"
        "X:FOO(K)*2; // 尚未实现的函数\r\n"
        "DRAWTEXT(CROSS(K,D),D,'金叉'),COLORRED;\r\n"
        "*K线上穿D线为买入信号").toStdString());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.btnTest->click();
    QCOMPARE(editor.mmoText->ErrorLine(), 9);
    QTest::qWait(20);
    save(editor.grab().toImage(), "formula_editor");

    TEditFunc1 chart_editor(messages);
    chart_editor.setWindowTitle(chart_editor.windowTitle() + " - MACD.Wfc");
    chart_editor.SetText(BuiltinFormulas().TextOf("MACD"));
    chart_editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart_editor));
    QListWidgetItem* cross = chart_editor.lstFunctions->findItems("CROSS", Qt::MatchExactly).front();
    chart_editor.lstFunctions->setCurrentItem(cross);
    chart_editor.lstFunctions->scrollToItem(cross, QAbstractItemView::PositionAtCenter);
    emit chart_editor.lstFunctions->itemClicked(cross);
    chart_editor.mmoText->setFocus();
    chart_editor.mmoText->moveCursor(QTextCursor::End);
    QTest::keyClick(chart_editor.mmoText, Qt::Key_Return);
    QTest::keyClicks(chart_editor.mmoText, "X:MA");
    QVERIFY(chart_editor.mmoText->CompletionHelp()->isVisible());
    QTest::qWait(50);
    QImage with_list = chart_editor.grab().toImage();
    {
      QWidget* list = chart_editor.mmoText->Completer()->popup();
      QLabel* help = chart_editor.mmoText->CompletionHelp();
      QPainter painter(&with_list);
      painter.drawImage(chart_editor.mapFromGlobal(list->mapToGlobal(QPoint())), list->grab().toImage());
      painter.drawImage(chart_editor.mapFromGlobal(help->mapToGlobal(QPoint())), help->grab().toImage());
    }
    save(with_list, "formula_function_help");

    TGS macd;
    LoadTestSample(macd);
    QVERIFY(macd.CompileText(BuiltinFormulas().TextOf("MACD")));
    TTTiao parameters(macd, [] {});
    parameters.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parameters));
    QTest::keyClick(parameters.Rows()[0], Qt::Key_Up);
    QTest::qWait(20);
    save(parameters.grab().toImage(), "parameter_dialog");
  }

  // A blind session after a few trades: the chart (no code, name or date; the trade marks),
  // the journal page with the running session's rows masked, and its report.
  void BlindSession() {
    const std::filesystem::path& root = root_;
    const QString& folder = folder_;
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

 private:
  std::unique_ptr<QTemporaryDir> root_dir_;
  std::filesystem::path root_;
  QString folder_;
};

}  // namespace vorelin

QTEST_MAIN(vorelin::ScreenshotsTest)
#include "screenshots_test.moc"
