// Flattening of statements into temporaries, innermost first, and the reduction of operator
// expressions by precedence into BIAO calls.
#include "formula/compiler.h"

#include <algorithm>
#include <string_view>

#include "common/format.h"
#include "common/numbers.h"
#include "formula/messages.h"
#include "formula/reuse_index.h"
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

// Built into a new text, so many occurrences cost no more than one pass.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  std::string out;
  out.reserve(text.size());
  size_t done = 0;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, done)) {
    out.append(text, done, at - done);
    out += to;
    done = at + from.size();
  }
  out.append(text, done, std::string::npos);
  return out;
}

// "\x01" followed by one "\x02" more than any run of them after a "\x01" in `text`: the
// shortest such mark that occurs nowhere in it.
std::string Placeholder(const std::string& text) {
  size_t longest = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\x01') continue;
    size_t run = 0;
    while (i + 1 + run < text.size() && text[i + 1 + run] == '\x02') ++run;
    longest = std::max(longest, run);
    i += run;
  }
  return "\x01" + std::string(longest + 1, '\x02');
}

// The number of parenthesis pairs that enclose the whole of `e` as plain groups: "((C))"
// has two. A pair with nothing or a "," directly inside is an argument list, not a group.
size_t WrappingGroups(std::string_view e) {
  size_t leading = 0;
  while (leading < e.size() && e[leading] == '(') ++leading;
  if (leading == 0) return 0;
  std::vector<size_t> closeOf(leading, std::string_view::npos);
  std::vector<bool> hasComma(leading, false);
  std::vector<size_t> opens;
  for (size_t i = 0; i < e.size(); ++i) {
    if (e[i] == '(') {
      opens.push_back(i);
    } else if (e[i] == ')') {
      if (opens.empty()) return 0;
      if (opens.back() < leading) closeOf[opens.back()] = i;
      opens.pop_back();
    } else if (e[i] == ',' && !opens.empty() && opens.back() < leading) {
      hasComma[opens.back()] = true;
    }
  }
  size_t groups = 0;
  while (groups < leading && closeOf[groups] == e.size() - 1 - groups &&
         closeOf[groups] > groups + 1 && !hasComma[groups]) {
    ++groups;
  }
  return groups;
}

// One statement's compilation state: the program it appends to and its quoted text, which
// travels through the passes as an opaque placeholder.
class StatementCompiler {
 public:
  StatementCompiler(const TFunclist& functions, std::vector<std::string>& program,
                    ReuseIndex& reuse, int line)
      : functions_(functions), program_(program), reuse_(reuse), line_(line) {}

  bool Compile(std::string statement, std::string& error);

 private:
  bool Flatten(std::string& expression, bool unnamed, std::string& error);
  bool Pass3(const std::string& text, const std::string& attributes, std::string& error);
  void Append(const std::string& text) {
    std::string restored = Restore(text);
    reuse_.Add(restored);
    program_.push_back(std::move(restored));
  }
  std::string Restore(const std::string& text) const {
    return quoted_.empty() ? text : ReplaceAll(text, placeholder_, quoted_);
  }
  // An earlier statement whose right side is exactly `rhs`, or an empty text.
  std::string ReusableName(const std::string& rhs) const { return reuse_.Find(Restore(rhs)); }
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
  ReuseIndex& reuse_;
  int line_;
  std::string quoted_;
  std::string placeholder_;
};

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
    placeholder_ = Placeholder(statement);
    statement = ReplaceAll(statement, quoted_, placeholder_);
  }
  std::string namePart, expression;
  SplitNamePart(statement, namePart, expression);

  int depth = 0;
  bool inQuote = false;
  for (char ch : expression) {
    if (ch == '\'') inQuote = !inQuote;
    if (inQuote) continue;
    if (ch == '(') ++depth;
    if (ch == ')') --depth;
  }
  if (depth != 0) {
    error = ParenthesisMessage(line_);
    return false;
  }
  std::string attributes;
  {
    std::string body;
    SplitAttributes(expression, body, attributes);
    expression = std::move(body);
  }
  // A right side wrapped whole in parentheses means the same as without them.
  if (const size_t groups = WrappingGroups(expression); groups > 0) {
    expression = expression.substr(groups, expression.size() - 2 * groups);
  }
  if (!Flatten(expression, namePart.empty(), error)) return false;
  return Pass3(namePart + expression, attributes, error);
}

