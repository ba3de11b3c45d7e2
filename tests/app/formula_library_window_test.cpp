// The formula library and the pane formula dialogs in the trainer's window: a new formula
// made in the tree, tested, saved and loaded into a pane that draws it; a broken stored
// formula loads with its error shown; deleting asks first; the parameter dialog recomputes
// MACD live; the notes dialog saves; the pane editor writes the formula file.
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <string>
#include <vector>

#include "app/chart_formula_editor.h"
#include "app/formula_editor.h"
#include "app/main_window.h"
#include "app/notes_dialog.h"
#include "app/parameter_dialog.h"
#include "chart/qt/qt_canvas.h"
#include "chart/tgs_pane_formula.h"
#include "common/text_file.h"
#include "formula_library/formula_store.h"
#include "support/modal_driver.h"
#include "support/recording_messages.h"
#include "tools/vorelin-sample/sample_market.h"

namespace vorelin {
namespace {

using testing::RecordingMessages;
using testing::WhenModal;

QString Q(const char* text) { return QString::fromUtf8(text); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

QTreeWidgetItem* Node(QTreeWidget& tree, const QString& category, const QString& prefix = {}) {
  for (int i = 0; i < tree.topLevelItemCount(); ++i) {
    QTreeWidgetItem* top = tree.topLevelItem(i);
    if (top->text(0) != category) continue;
    if (prefix.isEmpty()) return top;
    for (int j = 0; j < top->childCount(); ++j)
      if (top->child(j)->text(0).startsWith(prefix)) return top->child(j);
  }
  return nullptr;
}

int PixelsOf(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour ? 1 : 0;
  return n;
}

// MACD's declaration of SHORT.
std::string ShortLine(const TGS& gs) {
  for (const std::string& line : gs.SourceLines())
    if (line.starts_with("SHORT:=")) return line;
  return {};
}

TGS& InterpreterOf(PaneFormula& pane) { return dynamic_cast<TgsPaneFormula&>(pane).Interpreter(); }

}  // namespace

class FormulaLibraryWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void newFormulaIsTestedSavedAndDrawnInAPane();
  void renamedFormulaKeepsBothRowsAndTheTreeShowsTheNewName();
  void brokenOrEmptyStoredFormulaSaysWhy();
  void deleteAsksAndNoKeepsTheFormula();
  void parameterDialogRecomputesThePaneLive();
  void notesDialogSavesTheNotesAtTheEnd();
  void paneEditorWritesTheFormulaFile();
  void notesOfALibraryFormulaGoIntoItsRow();

 private:
  // The window on day bars of 600001, the formula tree and the chart at hand.
  void Open();
  // Puts the mouse over pane `index` for the context menu's pane items.
  void HitPane(int index);
  TGP& Chart() { return window_->ChartView().Chart(); }
  QImage Picture() {
    Chart().RepaintChart();
    return dynamic_cast<const QtCanvas*>(Chart().BackBuffer())->Image();
  }

