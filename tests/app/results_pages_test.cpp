// The trainer's results pages against a real session: the journal list and its commands,
// the picture window, and the equity curve with its axis scale.
#include <QAction>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/equity_curve_view.h"
#include "app/journal_page.h"
#include "app/nice_scale.h"
#include "app/picture_window.h"
#include "chart/image_files.h"
#include "tests/practice/recording_chart.h"
#include "tools/vorelin-sample/sample_market.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;

// A screenshot small enough to write quickly and plain enough to recognise on screen.
constexpr int kShotWidth = 120;
constexpr int kShotHeight = 80;
const QColor kShotColour(20, 160, 60);

bool WriteShot(const fs::path& jpg) {
  RgbImage image{kShotWidth, kShotHeight, {}};
  for (int i = 0; i < kShotWidth * kShotHeight; ++i)
    image.bgr.insert(image.bgr.end(), {static_cast<uint8_t>(kShotColour.blue()),
                                       static_cast<uint8_t>(kShotColour.green()),
                                       static_cast<uint8_t>(kShotColour.red())});
  return WriteJpegFile(jpg.string(), image);
}

bool Near(const QColor& a, const QColor& b, int tolerance = 24) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

int CountPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& wanted) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (wanted(image.pixelColor(x, y))) ++count;
  return count;
}

bool IsRed(const QColor& c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }

QAction* MenuAction(const JournalPage& page, const char* caption) {
  for (QAction* action : page.List()->actions())
    if (action->text() == QString::fromUtf8(caption)) return action;
  return nullptr;
}

}  // namespace

class ResultsPagesTest : public QObject {
  Q_OBJECT

 private:
  // A session on a fresh sample market, day bars of one stock open.
  void StartSession(bool with_pictures) {
    dir_ = std::make_unique<QTemporaryDir>();
    root_ = dir_->path().toStdString();
    std::string error;
    QVERIFY2(WriteSampleMarket(root_, error), error.c_str());
    ScreenshotWriter shot = with_pictures ? ScreenshotWriter(WriteShot)
                                          : ScreenshotWriter([](const fs::path&) { return false; });
    session_ = std::make_unique<PracticeSession>(root_, "张三", chart_, messages_, shot);
    QVERIFY(session_->Start());
    ReplayController& r = session_->Replay();
    r.Boxes.Period = 1;
    r.ApplyStockCode("600001");
    r.OpenStock();
    page_ = std::make_unique<JournalPage>(*session_, messages_);
    picture_ = std::make_unique<TForm5>();
    page_->SetPictureWindow(picture_.get());
  }
  void BuyThenSell() {
    ReplayController& r = session_->Replay();
    r.BuyClick();
    for (int i = 0; i < 3; ++i) r.NextClick();
    r.SellClick();
  }
  void DoubleClickRow(int row) {
    page_->resize(900, 500);
    page_->show();
    QVERIFY(QTest::qWaitForWindowExposed(page_.get()));
    QTableWidget* list = page_->List();
    const QRect cell = list->visualItemRect(list->item(row, 1));
    // The list takes a double-click only on the line its press went to.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(QTest::qWaitForWindowExposed(picture_.get()));
  }
  fs::path PicturePath(int row) const {
    return JournalPicturePath(root_, page_->List()->item(row, 11)->text().toStdString());
  }

  std::unique_ptr<QTemporaryDir> dir_;
  fs::path root_;
  testing::RecordingChart chart_;
  testing::RecordingMessages messages_;
  std::unique_ptr<PracticeSession> session_;
  std::unique_ptr<TForm5> picture_;
  std::unique_ptr<JournalPage> page_;

 private slots:
  void cleanup() {
    page_.reset();
    picture_.reset();
    session_.reset();
    dir_.reset();
    messages_.shown.clear();
  }

