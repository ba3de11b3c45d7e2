// The two formula editors and TFInput as a user works them: header lines following the
// fields, 插入参数 and 插入颜色, the function list and its help, 测试 and 测试公式 with the error
// line marked, 转换, the OK checks and the question before a broken formula is kept.
#include <QColorDialog>
#include <QMimeData>
#include <memory>
#include <QtTest>

#include "app/chart_formula_editor.h"
#include "app/formula_editor.h"
#include "app/formula_input_dialog.h"
#include "support/modal_driver.h"
#include "support/recording_messages.h"

namespace vorelin {
namespace {

using testing::RecordingMessages;
using testing::WhenModal;

QString Q(const char* text) { return QString::fromUtf8(text); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

QStringList Lines(const QPlainTextEdit* memo) { return memo->toPlainText().split('\n'); }

template <class Editor>
void Show(Editor& editor) {
  editor.show();
  QVERIFY(QTest::qWaitForWindowExposed(&editor));
}

}  // namespace

class FormulaEditorsTest : public QObject {
  Q_OBJECT

 private slots:
  void typedNameGoesFirstInTFeditAndLastInTEditFunc1();
  void drawKLineAndBoxFollowEachOther();
  void insertParameterPutsTheInputLineFirst();
  void inputDialogRefusesEmptyNameAndCrossedRange();
  void insertColourWritesBlueGreenRed();
  void functionListShowsHelpAndInserts();
  void tfeditTestMarksTheLineOfACompileError();
  void teditfunc1TestRunsOnTheSampleBars();
  void convertRewritesTheCompiledProgram();
  void okChecksAndTheQuestionBeforeSavingABrokenFormula();
  void clearEmptiesEverything();
  void importFillsFieldsAndText();
};

void FormulaEditorsTest::typedNameGoesFirstInTFeditAndLastInTEditFunc1() {
  RecordingMessages messages;
  TFedit fedit(messages);
  fedit.SetText("MA5:MA(C,5);");
  Show(fedit);
  QTest::keyClicks(fedit.edtName, "myind");
  QCOMPARE(Lines(fedit.mmoText), QStringList({"TECHNAME:=MYIND;", "MA5:MA(C,5);"}));

  TEditFunc1 func(messages);
  func.SetText("MA5:MA(C,5);");
  Show(func);
  QTest::keyClicks(func.edtName, "MYIND");
  func.edtDescription->insert(Q("我的指标"));
  QCOMPARE(Lines(func.mmoText),
           QStringList({"MA5:MA(C,5);", "TECHNAME:=MYIND;", Q("TECHTITLE:=我的指标;")}));
}

void FormulaEditorsTest::drawKLineAndBoxFollowEachOther() {
  RecordingMessages messages;
  TFedit editor(messages);
  editor.SetText("TECHNAME:=KX;\r\nDRAWK:=TRUE;\r\nX:C;");
  Show(editor);
  QVERIFY(editor.chkDrawK->isChecked());
  QCOMPARE(editor.Name(), QString("KX"));
  editor.chkDrawK->click();
  QCOMPARE(Lines(editor.mmoText), QStringList({"TECHNAME:=KX;", "DRAWK:=FALSE;", "X:C;"}));
  // A key in the text brings the fields back in step.
  editor.mmoText->setPlainText("TECHNAME:=OTHER;\nDRAWK:=TRUE;\nX:C;");
  QTest::keyClick(editor.mmoText, Qt::Key_End);
  QVERIFY(editor.chkDrawK->isChecked());
  QCOMPARE(editor.Name(), QString("OTHER"));
}

void FormulaEditorsTest::insertParameterPutsTheInputLineFirst() {
  RecordingMessages messages;
  TEditFunc1 editor(messages);
  editor.SetText("X:MA(C,N);");
  Show(editor);
  WhenModal<TFInput>([](TFInput& input) {
    QTest::keyClicks(input.edtName, "n");
    input.spnMin->setValue(2);
    input.spnMax->setValue(50);
    input.spnDefault->setValue(10);
    QCOMPARE(input.spnCurrent->value(), 10);
    input.spnCurrent->setValue(12);
    input.findChild<QPushButton*>("btnOk")->click();
  });
  editor.btnInsertParam->click();
  QCOMPARE(Lines(editor.mmoText), QStringList({"N:=INPUT(2,50,12,12);", "X:MA(C,N);"}));
}

void FormulaEditorsTest::inputDialogRefusesEmptyNameAndCrossedRange() {
  RecordingMessages messages;
  TFInput input(messages);
  Show(input);
  QCOMPARE(input.spnMin->value(), 1);
  QCOMPARE(input.spnMax->value(), 100);
  input.spnDefault->setValue(80);
  input.spnMax->setValue(60);
  QCOMPARE(input.spnDefault->value(), 60);
  QCOMPARE(input.spnCurrent->value(), 60);

  QPushButton* ok = input.findChild<QPushButton*>("btnOk");
  ok->click();
  QCOMPARE(Q(messages.Last()), Q("请输入参数名！"));
  QVERIFY(input.isVisible());
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(input.edtName));

