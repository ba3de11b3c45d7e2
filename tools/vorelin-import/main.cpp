// vorelin-import --root DIR --code CODE [--name NAME] [--market 0|1] FILE.csv
// Converts a CSV price file into DayData/CODE.TXT or MinData/CODE.TXT and records the stock
// in winbase.dat.
#include <cstdio>
#include <exception>
#include <string>

#include "common/data_root.h"
#include "import_run.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: vorelin-import [--root DIR] --code CODE [--name NAME] [--market 0|1] FILE.csv\n");
  return 2;
}

int Import(int argc, char** argv) {
  vorelin::ImportRequest request;
  std::string market_text, file;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string ignored;
    if (arg == "--code") { if (!value(request.code)) return Usage(); }
    else if (arg == "--name") { if (!value(request.name)) return Usage(); }
    else if (arg == "--market") { if (!value(market_text)) return Usage(); }
    else if (arg == "--root") { if (!value(ignored)) return Usage(); }
    else if (arg.rfind("--", 0) == 0) return Usage();
    else file = arg;
  }
  if (request.code.empty() || file.empty()) return Usage();
  if (!market_text.empty() && market_text != "0" && market_text != "1") {
    std::fprintf(stderr, "vorelin-import: --market must be 0 (Shenzhen) or 1 (Shanghai)\n");
    return 2;
  }
  if (!market_text.empty()) request.market = market_text == "1";
  request.csv = file;
  request.root = vorelin::ResolveDataRoot(vorelin::FindRootOption(argc, argv));
  vorelin::ImportReport report;
  std::string error;
  if (!vorelin::RunImport(request, report, error)) {
    std::fprintf(stderr, "vorelin-import: %s\n", error.c_str());
    return 1;
  }
  for (const std::string& note : report.notes)
    std::fprintf(stderr, "vorelin-import: %s: %s\n", file.c_str(), note.c_str());
  std::printf("%zu %s bars written to %s\n", report.bars, report.minute ? "minute" : "day",
              report.target.string().c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Nothing below throws by design; this is the last line against what would abort.
  try {
    return Import(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vorelin-import: %s\n", e.what());
    return 1;
  }
}
