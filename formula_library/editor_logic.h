// The decisions of the two formula editors (`TFedit` from the library tree, `TEditFunc1`
// from the chart) and of `TFInput`: header lines kept in step with the fields, inserted
// parameter and colour texts, the OK checks, the compiled-program display and 转换.
// Texts are lines joined with CR LF; the window layer only shows what comes back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/message_sink.h"

namespace vorelin {

enum class EditorVariant {
  kTFedit,      // a missing TECHNAME/TECHTITLE line goes first
  kTEditFunc1,  // ... goes last
};

inline constexpr const char* kEditorCaption = "公式编辑器";
inline constexpr const char* kEnterNameMessage = "请输入公式名称!";
inline constexpr const char* kEnterTextMessage = "输入公式内容!";
inline constexpr const char* kEnterParameterNameMessage = "请输入参数名！";
inline constexpr const char* kMaximumBelowMinimumMessage = "最大值不能大于最小值!";
inline constexpr const char* kTestSeparator = "===============";
inline constexpr const char* kTestPassed = "测试通过";
inline constexpr const char* kTestFailed = "测试错误";

// Lines as a memo holds them: split at CR LF, LF or CR; a final line break starts no line;
// an empty text has no lines. JoinEditorLines puts CR LF between lines.
std::vector<std::string> SplitEditorLines(std::string_view text);
std::string JoinEditorLines(const std::vector<std::string>& lines);

// --- header lines ----------------------------------------------------------------------
// The fields the header lines stand for.
struct EditorFields {
  std::string name;         // 公式名称
  std::string description;  // 公式描述
  bool drawK = false;       // 显示K线
};

// The value of the line whose part before the first "=" is `key` ("TECHNAME:",
// "TECHTITLE:", "DRAWK:", ASCII case ignored): the rest of the line. False when no line has
// that key.
bool HeaderValue(std::string_view text, std::string_view key, std::string& value);

// The text after the name field changed: the TECHNAME line rewritten to
// "TECHNAME:=" + upper-cased name + ";" when its value differs, or a missing line added
// (first in TFedit, last in TEditFunc1). An empty name adds no line.
std::string SyncNameLine(std::string_view text, std::string_view name, EditorVariant variant);
// The same for the description and "TECHTITLE:".
std::string SyncTitleLine(std::string_view text, std::string_view description,
                          EditorVariant variant);
// The text after the box was clicked: the DRAWK line becomes "DRAWK:=TRUE;" or
// "DRAWK:=FALSE;" (appended when missing) unless its value already agrees with the box.
std::string SyncDrawKLine(std::string_view text, bool checked);
// The fields when the dialog is shown and after each key release in the text: the box is
// checked exactly when the DRAWK value contains TRUE; name and description take the
// TECHNAME and TECHTITLE values, upper-cased and without one trailing ";". A field whose
// line is missing keeps its value.
EditorFields FieldsFromText(std::string_view text, const EditorFields& current);

// --- inserted texts --------------------------------------------------------------------
// `TFInput` ("可调变量辅助输入"): the five fields and their rules.
class InputDialogModel {
 public:
  std::string name;  // 参数名
  int minimum = 1;
  int maximum = 100;
  int defaultValue = 1;
  int current = 1;

  // 最大值 bounds 缺省值 from above; a larger default is lowered to it (and copied).
  void SetMaximum(int value);
  // 缺省值 is copied into 当前值.
  void SetDefault(int value);
  // Which field the OK check focuses.
  enum class Field { kNone, kName, kMaximum };
  // True when OK may close the dialog; otherwise `message` and `focus` say why and where.
  bool CheckOk(std::string& message, Field& focus) const;
  // The line the editor inserts first: NAME:=INPUT(min,max,current,current); upper-cased.
  std::string InputLine() const;
};

// `line` inserted as the first line of `text`.
std::string InsertFirstLine(std::string_view text, std::string_view line);
// ",COLOR" + BBGGRR for a 0x00BBGGRR colour: pure red gives ",COLOR0000FF".
std::string ColourInsertText(uint32_t bbggrr);
// Every line upper-cased (ASCII letters), quoted text included.
std::string UpperCaseText(std::string_view text);

// --- OK --------------------------------------------------------------------------------
enum class EditorFocus { kNone, kName, kText };
// TFedit's OK checks: a blank name, a name with a blank inside, then a blank text. True
// when the dialog may close.
bool CheckTFeditOk(std::string_view name, std::string_view text, std::string& message,
                   EditorFocus& focus);
// Lines that are blank after trimming removed, except the last line.
std::string RemoveEmptyLines(std::string_view text);
// A formula that does not compile is saved only when the user says so: true when `text`
// compiles, or when `messages` confirms the question that shows the compile message.
bool ConfirmSaveOfBrokenFormula(std::string_view text, MessageSink& messages);
// The question asked for a formula that fails with `error`.
std::string SaveBrokenFormulaQuestion(std::string_view error);

// --- compiled program ------------------------------------------------------------------
struct CompiledView {
  bool ok = false;
  std::vector<std::string> program;  // one statement per line, up to where compiling stopped
  std::string error;                 // the compile message when !ok
  int errorLine = 0;                 // 1-based source line of the error, 0 when unknown
};
// Compiles (comments removed, nothing run) with the standard function table.
CompiledView CompileForDisplay(std::string_view text);
// TFedit's 测试 message area: the program; after a failure "===============" and the error.
std::string CompiledViewText(const CompiledView& view);

// The source line a compile or run error text names ("第N行..."), 0 when none.
int ErrorLineOf(std::string_view error);

// 转换: one compiled line as a readable statement (BIAO(...) unfolded, a missing ";" added)
// and every line of a message area so converted.
std::string ConvertProgramLine(std::string_view line);
std::string ConvertProgramText(std::string_view text);

}  // namespace vorelin
