// Message texts of the compiler and the interpreter, in the system's own wording.
#include "formula/messages.h"

#include <charconv>
#include <system_error>

#include "common/format.h"

namespace vorelin {

namespace {

// A decimal literal that only fails because its value does not fit a double (1e309).
bool IsOutOfRangeNumber(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.')) {
    return false;
  }
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value,
                                         std::chars_format::general);
  return ec == std::errc::result_out_of_range && end == text.data() + text.size();
}

}  // namespace

std::string ParenthesisMessage(int line) { return Format("第 %d 行:括号不配匹", line); }

std::string UnsupportedFunctionMessage(int line, std::string_view name) {
  return Format("第%d行 函数:", line) + std::string(name) + " 尚不支持!";
}

std::string TemporaryMessage(int line) { return Format("第%d行错误!", line); }

std::string OperatorMessage(int line) { return Format("第 %d 行:运算符不配匹!", line); }

std::string MissingFormulaFileMessage(std::string_view path) {
  return "公式文件: " + std::string(path) + " 不存在!";
}

std::string FormulaArgumentsMessage(std::string_view formula, std::string_view args) {
  return std::string(formula) + "(" + std::string(args) + ")中的变量未定义!";
}

std::string UnknownFormulaMessage(std::string_view formula) {
  return "不存在函数:" + std::string(formula) + " !";
}

std::string UnresolvedOperandMessage(std::string_view operand) {
  return "赋值参数:" + std::string(operand) +
         (IsOutOfRangeNumber(operand) ? "超出数值范围!" : "未定义!");
}

std::string LineReport(std::string_view stockName, std::string_view fileName, int index,
                       std::string_view statement) {
  return "\r\n" + std::string(stockName) + ":" + std::string(fileName) + "\r\n" +
         Format("第%d行发现错误:", index + 1) + std::string(statement);
}

}  // namespace vorelin
