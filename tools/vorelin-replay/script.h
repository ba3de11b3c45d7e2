// The practice script of vorelin-replay: commands separated by ";", each run against the
// session as the main window's buttons would run it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "practice/practice_session.h"

namespace vorelin {

struct ScriptCommand {
  std::string name;               // "next", "buy", "start row" ...
  std::vector<std::string> args;
};

// Splits and checks the script; false with `error` naming the first bad command.
bool ParseScript(std::string_view script, std::vector<ScriptCommand>& commands,
                 std::string& error);

// Runs one command; texts for the console (report, statistics) go to `out`.
void RunCommand(const ScriptCommand& command, PracticeSession& session, std::string& out);

}  // namespace vorelin
