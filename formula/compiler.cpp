// Flattening of statements into temporaries, innermost first, and the reduction of operator
// expressions by precedence into BIAO calls.
#include "formula/compiler.h"

#include <string_view>

#include "common/format.h"
#include "common/numbers.h"
#include "formula/source.h"

namespace vorelin {

namespace {

constexpr std::string_view kOperatorChars = "!&*+-/<=>^|";
constexpr const char* kPrecedence[] = {"*", "/", "+", "-", "<", ">", "<=",
                                       ">=", "=", "!=", "&", "|", "^"};

bool IsOperatorChar(char ch) { return kOperatorChars.find(ch) != std::string_view::npos; }

bool IsNameChar(char ch) {
  return (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '.' || ch == '_' ||
         ch == '"';
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  size_t at = 0;
  while ((at = text.find(from, at)) != std::string::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

// One statement's compilation state: the program it appends to and its quoted text, which
// travels through the passes as an opaque placeholder.
class StatementCompiler {
 public:
  StatementCompiler(const TFunclist& functions, std::vector<std::string>& program, int line)
      : functions_(functions), program_(program), line_(line) {}

  bool Compile(std::string statement, std::string& error);

 private:
  bool Pass3(const std::string& text, const std::string& attributes, std::string& error);
  void Append(const std::string& text) { program_.push_back(Restore(text)); }
  std::string Restore(const std::string& text) const {
    return quoted_.empty() ? text : ReplaceAll(text, placeholder_, quoted_);
  }
  // An earlier statement whose right side is exactly `rhs`, or an empty text.
  std::string ReusableName(const std::string& rhs) const;
  bool AssignedLater(size_t index, const std::string& name, const std::string& body) const;
  std::string NewName(const char* prefix, int offset) const {
    return Format("%s%d_%d", prefix, line_, static_cast<int>(program_.size()) + offset);
  }
  bool Temporary(const char* prefix, const std::string& rhs, std::string& name);
  bool IsPendingFunction(const std::string& name) const {
    const std::string lower = AsciiLower(name);
    return functions_.Contains(lower) && !IsReservedVariableName(lower);
  }

  const TFunclist& functions_;
  std::vector<std::string>& program_;
  int line_;
  std::string quoted_;
  std::string placeholder_;
};

std::string StatementCompiler::ReusableName(const std::string& rhs) const {
  const std::string restored = Restore(rhs);
  for (size_t k = 0; k < program_.size(); ++k) {
    const std::string& earlier = program_[k];
    size_t sep = earlier.find(":=");
    if (sep == std::string::npos) continue;
    std::string body, attributes;
    SplitAttributes(std::string_view(earlier).substr(sep + 2), body, attributes);
    if (body != restored) continue;
    const std::string name = earlier.substr(0, sep);
    if (!AssignedLater(k, name, body)) return name;
  }
  return {};
}

// True when a statement after `index` assigns `name` or one of the names `body` reads, so
// the value held under `name` is no longer what `body` computes now.
bool StatementCompiler::AssignedLater(size_t index, const std::string& name,
                                      const std::string& body) const {
  for (size_t j = index + 1; j < program_.size(); ++j) {
    std::string namePart, expression;
    SplitNamePart(program_[j], namePart, expression);
    while (!namePart.empty() && (namePart.back() == '=' || namePart.back() == ':')) {
      namePart.pop_back();
    }
    if (namePart.empty()) continue;
    if (namePart == name) return true;
    size_t start = 0;
    while (start <= body.size()) {
      size_t end = body.find_first_of("(),", start);
      if (end == std::string::npos) end = body.size();
      if (body.compare(start, end - start, namePart) == 0 && end - start == namePart.size()) {
        return true;
      }
      start = end + 1;
    }
  }
  return false;
}

// Finds or makes the temporary holding `rhs`; false when pass 3 cannot compile it.
bool StatementCompiler::Temporary(const char* prefix, const std::string& rhs, std::string& name) {
  name = ReusableName(rhs);
  if (!name.empty()) return true;
  name = NewName(prefix, 0);
  std::string ignored;
  return Pass3(name + ":=" + rhs, "", ignored);
}

bool StatementCompiler::Compile(std::string statement, std::string& error) {
  quoted_ = FirstQuotedText(statement);
  if (!quoted_.empty()) {
    placeholder_ = "\x01\x02";
    while (statement.find(placeholder_) != std::string::npos) placeholder_.insert(1, "\x02");
    statement = ReplaceAll(std::move(statement), quoted_, placeholder_);
  }
  std::string namePart, expression;
  SplitNamePart(statement, namePart, expression);
  const bool unnamed = namePart.empty();

  int depth = 0;
  bool inQuote = false;
  for (char ch : expression) {
    if (ch == '\'') inQuote = !inQuote;
    if (inQuote) continue;
    if (ch == '(') ++depth;
    if (ch == ')') --depth;
  }
  const std::string parenthesisError = Format("第 %d 行:括号不配匹", line_);
  if (depth != 0) {
    error = parenthesisError;
    return false;
  }
  std::string attributes;
  {
    std::string body;
    SplitAttributes(expression, body, attributes);
    expression = std::move(body);
  }
  const std::string temporaryError = Format("第%d行错误!", line_);

  size_t close;
  while ((close = expression.find(')')) != std::string::npos) {
    const size_t open = expression.rfind('(', close);
    if (open == std::string::npos) {  // ")(": balanced in count only
      error = parenthesisError;
      return false;
    }
    size_t nameStart = open;
    while (nameStart > 0 && IsNameChar(expression[nameStart - 1])) --nameStart;
    const std::string name = expression.substr(nameStart, open - nameStart);
    const std::string prefix = expression.substr(0, nameStart);
    const std::string inner = expression.substr(open + 1, close - open - 1);
    const std::string suffix = expression.substr(close + 1);
    const bool innerHasOperators = CountOperators(inner) > 0;
    const bool startsExpression = prefix.empty();
    const bool unsupported = !name.empty() && name.find('"') == std::string::npos &&
                             functions_.Lookup(name) == nullptr;
    if (!innerHasOperators && startsExpression && suffix.empty()) {
      // Unknown names here are left to the run, but a library name whose function is not
      // built yet is reported now rather than run as a call of another formula.
      if (unsupported && IsPendingFunction(name)) {
        error = Format("第%d行 函数:%s 尚不支持!", line_, name.c_str());
        return false;
      }
      break;
    }
    if (unsupported) {
      error = Format("第%d行 函数:%s 尚不支持!", line_, Restore(name).c_str());
      return false;
    }
    std::string call = name.empty() ? inner : name + "(" + inner + ")";
    if (!name.empty() && innerHasOperators) {
      std::vector<std::string> args;
      size_t start = 0;
      while (args.size() < 101) {
        size_t comma = inner.find(',', start);
        std::string arg = inner.substr(start, comma == std::string::npos ? std::string::npos
                                                                          : comma - start);
        if (arg.empty()) break;
        args.push_back(std::move(arg));
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
      std::string rebuilt;
      for (size_t k = 0; k < args.size(); ++k) {
        std::string arg = args[k];
        if (CountOperators(arg) > 0) {
          std::string temporary;
          if (!Temporary(unnamed && startsExpression ? "@T_" : "@M_", arg, temporary)) {
            error = temporaryError;
            return false;
          }
          arg = temporary;
        }
        if (k > 0) rebuilt += ",";
        rebuilt += arg;
      }
      call = name + "(" + rebuilt + ")";
    }
    if (startsExpression && suffix.empty()) {
      expression = call;
      break;
    }
    const bool followedByComma = !suffix.empty() && suffix.front() == ',';
    std::string temporary;
    if (!Temporary(unnamed && (startsExpression || followedByComma) ? "@K_" : "@P_", call,
                   temporary)) {
      error = temporaryError;
      return false;
    }
    expression = prefix + temporary + suffix;
  }
  return Pass3(namePart + expression, attributes, error);
}

bool StatementCompiler::Pass3(const std::string& text, const std::string& attributes,
                              std::string& error) {
  std::string namePart, x;
  SplitNamePart(text, namePart, x);
  if (CountOperators(x) == 0) {
    Append(text + attributes);
    return true;
  }
  if (x.front() == '-') {
    const bool number = x.size() > 1 && ((x[1] >= '0' && x[1] <= '9') || x[1] == '.');
    if (!number) x.insert(0, "0");
  }
  std::vector<std::string> tokens;
  std::string operand;
  bool afterOperator = true;  // a leading "-" starts an operand, as after an operator
  for (size_t i = 0; i < x.size(); ++i) {
    const char ch = x[i];
    if (ch == '-' && afterOperator && operand.empty()) {
      operand += ch;
      afterOperator = false;
      continue;
    }
    if (IsOperatorChar(ch)) {
      std::string op(1, ch);
      if ((ch == '<' || ch == '>' || ch == '!') && i + 1 < x.size() && x[i + 1] == '=') {
        op += '=';
        ++i;
      }
      tokens.push_back(std::move(operand));
      operand.clear();
      tokens.push_back(std::move(op));
      afterOperator = true;
      continue;
    }
    operand += ch;
    afterOperator = false;
  }
  if (!operand.empty()) tokens.push_back(std::move(operand));

  auto reduce = [&](size_t at) {
    const std::string op =
        "BIAO(" + tokens[at - 1] + "," + tokens[at] + "," + tokens[at + 1] + ");";
    std::string name = ReusableName(op);
    if (name.empty()) {
      name = NewName("@L_", 1);
      Append(name + ":=" + op);
    }
    tokens[at - 1] = name;
    tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(at),
                 tokens.begin() + static_cast<std::ptrdiff_t>(at) + 2);
  };
  auto levelPass = [&](const char* a, const char* b) {
    size_t at = 1;
    while (tokens.size() > 3 && at + 1 < tokens.size()) {
      if (tokens[at] == a || tokens[at] == b) {
        reduce(at);
      } else {
        at += 2;
      }
    }
  };
  levelPass("*", "/");
  levelPass("-", "+");
  for (const char* op : kPrecedence) {
    while (tokens.size() > 3) {
      size_t at = 1;
      while (at + 1 < tokens.size() && tokens[at] != op) at += 2;
      if (at + 1 >= tokens.size()) break;
      reduce(at);
    }
  }
  if (tokens.size() % 2 == 0) {
    error = Format("第 %d 行:运算符不配匹!", line_);
    return false;
  }
  std::string joined;
  for (size_t k = 0; k < tokens.size(); ++k) {
    if (k > 0) joined += ",";
    joined += tokens[k];
  }
  Append(namePart + "BIAO(" + joined + ")" + attributes);
  return true;
}

}  // namespace

int CountOperators(std::string_view text) {
  if (text.empty() || ParseDecimal(text).has_value()) return 0;
  int count = 0;
  bool inQuote = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch == '\'') inQuote = !inQuote;
    if (inQuote || !IsOperatorChar(ch)) continue;
    if (ch == '-' && i > 0 && (text[i - 1] == '(' || text[i - 1] == ',')) continue;
    if ((ch == '<' || ch == '>' || ch == '!') && i + 1 < text.size() && text[i + 1] == '=') ++i;
    ++count;
  }
  return count;
}

void SplitNamePart(std::string_view statement, std::string& namePart, std::string& expression) {
  size_t end = std::string_view::npos;
  if (size_t at = statement.find(":="); at != std::string_view::npos) {
    end = at + 2;
  } else if (size_t colon = statement.find(':'); colon != std::string_view::npos) {
    end = colon + 1;
  } else if (size_t equals = statement.find('='); equals != std::string_view::npos) {
    const char before = equals > 0 ? statement[equals - 1] : '\0';
    const size_t paren = statement.find('(');
    const bool separator = before != '<' && before != '>' && before != '!' &&
                           paren != std::string_view::npos && paren > equals;
    if (separator) end = equals + 1;
  }
  if (end == std::string_view::npos) {
    namePart.clear();
    expression = std::string(statement);
  } else {
    namePart = std::string(statement.substr(0, end));
    expression = std::string(statement.substr(end));
  }
}

void SplitAttributes(std::string_view expression, std::string& body, std::string& attributes) {
  size_t comma = std::string_view::npos;
  for (size_t i = expression.size(); i-- > 0;) {
    if (expression[i] == ')') break;
    if (expression[i] == ',') comma = i;
  }
  if (comma == std::string_view::npos) {
    body = std::string(expression);
    attributes.clear();
    return;
  }
  body = std::string(expression.substr(0, comma));
  attributes = std::string(TrimControl(expression.substr(comma)));
}

bool CompileProgram(const std::vector<std::string>& lines, const TFunclist& functions,
                    std::vector<std::string>& program, std::string& error) {
  for (size_t index = 0; index < lines.size(); ++index) {
    const std::string line = NormaliseLine(lines[index]);
    if (line.empty()) continue;
    for (std::string& statement : SplitStatements(line)) {
      StatementCompiler compiler(functions, program, static_cast<int>(index) + 1);
      if (!compiler.Compile(std::move(statement), error)) return false;
    }
  }
  return true;
}

}  // namespace vorelin