  QTest::keyClicks(input.edtName, "N");
  input.spnMin->setValue(70);
  ok->click();
  QCOMPARE(Q(messages.Last()), Q("最大值不能大于最小值!"));
  QVERIFY(input.isVisible());
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(input.spnMax));

  input.spnMin->setValue(2);
  ok->click();
  QCOMPARE(input.result(), int(QDialog::Accepted));
}

void FormulaEditorsTest::insertColourWritesBlueGreenRed() {
  RecordingMessages messages;
  TFedit editor(messages);
  editor.SetText("X:C");
  Show(editor);
  QTextCursor end = editor.mmoText->textCursor();
  end.movePosition(QTextCursor::End);
  editor.mmoText->setTextCursor(end);
  WhenModal<QColorDialog>([](QColorDialog& dialog) {
    dialog.setCurrentColor(QColor(255, 0, 0));
    dialog.accept();
  });
  editor.btnInsertColour->click();
  QCOMPARE(editor.mmoText->toPlainText(), QString("X:C,COLOR0000FF"));
}

void FormulaEditorsTest::functionListShowsHelpAndInserts() {
  RecordingMessages messages;
  TFedit editor(messages);
  Show(editor);
  QVERIFY(editor.lstFunctions->count() > 100);
  const QList<QListWidgetItem*> found = editor.lstFunctions->findItems("MA", Qt::MatchExactly);
  QCOMPARE(found.size(), 1);
  QListWidgetItem* ma = found.front();
  editor.lstFunctions->scrollToItem(ma);
  QTest::mouseClick(editor.lstFunctions->viewport(), Qt::LeftButton, {},
                    editor.lstFunctions->visualItemRect(ma).center());
  QVERIFY(editor.mmoMessage->toPlainText().startsWith("MA "));
  QVERIFY(editor.mmoMessage->toPlainText().count('\n') >= 1);
  QTest::mouseDClick(editor.lstFunctions->viewport(), Qt::LeftButton, {},
                     editor.lstFunctions->visualItemRect(ma).center());
  QCOMPARE(editor.mmoText->toPlainText(), QString("MA"));
  // Dragged into the text, a name travels as plain text.
  std::unique_ptr<QMimeData> dragged(
      editor.lstFunctions->model()->mimeData({editor.lstFunctions->indexFromItem(ma)}));
  QCOMPARE(dragged->text(), QString("MA"));
  // Every list name has its help.
  for (int i = 0; i < editor.lstFunctions->count(); ++i) {
    editor.lstFunctions->itemClicked(editor.lstFunctions->item(i));
    QVERIFY2(editor.mmoMessage->toPlainText().startsWith(editor.lstFunctions->item(i)->text() + ' '),
             qPrintable(editor.lstFunctions->item(i)->text()));
  }
}

void FormulaEditorsTest::tfeditTestMarksTheLineOfACompileError() {
  RecordingMessages messages;
  TFedit editor(messages);
  editor.SetText("A:=C;\r\nX:FOO(C)*2;\r\nB:=O;");
  Show(editor);
  editor.btnTest->click();
  QVERIFY(editor.mmoMessage->toPlainText().contains("FOO"));
  QCOMPARE(editor.mmoText->ErrorLine(), 2);
  // A text that compiles shows its program and clears the mark.
  editor.mmoText->setPlainText("MA5:MA(C,5);");
  editor.btnTest->click();
  QCOMPARE(editor.mmoText->ErrorLine(), 0);
  QVERIFY(editor.mmoMessage->toPlainText().contains("MA5"));
}

void FormulaEditorsTest::teditfunc1TestRunsOnTheSampleBars() {
  RecordingMessages messages;
  TEditFunc1 editor(messages);
  editor.SetText("MA5:MA(C,5);");
  Show(editor);
  editor.btnTest->click();
  QStringList shown = Lines(editor.mmoMessage);
  QCOMPARE(shown.back(), Q("测试通过"));
  QVERIFY(shown.contains("==============="));
  QCOMPARE(editor.mmoText->ErrorLine(), 0);

  editor.mmoText->setPlainText("X:FOO(C)*2;");
  editor.btnTest->click();
  shown = Lines(editor.mmoMessage);
  QCOMPARE(shown.back(), Q("测试错误"));
  QVERIFY(editor.mmoMessage->toPlainText().contains(Q("第1行 函数:FOO 尚不支持!")));
  QCOMPARE(editor.mmoText->ErrorLine(), 1);

  // The status bar follows the caret of whichever text area has it.
  QTextCursor caret = editor.mmoText->textCursor();
  caret.setPosition(3);
  editor.mmoText->setTextCursor(caret);
  QCOMPARE(editor.stat1->currentMessage(), Q("行:1  列:4"));
  editor.mmoMessage->moveCursor(QTextCursor::Start);
  QCOMPARE(editor.stat1->currentMessage(), Q("行:1  列:1"));
  editor.mmoMessage->moveCursor(QTextCursor::End);
  QCOMPARE(editor.stat1->currentMessage(), Q("行:%1  列:5").arg(shown.size()));
}