  QTemporaryDir dir_;
  std::filesystem::path root_;
  RecordingMessages messages_;
  std::unique_ptr<TForm1> window_;
  FormulaTree* tree_ = nullptr;
};

void FormulaLibraryWindowTest::init() {
  QVERIFY(dir_.isValid());
  root_ = std::filesystem::path(dir_.path().toStdString()) / QTest::currentTestFunction();
  std::filesystem::create_directories(root_);
  std::string error;
  QVERIFY2(WriteSampleMarket(root_, error), error.c_str());
  messages_ = RecordingMessages();
}

void FormulaLibraryWindowTest::cleanup() {
  tree_ = nullptr;
  window_.reset();
}

void FormulaLibraryWindowTest::Open() {
  window_ = std::make_unique<TForm1>(root_, "demo", messages_);
  window_->resize(1366, 768);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  window_->findChild<QRadioButton*>("rbDay")->click();
  auto* code = window_->findChild<QLineEdit*>("edtgpdm");
  code->clear();
  QTest::keyClicks(code, "600001");
  QTest::keyClick(code, Qt::Key_Return);
  tree_ = window_->findChild<FormulaTree*>("GSView");
  QVERIFY(tree_ != nullptr);
  // The replay opens on a window of random length: step on until enough bars are shown.
  for (int i = 0; i < 80 && Chart().Pane(0).BarCount() < 60; ++i) window_->NextClick();
  QVERIFY(Chart().Pane(0).BarCount() >= 60);
}

void FormulaLibraryWindowTest::HitPane(int index) {
  const PaneReport& pane = Chart().ReportOf(index);
  Chart().HitTest((pane.left + pane.right) / 2, (pane.top + pane.bottom) / 2);
  QCOMPARE(Chart().HitPane(), &Chart().Pane(index));
}

void FormulaLibraryWindowTest::newFormulaIsTestedSavedAndDrawnInAPane() {
  Open();
  QTreeWidgetItem* category = Node(*tree_, Q("自定义"));
  QVERIFY(category != nullptr);
  tree_->setCurrentItem(category);
  QCOMPARE(tree_->Popup()->actions().front()->text(), Q("新建指标"));
  const int children = category->childCount();

  QString tested;
  WhenModal<TFedit>([&](TFedit& editor) {
    QTest::keyClicks(editor.edtName, "myline");
    editor.edtDescription->insert(Q("五日线"));
    editor.mmoText->moveCursor(QTextCursor::End);
    QTest::keyClick(editor.mmoText, Qt::Key_Return);
    QTest::keyClicks(editor.mmoText, "X:MA(C,5),COLOR123456,LINETHICK3;");
    editor.btnTest->click();
    tested = editor.mmoMessage->toPlainText();
    editor.findChild<QPushButton*>("btnOk")->click();
  });
  tree_->actNew->trigger();
  QVERIFY2(tested.contains("X:"), qPrintable(tested));
  QVERIFY(messages_.asked.empty());

  QCOMPARE(category->childCount(), children + 1);
  QTreeWidgetItem* added = Node(*tree_, Q("自定义"), "MYLINE ");
  QVERIFY(added != nullptr);
  QCOMPARE(added->text(0), Q("MYLINE 五日线"));
  FormulaStore store;
  std::string error;
  QVERIFY(store.Open(FormulaStore::PathIn(root_), error));
  FormulaRow row;
  bool found = false;
  QVERIFY(store.Find("MYLINE", row, found, error) && found);
  QCOMPARE(Q(row.category), Q("自定义"));
  QVERIFY(Q(row.text).contains("X:MA(C,5),COLOR123456,LINETHICK3;"));

  tree_->setCurrentItem(added);
  QCOMPARE(tree_->Popup()->actions().front()->text(), Q("编辑指标"));
  Chart().SelectPane(1);
  QCOMPARE(PixelsOf(Picture(), qRgb(0x56, 0x34, 0x12)), 0);
  tree_->itemDoubleClicked(added, 0);
  QCOMPARE(Q(Chart().Pane(1).ShortName()).toUpper(), QString("MYLINE"));
  QVERIFY(Chart().Pane(1).ErrorText().empty());
  QVERIFY(PixelsOf(Picture(), qRgb(0x56, 0x34, 0x12)) > 100);
}

void FormulaLibraryWindowTest::renamedFormulaKeepsBothRowsAndTheTreeShowsTheNewName() {
  Open();
  QTreeWidgetItem* myma = Node(*tree_, Q("常用"), "MYMA ");
  QVERIFY(myma != nullptr);
  const int children = myma->parent()->childCount();
  tree_->setCurrentItem(myma);
  QString opened_with;
  WhenModal<TFedit>([&](TFedit& editor) {
    opened_with = editor.Name();
    QVERIFY(Q(editor.Text()).contains("MA("));
    QTest::keyClick(editor.edtName, Qt::Key_End);
    QTest::keyClicks(editor.edtName, "2");
    editor.findChild<QPushButton*>("btnOk")->click();
  });
  tree_->actNew->trigger();
  QCOMPARE(opened_with, QString("MYMA"));
  QCOMPARE(myma->parent()->childCount(), children);
  QVERIFY(myma->text(0).startsWith("MYMA2 "));
  QVERIFY(Node(*tree_, Q("常用"), "MYMA ") == nullptr);
  FormulaStore store;
  std::string error;
  QVERIFY(store.Open(FormulaStore::PathIn(root_), error));
  for (const char* name : {"MYMA", "MYMA2"}) {
    FormulaRow row;
    bool found = false;
    QVERIFY(store.Find(name, row, found, error));
    QVERIFY2(found, name);
  }
}

void FormulaLibraryWindowTest::brokenOrEmptyStoredFormulaSaysWhy() {
  FormulaStore store;
  std::string error;
  const std::filesystem::path path = FormulaStore::PathIn(root_);
  QVERIFY(FormulaStore::CreateWithDefaults(path, error) && store.Open(path, error));
  QVERIFY(store.Save({"BROKEN", Q("坏公式").toStdString(), "X:FOO(C)*2;", Q("自定义").toStdString(), 1}, error));
  QVERIFY(store.Save({"EMPTY", "", "", Q("自定义").toStdString(), 1}, error));
  Open();
  Chart().SelectPane(1);
  const std::string before = Chart().Pane(1).ShortName();

  tree_->itemDoubleClicked(Node(*tree_, Q("自定义"), "BROKEN "), 0);
  QVERIFY2(Q(messages_.Last()).contains("FOO"), messages_.Last().c_str());
  QCOMPARE(Chart().Pane(1).ShortName(), before);

  const size_t shown = messages_.shown.size();
  tree_->setCurrentItem(Node(*tree_, Q("自定义"), "EMPTY"));
  tree_->actLoad->trigger();
  QCOMPARE(messages_.shown.size(), shown + 1);
  QVERIFY(Q(messages_.Last()).contains("EMPTY"));
  QCOMPARE(Chart().Pane(1).ShortName(), before);
}

void FormulaLibraryWindowTest::deleteAsksAndNoKeepsTheFormula() {
  Open();
  QTreeWidgetItem* category = Node(*tree_, Q("常用"));
  QVERIFY(category != nullptr && category->childCount() > 0);
  QTreeWidgetItem* first = category->child(0);
  const QString name = first->text(0).section(' ', 0, 0);
  tree_->setCurrentItem(first);
  messages_.answer = false;
  tree_->actDelete->trigger();
  QCOMPARE(Q(messages_.asked.back()), Q("是否删除公式:") + name + Q("？"));
  QCOMPARE(first->parent(), category);

  messages_.answer = true;
  const int children = category->childCount();
  tree_->actDelete->trigger();
  QCOMPARE(category->childCount(), children - 1);
  FormulaStore store;
  std::string error;
  FormulaRow row;
  bool found = true;
  QVERIFY(store.Open(FormulaStore::PathIn(root_), error) && store.Find(name.toStdString(), row, found, error));
  QVERIFY(!found);
}

void FormulaLibraryWindowTest::parameterDialogRecomputesThePaneLive() {
  Open();
  QVERIFY(Chart().LoadIndicator(Chart().Pane(2), "MACD"));
  HitPane(2);
  ChartMenu menu = *Chart().OpenContextMenu();
  for (const char* caption : {"调整指标参数", "指标用法注释", "修改指标公式"})
    QVERIFY2(FindMenuItem(menu, caption)->enabled, caption);
  TGS& gs = InterpreterOf(Chart().Pane(2));
  const double dif12 = gs.LastValue("dif");
  const QImage before = Picture();

  double dif13 = 0;
  std::string line13, line_restored;
  QImage after;
  WhenModal<TTTiao>([&](TTTiao& dialog) {
    QCOMPARE(dialog.windowTitle(), Q("指标参数调整"));
    const std::vector<ParameterRow>& rows = dialog.Adjustment().Rows();
    QCOMPARE(rows.size(), size_t{3});
    const int positions[] = {12, 26, 9};
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(Q(rows[i].rangeText()), QString("2--200"));
      QCOMPARE(dialog.Rows()[i]->value(), positions[i]);
    }
    QCOMPARE(dialog.Rows()[0]->y(), 20);
    QVERIFY(dialog.Rows()[0]->x() >= 56);
    QTest::keyClick(dialog.Rows()[0], Qt::Key_Up);
    line13 = ShortLine(gs);
    dif13 = gs.LastValue("dif");
    after = Picture();
    dialog.btnDefault->click();
    line_restored = ShortLine(gs);
    dialog.btnClose->click();
  });
  Chart().DoMenuCommand("调整指标参数");
  QCOMPARE(Q(line13), QString("SHORT:=INPUT(2,200,12,13)"));
  TGS fresh(&gs);
  QVERIFY(fresh.CompileText("SHORT:=INPUT(2,200,13,13);LONG:=INPUT(2,200,26,26);MID:=INPUT(2,200,9,9);"
                            "DIF:EMA(CLOSE,SHORT)-EMA(CLOSE,LONG);"));
  QCOMPARE(dif13, fresh.LastValue("dif"));
  QVERIFY(dif13 != dif12);
  QVERIFY(after != before);
  QCOMPARE(Q(line_restored), QString("SHORT:=INPUT(2,200,12,12)"));
  QCOMPARE(gs.LastValue("dif"), dif12);
}

