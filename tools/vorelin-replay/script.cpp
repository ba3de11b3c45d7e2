#include "script.h"

#include <sstream>

#include "common/numbers.h"
#include "practice/account.h"

namespace vorelin {
namespace {

struct PeriodWord {
  const char* word;
  const char* caption;
};
const PeriodWord kPeriodWords[] = {
    {"day", "日线"},      {"week", "周线"},     {"month", "月线"},     {"quarter", "季度线"},
    {"year", "年线"},     {"1min", "1分钟"},    {"5min", "5分钟"},     {"15min", "15分钟"},
    {"30min", "30分钟"},  {"60min", "60分钟"}};

const char* PeriodCaption(std::string_view word) {
  for (const PeriodWord& p : kPeriodWords)
    if (word == p.word || word == p.caption) return p.caption;
  return nullptr;
}

bool IsChoice(std::string_view text) {
  for (const char* choice : kQuantityChoices)
    if (text == choice) return true;
  return false;
}

std::string Trimmed(std::string_view text) {
  size_t a = text.find_first_not_of(" \t\r\n");
  if (a == std::string_view::npos) return {};
  size_t b = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(a, b - a + 1));
}

}  // namespace

bool ParseScript(std::string_view script, std::vector<ScriptCommand>& commands,
                 std::string& error) {
  commands.clear();
  size_t start = 0;
  while (start <= script.size()) {
    size_t end = script.find(';', start);
    if (end == std::string_view::npos) end = script.size();
    const std::string text = Trimmed(script.substr(start, end - start));
    start = end + 1;
    if (text.empty()) continue;
    std::istringstream words(text);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    ScriptCommand c;
    auto bad = [&](const char* why) {
      error = "bad command \"" + text + "\": " + why;
      return false;
    };
    if (w[0] == "start" && w.size() == 3 && (w[1] == "row" || w[1] == "date")) {
      c.name = "start " + w[1];
      c.args = {w[2]};
    } else if (w[0] == "next" || w[0] == "prev" || w[0] == "random" || w[0] == "reset" ||
               w[0] == "save" || w[0] == "stats" || w[0] == "report" ||
               w[0] == "report-session" || w[0] == "blind" || w[0] == "end-blind") {
      c.name = w[0];
      c.args.assign(w.begin() + 1, w.end());
      if (c.name == "next" && c.args.size() > 1) return bad("next takes one count");
      if (c.name == "next" && !c.args.empty() && !ParseInt(c.args[0])) return bad("not a count");
      if (c.name != "next" && !c.args.empty()) return bad("takes no argument");
    } else if ((w[0] == "buy" || w[0] == "sell") && w.size() >= 2) {
      if (!IsChoice(w[1]) && !ParseDecimal(w[1]))
        return bad("needs 全仓, 半仓, 1/3, 1/5, 1/10 or a quantity");
      c.name = w[0];
      // The trade's reason: the words after the quantity, with or without "--reason".
      const size_t first = w.size() > 2 && w[2] == "--reason" ? 3 : 2;
      std::string reason;
      for (size_t i = first; i < w.size(); ++i) reason += (reason.empty() ? "" : " ") + w[i];
      c.args = {w[1], reason};
    } else if (w[0] == "code" && w.size() == 2) {
      c.name = "code";
      c.args = {w[1]};
    } else if (w.size() == 1 && PeriodCaption(w[0])) {
      c.name = "period";
      c.args = {PeriodCaption(w[0])};
    } else {
      return bad("unknown");
    }
    commands.push_back(std::move(c));
  }
  return true;
}

void RunCommand(const ScriptCommand& c, PracticeSession& session, std::string& out) {
  ReplayController& r = session.Replay();
  if (c.name == "next") {
    const int n = c.args.empty() ? 1 : ParseIntOr(c.args[0], 1);
    // Past the last bar a step only repeats its message: stop at the first.
    for (int i = 0; i < n; ++i) {
      const bool at_end = r.Base().IsAtEnd();
      r.NextClick();
      if (at_end) break;
    }
  } else if (c.name == "prev") {
    r.PreviousBar();
  } else if (c.name == "buy" || c.name == "sell") {
    const bool buy = c.name == "buy";
    if (IsChoice(c.args[0])) {
      (buy ? r.BuyChoice : r.SellChoice) = c.args[0];
      r.QuantityBox = "0";
    } else {
      r.QuantityBox = c.args[0];
    }
    r.ReasonBox = c.args[1];
    buy ? r.BuyClick() : r.SellClick();
  } else if (c.name == "period") {
    if (!r.PeriodCommand(c.args[0]))
      out += "(" + c.args[0] + " is not a command of this period's menu)\n";
  } else if (c.name == "start row") {
    r.Boxes.StartRow = c.args[0];
    r.StartRowEnter();
  } else if (c.name == "start date") {
    r.SelectStartDate(c.args[0]);
  } else if (c.name == "code") {
    r.ApplyStockCode(c.args[0]);
    r.StockCodeEnter();
  } else if (c.name == "random") {
    r.RandomTraining();
  } else if (c.name == "reset") {
    session.ResetAccount();
  } else if (c.name == "save") {
    session.SaveSettingsClick();
  } else if (c.name == "stats") {
    std::vector<JournalLine> lines;
    std::string text;
    if (session.JournalPage(lines, text)) out += lines.empty() ? "(no trades)\n" : text;
  } else if (c.name == "report") {
    out += r.Account().GetReport() + "\r\n";
  } else if (c.name == "blind") {
    r.BlindTraining();
  } else if (c.name == "end-blind") {
    r.EndBlind();
  } else if (c.name == "report-session") {
    out += r.ReportText();
  }
}

}  // namespace vorelin
