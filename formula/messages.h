// The texts the compiler and the interpreter's entry points and run put into the error text,
// each built in one place so that tests compare whole messages.
#pragma once

#include <string>
#include <string_view>

namespace vorelin {

// Formula text beyond this many bytes is refused before any compiling: every entry point
// (text, file, raw-data file, the library and its editors) stops here.
inline constexpr size_t kFormulaTextLimit = 256 * 1024;
inline constexpr const char* kTextTooLongMessage = "公式文本超过256KB,无法编译!";
inline constexpr const char* kEmptyTextMessage = "程序长度不能为空!";
inline constexpr const char* kNothingToRunMessage = "公式长度为零或原始数据为零!";

// Compile messages; `line` is the 1-based source line.
std::string ParenthesisMessage(int line);
std::string UnsupportedFunctionMessage(int line, std::string_view name);
std::string TemporaryMessage(int line);
std::string OperatorMessage(int line);

std::string MissingFormulaFileMessage(std::string_view path);
// A formula call whose arguments are not all constants: FORMULA(ARGS)中的变量未定义!
std::string FormulaArgumentsMessage(std::string_view formula, std::string_view args);
std::string UnknownFormulaMessage(std::string_view formula);
// A named statement whose right side is one operand that is neither a series nor a
// constant: a number out of the double range says so, anything else is undefined.
std::string UnresolvedOperandMessage(std::string_view operand);
// Appended to the error text of a failed statement; `index` counts from 0.
std::string LineReport(std::string_view stockName, std::string_view fileName, int index,
                       std::string_view statement);

}  // namespace vorelin