void FormulaLibraryWindowTest::notesDialogSavesTheNotesAtTheEnd() {
  Open();
  Chart().SelectPane(2);
  QVERIFY(Chart().LoadIndicator(Chart().Pane(2), "KDJ"));
  HitPane(2);
  QStringList shown;
  WhenModal<TNotes>([&](TNotes& notes) {
    QCOMPARE(notes.windowTitle(), Q("KDJ.Wfc指标用法"));
    shown = notes.mmoNotes->toPlainText().split('\n', Qt::SkipEmptyParts);
    notes.mmoNotes->setPlainText(QStringList(shown.mid(0, 3)).join('\n'));
    notes.btnSave->click();
  });
  Chart().DoMenuCommand("指标用法注释");
  QCOMPARE(shown.size(), 5);
  for (const QString& line : shown) QVERIFY(!line.startsWith('*'));

  std::vector<std::string> lines;
  QVERIFY(ReadTextLines(root_ / "KDJ.Wfc", lines));
  int notes = 0;
  for (const std::string& line : lines) notes += line.starts_with("*") ? 1 : 0;
  QCOMPARE(notes, 3);
  QCOMPARE(Q(lines.back()), "*" + shown[2].trimmed());
  QVERIFY(lines[lines.size() - 3].starts_with("*"));
  QCOMPARE(Q(Chart().Pane(2).FileName()), Q((root_ / "KDJ.Wfc").string()));
}