  void journalListsTradesInTheirDirectionColours() {
    StartSession(false);
    BuyThenSell();
    page_->Refresh();
    page_->Refresh();  // rebuilt, not appended to
    QTableWidget* list = page_->List();
    QCOMPARE(list->objectName(), QString("lvJournal"));
    QCOMPARE(list->columnCount(), 12);
    QCOMPARE(list->horizontalHeaderItem(0)->text(), QString("序号"));
    QCOMPARE(list->horizontalHeaderItem(11)->text(), QString("图片路径"));
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->item(0, 3)->text(), QString("证券买入"));
    QCOMPARE(list->item(1, 3)->text(), QString("证券卖出"));
    for (int column = 0; column < 12; ++column) {
      QCOMPARE(list->item(0, column)->foreground().color(), QColor(255, 0, 0));
      QCOMPARE(list->item(1, column)->foreground().color(), QColor(0, 0, 255));
    }
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    QVERIFY(list->showGrid());
    QPlainTextEdit* statistics = page_->Statistics();
    QCOMPARE(statistics->objectName(), QString("mmoStatistics"));
    QVERIFY(statistics->isReadOnly());
    QVERIFY2(statistics->toPlainText().startsWith("交易统计    \n交易次数:      2"),
             qPrintable(statistics->toPlainText()));
  }

  void emptyJournalKeepsTheStatisticsText() {
    StartSession(false);
    page_->Statistics()->setPlainText("earlier");
    page_->Refresh();
    QCOMPARE(page_->List()->rowCount(), 0);
    QCOMPARE(page_->Statistics()->toPlainText(), QString("earlier"));
  }

  void menuExportsAndOpensTheExportFolder() {
    StartSession(false);
    BuyThenSell();
    page_->Refresh();
    QAction* refresh = MenuAction(*page_, "刷新");
    QAction* exporting = MenuAction(*page_, "导出");
    QAction* open_folder = MenuAction(*page_, "打开日志目录");
    QVERIFY(refresh && exporting && open_folder);
    QCOMPARE(page_->List()->contextMenuPolicy(), Qt::ActionsContextMenu);

    exporting->trigger();
    const std::string last = messages_.Last();
    QVERIFY2(last.rfind("日志已经导出到", 0) == 0, last.c_str());
    const fs::path written = last.substr(std::string("日志已经导出到").size());
    QCOMPARE(written.parent_path(), root_ / "Export");
    QCOMPARE(written.extension().string(), std::string(".xls"));
    QVERIFY(fs::is_regular_file(written));

    std::vector<fs::path> opened;
    page_->SetFolderOpener([&](const fs::path& folder) { opened.push_back(folder); });
    open_folder->trigger();
    QCOMPARE(opened.size(), size_t{1});
    QCOMPARE(opened[0], root_ / "Export");

    session_->Replay().BuyClick();
    refresh->trigger();
    QCOMPARE(page_->List()->rowCount(), 3);
  }

  void doubleClickShowsTheTradesPicture() {
    StartSession(true);
    BuyThenSell();
    page_->Refresh();
    DoubleClickRow(1);
    QCOMPARE(picture_->windowTitle(), QString::fromStdString(PicturePath(1).string()));
    QCOMPARE(picture_->Picture().size(), QSize(kShotWidth, kShotHeight));
    // Stretched over the whole window, corners included.
    const QImage shown = picture_->grab().toImage();
    QVERIFY(Near(shown.pixelColor(5, 5), kShotColour));
    QVERIFY(Near(shown.pixelColor(shown.width() - 5, shown.height() - 5), kShotColour));

    QTest::keyClick(picture_.get(), Qt::Key_Escape);
    QVERIFY(!picture_->isVisible());
  }

  void missingPictureShowsTheNoteInRed() {
    StartSession(false);
    BuyThenSell();
    page_->Refresh();
    QVERIFY(!fs::exists(PicturePath(0)));
    DoubleClickRow(0);
    QCOMPARE(picture_->windowTitle(), QString("交易理由"));
    QVERIFY(picture_->Picture().isNull());
    const QImage shown = picture_->grab().toImage();
    // Two lines of 20-point text from (100, 100): red inside, nothing red above or left.
    QVERIFY(CountPixels(shown, QRect(100, 100, 260, 40), IsRed) > 50);
    QVERIFY(CountPixels(shown, QRect(100, 140, 120, 40), IsRed) > 20);
    QCOMPARE(CountPixels(shown, QRect(0, 0, shown.width(), 98), IsRed), 0);
    QCOMPARE(CountPixels(shown, QRect(0, 0, 98, shown.height()), IsRed), 0);
  }

  void pictureWindowFollowsTheLastLineShown() {
    StartSession(true);
    BuyThenSell();
    page_->Refresh();
    DoubleClickRow(0);
    fs::remove(PicturePath(1));
    page_->ShowPicture(1);
    QCOMPARE(picture_->windowTitle(), QString("交易理由"));
    QVERIFY(picture_->Picture().isNull());
  }

  void equityCurveDrawsPointsInSequenceOrder() {
    EquityCurveView view;
    QCOMPARE(view.objectName(), QString("chtEquity"));
    view.SetPoints({{10, 10300}, {9, 9800}, {2, 10000}, {9, 9900}});
    std::vector<double> order;
    for (const EquityPoint& p : view.Points()) order.push_back(p.sno);
    QCOMPARE(order, (std::vector<double>{2, 9, 9, 10}));
    QCOMPARE(view.Points()[1].assets, 9800.0);  // equal numbers keep the order they came in

    view.resize(400, 300);
    const QImage drawn = view.grab().toImage();
    const auto is_line = [](QColor c) { return Near(c, QColor(0x1F, 0x6F, 0xC5), 30); };
    QVERIFY(CountPixels(drawn, drawn.rect(), is_line) > 200);

    view.SetPoints({});
    const QImage empty = view.grab().toImage();
    QCOMPARE(CountPixels(empty, empty.rect(), is_line), 0);
    QVERIFY(empty != drawn);
  }

  void equityCurveFromTheSession() {
    StartSession(false);
    BuyThenSell();
    BuyThenSell();
    std::vector<EquityPoint> points;
    QVERIFY(session_->EquityPage(points));
    EquityCurveView view;
    view.SetPoints(points);
    QCOMPARE(view.Points().size(), size_t{2});
    QVERIFY(view.Points()[0].sno < view.Points()[1].sno);
  }

  void niceScale_data() {
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<double>("minStep");
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("last");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("firstLabel");
    QTest::newRow("thousands") << 10000.0 << 10850.0 << 5 << 0.0 << 10000.0 << 11000.0 << 200.0 << "10000";
    QTest::newRow("exact steps stay") << 0.0 << 100.0 << 5 << 0.0 << 0.0 << 100.0 << 20.0 << "0";
    QTest::newRow("flat value widened") << 10000.0 << 10000.0 << 4 << 0.0 << 9900.0 << 10100.0 << 50.0 << "9900";
    QTest::newRow("fractions") << 0.12 << 0.87 << 5 << 0.0 << 0.0 << 1.0 << 0.2 << "0.0";
    QTest::newRow("negative") << -3.2 << 4.1 << 4 << 0.0 << -4.0 << 6.0 << 2.0 << "-4";
    QTest::newRow("reversed") << 7.0 << 1.0 << 3 << 0.0 << 0.0 << 8.0 << 2.0 << "0";
    QTest::newRow("whole sequence numbers") << 0.0 << 3.0 << 12 << 1.0 << 0.0 << 3.0 << 1.0 << "0";
    QTest::newRow("one sequence number") << 5.0 << 5.0 << 4 << 1.0 << 4.0 << 6.0 << 1.0 << "4";
  }
  void niceScale() {
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(int, ticks);
    QFETCH(double, minStep);
    const NiceScale scale = MakeNiceScale(low, high, ticks, minStep);
    QTEST(scale.low, "first");
    QTEST(scale.high, "last");
    QTEST(scale.step, "step");
    QTEST(QString::fromStdString(scale.Label(scale.low)), "firstLabel");
    const std::vector<double> all = scale.Ticks();
    QCOMPARE(all.front(), scale.low);
    QVERIFY(std::abs(all.back() - scale.high) < scale.step * 1e-6);
    QVERIFY(all.front() <= std::min(low, high) && all.back() >= std::max(low, high));
  }

  void scaleLabelsHaveNoNegativeZero() {
    const NiceScale scale = MakeNiceScale(-0.3, 0.3, 6);
    QStringList labels;
    for (double tick : scale.Ticks()) labels << QString::fromStdString(scale.Label(tick));
    QCOMPARE(labels, QStringList({"-0.3", "-0.2", "-0.1", "0.0", "0.1", "0.2", "0.3"}));
    QCOMPARE(QString::fromStdString(scale.Label(-1e-17)), QString("0.0"));
  }
};

}  // namespace vorelin

QTEST_MAIN(vorelin::ResultsPagesTest)
#include "results_pages_test.moc"