// Replaces calls and groups by temporaries, innermost first. Each ")" closes the group that
// the latest open "(" began, so one scan from the left meets them in order and only the
// scanned part is rewritten. A temporary's name is an operand and is never scanned again,
// even a reused name holding parentheses.
bool StatementCompiler::Flatten(std::string& expression, bool unnamed, std::string& error) {
  std::string done;            // the expression up to the scan, groups already replaced
  std::vector<size_t> opens;   // positions in `done` of the "(" still open
  done.reserve(expression.size());
  for (size_t at = 0; at < expression.size(); ++at) {
    if (expression[at] != ')') {
      if (expression[at] == '(') opens.push_back(done.size());
      done += expression[at];
      continue;
    }
    if (opens.empty()) {  // ")(": balanced in count only
      error = ParenthesisMessage(line_);
      return false;
    }
    const size_t open = opens.back();
    opens.pop_back();
    size_t nameStart = open;
    while (nameStart > 0 && IsNameChar(done[nameStart - 1])) --nameStart;
    const std::string name = done.substr(nameStart, open - nameStart);
    const std::string inner = done.substr(open + 1);
    const bool last = at + 1 == expression.size();
    const bool innerHasOperators = CountOperators(inner) > 0;
    const bool startsExpression = nameStart == 0;
    const bool unsupported = !name.empty() && name.find('"') == std::string::npos &&
                             functions_.Lookup(name) == nullptr;
    if (!innerHasOperators && startsExpression && last) {
      // Unknown names here are left to the run, but a library name whose function is not
      // built yet is reported now rather than run as a call of another formula.
      if (unsupported && IsPendingFunction(name)) {
        error = UnsupportedFunctionMessage(line_, name);
        return false;
      }
      expression = done + ')';
      return true;
    }
    if (unsupported) {
      error = UnsupportedFunctionMessage(line_, Restore(name));
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
            error = TemporaryMessage(line_);
            return false;
          }
          arg = temporary;
        }
        if (k > 0) rebuilt += ",";
        rebuilt += arg;
      }
      call = name + "(" + rebuilt + ")";
    }
    if (startsExpression && last) {
      expression = std::move(call);
      return true;
    }
    const bool followedByComma = !last && expression[at + 1] == ',';
    std::string temporary;
    if (!Temporary(unnamed && (startsExpression || followedByComma) ? "@K_" : "@P_", call,
                   temporary)) {
      error = TemporaryMessage(line_);
      return false;
    }
    done.resize(nameStart);
    done += temporary;
  }
  expression = std::move(done);
  return true;
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

  auto reduce = [&](const std::string& left, const std::string& op, const std::string& right) {
    const std::string operation = "BIAO(" + left + "," + op + "," + right + ");";
    std::string name = ReusableName(operation);
    if (name.empty()) {
      name = NewName("@L_", 1);
      Append(name + ":=" + operation);
    }
    return name;
  };
  // One pass from the left reducing every operator `matches` accepts, as long as more than
  // three tokens remain; operators sit at the odd positions.
  auto reduceLevel = [&](auto matches) {
    std::vector<std::string> kept;
    kept.reserve(tokens.size());
    kept.push_back(std::move(tokens[0]));
    size_t at = 1;
    for (; at + 1 < tokens.size() && kept.size() + (tokens.size() - at) > 3; at += 2) {
      if (matches(tokens[at])) {
        kept.back() = reduce(kept.back(), tokens[at], tokens[at + 1]);
      } else {
        kept.push_back(std::move(tokens[at]));
        kept.push_back(std::move(tokens[at + 1]));
      }
    }
    for (; at < tokens.size(); ++at) kept.push_back(std::move(tokens[at]));
    tokens = std::move(kept);
  };
  reduceLevel([](const std::string& op) { return op == "*" || op == "/"; });
  reduceLevel([](const std::string& op) { return op == "-" || op == "+"; });
  for (const char* level : kPrecedence) {
    reduceLevel([level](const std::string& op) { return op == level; });
  }
  if (tokens.size() % 2 == 0) {
    error = OperatorMessage(line_);
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
  ReuseIndex reuse;
  for (const std::string& statement : program) reuse.Add(statement);
  for (size_t index = 0; index < lines.size(); ++index) {
    const std::string line = NormaliseLine(lines[index]);
    if (line.empty()) continue;
    for (std::string& statement : SplitStatements(line)) {
      StatementCompiler compiler(functions, program, reuse, static_cast<int>(index) + 1);
      if (!compiler.Compile(std::move(statement), error)) return false;
    }
  }
  return true;
}

}  // namespace vorelin