void FormulaLibraryWindowTest::paneEditorWritesTheFormulaFile() {
  Open();
  QVERIFY(Chart().LoadIndicator(Chart().Pane(1), "VOL"));
  HitPane(1);
  QString caption;
  WhenModal<TEditFunc1>([&](TEditFunc1& editor) {
    caption = editor.windowTitle();
    editor.mmoText->setPlainText("TECHNAME:=VOL;\nV1:MA(VOL,5),COLOR123456,LINETHICK3;");
    editor.btnTest->click();
    editor.findChild<QPushButton*>("btnOk")->click();
  });
  Chart().DoMenuCommand("修改指标公式");
  QCOMPARE(caption, Q("公式编辑器 - VOL.Wfc"));
  std::vector<std::string> lines;
  QVERIFY(ReadTextLines(root_ / "VOL.Wfc", lines));
  QCOMPARE(lines.back(), std::string("V1:MA(VOL,5),COLOR123456,LINETHICK3;"));
  QVERIFY(Chart().Pane(1).ErrorText().empty());
  QVERIFY(PixelsOf(Picture(), qRgb(0x56, 0x34, 0x12)) > 100);
}

void FormulaLibraryWindowTest::notesOfALibraryFormulaGoIntoItsRow() {
  Open();
  Chart().SelectPane(1);
  QTreeWidgetItem* myma = Node(*tree_, Q("常用"), "MYMA ");
  tree_->itemDoubleClicked(myma, 0);
  QVERIFY(Chart().Pane(1).FileName().empty());
  HitPane(1);
  WhenModal<TNotes>([&](TNotes& notes) {
    notes.mmoNotes->setPlainText(Q("三条均线多头排列时持有\n\n  "));
    notes.btnSave->click();
  });
  Chart().DoMenuCommand("指标用法注释");
  FormulaStore store;
  std::string error;
  FormulaRow row;
  bool found = false;
  QVERIFY(store.Open(FormulaStore::PathIn(root_), error) && store.Find("MYMA", row, found, error) && found);
  QVERIFY2(Q(row.text).endsWith(Q("\r\n*三条均线多头排列时持有")), row.text.c_str());
  QVERIFY(!std::filesystem::exists(root_ / "MYMA.Wfc"));
  QVERIFY(Chart().Pane(1).ErrorText().empty());
}

}  // namespace vorelin

QTEST_MAIN(vorelin::FormulaLibraryWindowTest)
#include "formula_library_window_test.moc"