void FormulaEditorsTest::convertRewritesTheCompiledProgram() {
  RecordingMessages messages;
  TEditFunc1 editor(messages);
  Show(editor);
  editor.mmoMessage->setPlainText(Q("@L_7_6:=BIAO(C,<=,A);\n黄灯观望:BIAO(@L_7_7,&,@L_7_6),COLORYELLOW\nX:=C"));
  editor.btnConvert->click();
  QCOMPARE(Lines(editor.mmoMessage),
           QStringList({"@L_7_6:=C<=A;", Q("黄灯观望:@L_7_7 and @L_7_6,COLORYELLOW;"), "X:=C;"}));
}

void FormulaEditorsTest::okChecksAndTheQuestionBeforeSavingABrokenFormula() {
  RecordingMessages messages;
  TFedit editor(messages);
  Show(editor);
  QPushButton* ok = editor.findChild<QPushButton*>("btnOk");
  ok->click();
  QCOMPARE(Q(messages.Last()), Q("请输入公式名称!"));
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor.edtName));
  editor.SetName("X1");
  editor.mmoText->setPlainText("  \n");
  ok->click();
  QCOMPARE(Q(messages.Last()), Q("输入公式内容!"));
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor.mmoText));

  editor.mmoText->setPlainText("X:FOO(C)*2;\n\nY:C;");
  messages.answer = false;
  ok->click();
  QCOMPARE(messages.asked.size(), size_t{1});
  QVERIFY(Q(messages.asked.back()).contains("FOO"));
  QVERIFY(editor.isVisible());
  QCOMPARE(Lines(editor.mmoText), QStringList({"X:FOO(C)*2;", "Y:C;"}));
  messages.answer = true;
  ok->click();
  QCOMPARE(editor.result(), int(QDialog::Accepted));

  // A formula that works closes without a question.
  TEditFunc1 func(messages);
  func.SetText("MA5:MA(C,5);\r\n\r\n");
  Show(func);
  func.findChild<QPushButton*>("btnOk")->click();
  QCOMPARE(messages.asked.size(), size_t{2});
  QCOMPARE(func.result(), int(QDialog::Accepted));
  QCOMPARE(func.Text(), std::string("MA5:MA(C,5);"));
}

void FormulaEditorsTest::clearEmptiesEverything() {
  RecordingMessages messages;
  TEditFunc1 editor(messages);
  editor.SetText("TECHNAME:=A;\r\nDRAWK:=TRUE;\r\nX:C;");
  Show(editor);
  editor.btnClear->click();
  QVERIFY(editor.mmoText->toPlainText().isEmpty());
  QVERIFY(editor.Name().isEmpty());
  QVERIFY(editor.Description().isEmpty());
  QVERIFY(!editor.chkDrawK->isChecked());
}

void FormulaEditorsTest::importFillsFieldsAndText() {
  RecordingMessages messages;
  TFedit editor(messages);
  editor.SetText("OLD:C;");
  Show(editor);
  QVERIFY(!editor.ImportExported(""));
  QCOMPARE(Q(messages.Last()), Q("导入的文本中没有公式!"));
  QCOMPARE(editor.mmoText->toPlainText(), QString("OLD:C;"));

  QVERIFY(editor.ImportExported(Q("名称:myrsv\n描述:随机值\n参数:N,1,100,9.00\n副图\n公式:\n"
                                   "RSV:(C-LLV(L,N))/(HHV(H,N)-LLV(L,N))*100\n&&C>0;\n用法:\n超买超卖\n")
                                     .toStdString()));
  QCOMPARE(editor.Name(), QString("myrsv"));
  QCOMPARE(editor.Description(), Q("随机值"));
  const QString text = editor.mmoText->toPlainText();
  QVERIFY2(text.startsWith("TECHNAME:=myrsv;\n"), qPrintable(text));
  QVERIFY(text.contains("N:=INPUT(1,100,9,9);"));
  QVERIFY(text.contains("DRAWK:=FALSE;"));
  QVERIFY(text.contains("RSV:(C-LLV(L,N))/(HHV(H,N)-LLV(L,N))*100&C>0;"));
  QVERIFY(text.endsWith(Q("*超买超卖")));
}

}  // namespace vorelin

QTEST_MAIN(vorelin::FormulaEditorsTest)
#include "formula_editors_test.moc"
