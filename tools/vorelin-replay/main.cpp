// vorelin-replay: a practice session without a window, for scripted practice, teaching
// material and tests. It leaves log.mt3, config.ini and the trade screenshots in the data root
// as the trainer does.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "chart/qt/gui_session.h"
#include "common/data_root.h"
#include "practice/practice_session.h"
#include "practice/trading_rules.h"
#include "tools/vorelin-replay/offscreen_chart.h"
#include "tools/vorelin-replay/script.h"

namespace vorelin {
namespace {

// Console output keeps LF line ends.
std::string ForConsole(std::string text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

class ConsoleMessages : public MessageSink {
 public:
  void Show(const std::string& text) override { std::cout << ForConsole(text) << "\n"; }
  // A script has decided already: every question is answered yes.
  bool Ask(const std::string& text) override {
    std::cout << ForConsole(text) << " -> 是\n";
    return true;
  }
};

int Usage() {
  std::cerr << "usage: vorelin-replay --root DIR --user NAME [--code CODE] "
               "[--period day|minute] [--rules t1,stamp,min5,limit] [--blind] --script \"next 25; buy 全仓; next 5; sell 全仓; stats\"\n"
               "commands: next [N], prev, buy|sell CHOICE|QTY [REASON], day week month quarter year "
               "1min 5min 15min 30min 60min,\n"
               "          start row N, start date YYYYMMDD, code CODE, random, reset, save, "
               "stats, report, report-session, blind, end-blind\n"
               "--blind starts with blind training: code, name and dates hidden until end-blind\n";
  return 2;
}

int Run(int argc, char** argv) {
  std::optional<std::string> user, code, period, script, rules;
  bool blind = false;
  for (int i = 1; i < argc; ++i) {
    auto value = [&](std::optional<std::string>& slot) {
      if (i + 1 >= argc) return false;
      slot = argv[++i];
      return true;
    };
    const std::string arg = argv[i];
    std::optional<std::string> ignored;
    bool ok = true;
    if (arg == "--root") ok = value(ignored);
    else if (arg.rfind("--root=", 0) == 0) ok = true;
    else if (arg == "--user") ok = value(user);
    else if (arg == "--code") ok = value(code);
    else if (arg == "--period") ok = value(period);
    else if (arg == "--script") ok = value(script);
    else if (arg == "--rules") ok = value(rules);
    else if (arg == "--blind") blind = true;
    else ok = false;
    if (!ok) return Usage();
  }
  if (!user || user->empty() || !script) return Usage();
  if (period && *period != "day" && *period != "minute") return Usage();
  if (code && !IsSafeStockCode(*code)) {
    std::cerr << UnsafeStockCodeMessage(*code) << "\n";
    return 2;
  }
  std::vector<ScriptCommand> commands;
  std::string error;
  UserSettings rule_check;
  if (rules && !ApplyRulesOption(*rules, rule_check, error)) {
    std::cerr << "vorelin-replay: " << error << "\n";
    return 2;
  }
  if (!ParseScript(*script, commands, error)) {
    std::cerr << "vorelin-replay: " << error << "\n";
    return 2;
  }

  const std::filesystem::path root = ResolveDataRoot(FindRootOption(argc, argv));
  std::error_code ec;
  std::filesystem::create_directories(root, ec);
  GuiSession gui(argc, argv);
  ConsoleMessages messages;
  OffscreenChart chart;
  PracticeSession session(root, *user, chart.Port(), messages, chart.Screenshot());
  if (!session.Start()) return 1;
  if (rules) {
    // As if ticked on the settings page: the rules hold from the first trade and are saved.
    ApplyRulesOption(*rules, session.Replay().Boxes, error);
    session.Replay().ApplyFeeRates();
  }
  if (period || code) {
    ReplayController& r = session.Replay();
    if (period) r.Boxes.Period = *period == "day" ? 1 : 0;
    // A saved position keeps its stock, as the window's code box does.
    if (code && r.Account().LongQty != 0 && *code != r.Account().StockCode) {
      std::cout << ForConsole(std::string(kPositionOpenMessage) + "\n");
      code.reset();
    }
    r.ApplyStockCode(code ? *code : r.Boxes.StockCode);
    r.OpenStock();
  }
  if (blind) session.Replay().BlindTraining();
  for (const ScriptCommand& command : commands) {
    std::string out;
    RunCommand(command, session, out);
    std::cout << ForConsole(out);
  }
  // The script's end is the window closing after its confirmation: settings and account saved.
  return session.Save() ? 0 : 1;
}

}  // namespace
}  // namespace vorelin

int main(int argc, char** argv) { return vorelin::Run(argc, argv); }
