#include "formula_library/editor_logic.h"

#include <gtest/gtest.h>

#include "support/recording_messages.h"

namespace vorelin {
namespace {

// Typing a name one character at a time, as the field's change signal delivers it.
std::string Type(std::string text, const std::string& name, EditorVariant variant) {
  for (size_t n = 1; n <= name.size(); ++n) text = SyncNameLine(text, name.substr(0, n), variant);
  return text;
}

TEST(EditorHeaderLines, TypedNameGoesFirstInTFeditAndLastInTEditFunc1) {
  EXPECT_EQ(Type("", "MYIND", EditorVariant::kTFedit), "TECHNAME:=MYIND;");
  EXPECT_EQ(Type("A:C;\r\nB:O;", "MYIND", EditorVariant::kTFedit),
            "TECHNAME:=MYIND;\r\nA:C;\r\nB:O;");
  EXPECT_EQ(Type("A:C;\r\nB:O;", "MYIND", EditorVariant::kTEditFunc1),
            "A:C;\r\nB:O;\r\nTECHNAME:=MYIND;");
}

TEST(EditorHeaderLines, ExistingLinesAreRewrittenUpperCasedWhateverTheirKeyCase) {
  struct Case {
    const char* name;
    std::string text, field, want;
  };
  const Case kCases[] = {
      {"lower-case key", "techname:=old;\r\nA:C;", "myind", "TECHNAME:=MYIND;\r\nA:C;"},
      {"same name in other case stays", "TECHNAME:=myind;", "MYIND", "TECHNAME:=myind;"},
      {"empty name adds no line", "A:C;", "", "A:C;"},
      {"a blank before = is another key", "TECHNAME: =X;", "Y", "TECHNAME:=Y;\r\nTECHNAME: =X;"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SyncNameLine(c.text, c.field, EditorVariant::kTFedit), c.want);
  }
  EXPECT_EQ(SyncTitleLine("TECHNAME:=A;\r\nTECHTITLE:=旧;", "新的", EditorVariant::kTEditFunc1),
            "TECHNAME:=A;\r\nTECHTITLE:=新的;");
  EXPECT_EQ(SyncTitleLine("A:C;", "均线", EditorVariant::kTFedit), "TECHTITLE:=均线;\r\nA:C;");
}

TEST(EditorHeaderLines, DrawKLineFollowsTheBox) {
  EXPECT_EQ(SyncDrawKLine("A:C;", true), "A:C;\r\nDRAWK:=TRUE;");
  EXPECT_EQ(SyncDrawKLine("A:C;", false), "A:C;");
  EXPECT_EQ(SyncDrawKLine("DRAWK:=TRUE;\r\nA:C;", false), "DRAWK:=FALSE;\r\nA:C;");
  EXPECT_EQ(SyncDrawKLine("drawk:=true;", true), "drawk:=true;");
}

TEST(EditorHeaderLines, FieldsFollowTheTextWhenShownAndAfterKeys) {
  const EditorFields before{"keep", "keep too", false};
  EditorFields f = FieldsFromText("TECHNAME:=myind;\r\nTECHTITLE:=my title;\r\nDRAWK:=TRUE;", before);
  EXPECT_EQ(f.name, "MYIND");
  EXPECT_EQ(f.description, "MY TITLE");
  EXPECT_TRUE(f.drawK);
  f = FieldsFromText("DRAWK:=FALSE;", before);
  EXPECT_EQ(f.name, "keep");
  EXPECT_EQ(f.description, "keep too");
  EXPECT_FALSE(f.drawK);
  EXPECT_FALSE(FieldsFromText("A:C;", {"", "", true}).drawK);
  EXPECT_EQ(FieldsFromText("TECHNAME:=A;;", before).name, "A;") << "only one ';' goes";
}

TEST(InputDialog, RulesChecksAndTheInsertedLine) {
  InputDialogModel input;
  EXPECT_EQ(input.minimum, 1);
  EXPECT_EQ(input.maximum, 100);
  EXPECT_EQ(input.defaultValue, 1);
  EXPECT_EQ(input.current, 1);
  std::string message;
  InputDialogModel::Field focus;
  EXPECT_FALSE(input.CheckOk(message, focus));
  EXPECT_EQ(message, "请输入参数名！");
  EXPECT_EQ(focus, InputDialogModel::Field::kName);

  input.name = "n";
  input.minimum = 2;
  input.SetMaximum(50);
  input.SetDefault(10);
  EXPECT_EQ(input.current, 10) << "the default is copied into the current value";
  input.current = 12;
  ASSERT_TRUE(input.CheckOk(message, focus));
  EXPECT_EQ(input.InputLine(), "N:=INPUT(2,50,12,12);");
  EXPECT_EQ(InsertFirstLine("A:C;", input.InputLine()), "N:=INPUT(2,50,12,12);\r\nA:C;");

  input.SetDefault(80);
  EXPECT_EQ(input.defaultValue, 50) << "the maximum bounds the default";
  input.SetMaximum(1);
  EXPECT_EQ(input.defaultValue, 1);
  EXPECT_FALSE(input.CheckOk(message, focus));
  EXPECT_EQ(message, "最大值不能大于最小值!");
  EXPECT_EQ(focus, InputDialogModel::Field::kMaximum);
}

TEST(EditorInsertions, ColourTextIsBlueGreenRed) {
  EXPECT_EQ(ColourInsertText(0x0000FF), ",COLOR0000FF");  // pure red
  EXPECT_EQ(ColourInsertText(0xFF0000), ",COLORFF0000");  // pure blue
  EXPECT_EQ(ColourInsertText(0x12AB3C), ",COLOR12AB3C");
}

TEST(EditorInsertions, UpperCaseIncludesQuotedText) {
  EXPECT_EQ(UpperCaseText("a:ma(c,5);\r\ndrawtext(c>o,l,'buy 买');"),
            "A:MA(C,5);\r\nDRAWTEXT(C>O,L,'BUY 买');");
}

TEST(EditorOk, TFeditChecksNameThenText) {
  std::string message;
  EditorFocus focus;
  EXPECT_FALSE(CheckTFeditOk("  ", "A:C;", message, focus));
  EXPECT_EQ(message, "请输入公式名称!");
  EXPECT_EQ(focus, EditorFocus::kName);
  EXPECT_FALSE(CheckTFeditOk("A", " \r\n ", message, focus));
  EXPECT_EQ(message, "输入公式内容!");
  EXPECT_EQ(focus, EditorFocus::kText);
  EXPECT_FALSE(CheckTFeditOk(" MY MA ", "A:C;", message, focus));
  EXPECT_EQ(message, "公式名称不能包含空格!");
  EXPECT_EQ(focus, EditorFocus::kName);
  EXPECT_TRUE(CheckTFeditOk(" A ", "A:C;", message, focus));
}

TEST(EditorOk, EmptyLinesGoExceptTheLast) {
  EXPECT_EQ(RemoveEmptyLines("A:C;\r\n\r\n  \r\nB:O;"), "A:C;\r\nB:O;");
  EXPECT_EQ(RemoveEmptyLines("A:C;\r\n\r\n\r\n"), "A:C;\r\n");
  EXPECT_EQ(RemoveEmptyLines(""), "");
}

TEST(EditorOk, ABrokenFormulaIsSavedOnlyWhenConfirmed) {
  testing::RecordingMessages messages;
  EXPECT_TRUE(ConfirmSaveOfBrokenFormula("MA5:MA(C,5);", messages));
  EXPECT_TRUE(messages.asked.empty());
  messages.answer = false;
  EXPECT_FALSE(ConfirmSaveOfBrokenFormula("X:FOO(C)*2;", messages));
  ASSERT_EQ(messages.asked.size(), 1u);
  EXPECT_EQ(messages.asked[0], SaveBrokenFormulaQuestion("第1行 函数:FOO 尚不支持!"));
  messages.answer = true;
  EXPECT_TRUE(ConfirmSaveOfBrokenFormula("X:(C+O;", messages));
  EXPECT_EQ(messages.asked.back(), SaveBrokenFormulaQuestion("第 1 行:括号不配匹"));
  // A formula that compiles is saved as it is; what the bars make of it shows in the chart.
  EXPECT_TRUE(ConfirmSaveOfBrokenFormula("X:FOO(1);", messages));
  EXPECT_EQ(messages.asked.size(), 2u);
}

TEST(EditorCompile, TFeditShowsTheProgramAndWhereItStopped) {
  CompiledView view = CompileForDisplay("A:=C+O;{note}\r\nB:MA(A,5);");
  ASSERT_TRUE(view.ok) << view.error;
  EXPECT_EQ(CompiledViewText(view), JoinEditorLines(view.program));
  EXPECT_FALSE(view.program.empty());

  view = CompileForDisplay("A:C;\r\nB:O;\r\nX:FOO(C)*2;");
  EXPECT_FALSE(view.ok);
  EXPECT_EQ(view.error, "第3行 函数:FOO 尚不支持!");
  EXPECT_EQ(view.errorLine, 3);
  EXPECT_EQ(CompiledViewText(view), "A:C\r\nB:O\r\n===============\r\n第3行 函数:FOO 尚不支持!");
}

TEST(EditorCompile, ErrorLineIsReadFromTheCompileMessages) {
  EXPECT_EQ(ErrorLineOf("第 4 行:括号不配匹"), 4);
  EXPECT_EQ(ErrorLineOf("第12行错误!"), 12);
  EXPECT_EQ(ErrorLineOf("不存在函数:foo !"), 0);
  EXPECT_EQ(ErrorLineOf("第x行"), 0);
}

TEST(EditorConvert, BiaoStatementsReadAsExpressions) {
  struct Case {
    const char* name;
    const char* line;
    const char* want;
  };
  const Case kCases[] = {
      {"comparison", "@L_7_6:=BIAO(C,<=,A);", "@L_7_6:=C<=A;"},
      {"and with attributes", "黄灯观望:BIAO(@L_7_7,&,@L_7_6),COLORYELLOW",
       "黄灯观望:@L_7_7 and @L_7_6,COLORYELLOW;"},
      {"or", "X:=BIAO(A,|,B)", "X:=A or B;"},
      {"no BIAO only gains the ;", "MA5:MA(C,5)", "MA5:MA(C,5);"},
      {"already ended", "A:C;", "A:C;"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ConvertProgramLine(c.line), c.want);
  }
  EXPECT_EQ(ConvertProgramText("@A:=BIAO(C,>,O)\r\nB:@A"), "@A:=C>O;\r\nB:@A;");
}

}  // namespace
}  // namespace vorelin
