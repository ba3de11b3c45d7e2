// vorelin-formula: compiles and runs indicator formulas over a data file from the command
// line, for batch work and for tests.
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/data_root.h"
#include "common/numbers.h"
#include "common/text_file.h"
#include "formula/builtin_formulas.h"
#include "formula/compiler.h"
#include "formula/data_files.h"
#include "formula/messages.h"
#include "formula/source.h"
#include "formula_library/formula_store.h"
#include "formula_library/library_tree.h"
#include "formula_runner.h"

namespace {

using namespace vorelin;

constexpr const char* kUsage =
    "usage:\n"
    "  vorelin-formula run --data FILE (--builtin NAME | --file F.wfc | --text 'FORMULA' |\n"
    "                      --lib NAME [--root DIR])\n"
    "                      [--params 12,26,9] [--csv OUT] [--csv-all] [--table OUT]\n"
    "                      [--outputs] [--exact] [--replay-from K]\n"
    "  vorelin-formula save-raw --data FILE (--builtin NAME | --file F.wfc | --text 'FORMULA' |\n"
    "                      --lib NAME [--root DIR])\n"
    "                      [--params 12,26,9] --out F.bin\n"
    "  vorelin-formula load-raw --raw F.bin [--csv OUT] [--csv-all] [--table OUT]\n"
    "                      [--outputs] [--exact]\n"
    "  vorelin-formula check --data FILE\n"
    "  vorelin-formula compile (--file F.wfc | --text 'FORMULA' | --lib NAME [--root DIR])\n"
    "  vorelin-formula list\n";

struct Options {
  std::string command, data, builtin, file, text, params, csv, table, out, raw, lib, root;
  int replayFrom = 0;  // 0: run over all bars at once
  bool hasText = false;
  bool outputs = false;
  bool exact = false;
  bool csvAll = false;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  if (argc < 2) return false;
  options.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    if (arg == "--outputs") {
      options.outputs = true;
    } else if (arg == "--exact") {
      options.exact = true;
    } else if (arg == "--csv-all") {
      options.csvAll = true;
    } else if (arg == "--data") {
      if (!value(options.data)) return false;
    } else if (arg == "--builtin") {
      if (!value(options.builtin)) return false;
    } else if (arg == "--file") {
      if (!value(options.file)) return false;
    } else if (arg == "--text") {
      if (!value(options.text)) return false;
      options.hasText = true;
    } else if (arg == "--params") {
      if (!value(options.params)) return false;
    } else if (arg == "--csv") {
      if (!value(options.csv)) return false;
    } else if (arg == "--table") {
      if (!value(options.table)) return false;
    } else if (arg == "--out") {
      if (!value(options.out)) return false;
    } else if (arg == "--raw") {
      if (!value(options.raw)) return false;
    } else if (arg == "--lib") {
      if (!value(options.lib)) return false;
    } else if (arg == "--root") {
      if (!value(options.root)) return false;
    } else if (arg == "--replay-from") {
      std::string k;
      if (!value(k)) return false;
      options.replayFrom = ParseIntOr(k, 0);
      if (options.replayFrom < 1) return false;
    } else {
      return false;
    }
  }
  const int sources =
      !options.builtin.empty() + !options.file.empty() + options.hasText + !options.lib.empty();
  if (!options.root.empty() && options.lib.empty()) return false;
  const bool exports = !options.csv.empty() || !options.table.empty() || options.csvAll ||
                       options.outputs || options.exact;
  const bool fromData = !options.data.empty() && sources == 1;
  if (options.command == "run") return fromData && options.raw.empty() && options.out.empty();
  if (options.replayFrom != 0) return false;
  if (options.command == "save-raw") {
    return fromData && !options.out.empty() && options.raw.empty() && !exports;
  }
  if (options.command == "load-raw") {
    return !options.raw.empty() && options.data.empty() && sources == 0 &&
           options.params.empty() && options.out.empty();
  }
  if (options.command == "check") {
    return !options.data.empty() && sources == 0 && options.params.empty() && !exports &&
           options.out.empty() && options.raw.empty();
  }
  if (options.command == "compile") return options.builtin.empty() && sources == 1;
  return options.command == "list" && sources == 0;
}

int Fail(const std::string& error) {
  std::fprintf(stderr, "%s\n", error.c_str());
  return 1;
}

int List() {
  for (const TFuncStr::Entry& entry : BuiltinFormulas().Entries()) {
    std::printf("%s\t%d\t%s\n", entry.name.c_str(), entry.tab, entry.title.c_str());
  }
  return 0;
}

// The text of a formula of the data root's library, looked up by its upper-cased name.
bool LibraryText(const Options& options, std::string& text, std::string& error) {
  FormulaStore store;
  const std::filesystem::path root =
      ResolveDataRoot(options.root.empty() ? std::nullopt : std::optional(options.root));
  return store.Open(FormulaStore::PathIn(root), error) &&
         FormulaTextToLoad(store, AsciiUpper(options.lib), text, error);
}

int Compile(const Options& options) {
  std::vector<std::string> lines;
  // The interpreter's entry points refuse the same texts with the same messages.
  if (options.hasText || !options.lib.empty()) {
    std::string text = options.text, error;
    if (!options.lib.empty() && !LibraryText(options, text, error)) return Fail(error);
    if (text.empty()) return Fail(kEmptyTextMessage);
    if (text.size() > kFormulaTextLimit) return Fail(kTextTooLongMessage);
    lines = SplitLines(RemoveComments(text));
  } else {
    std::error_code ignored;
    const auto size = std::filesystem::file_size(options.file, ignored);
    if (!ignored && size > kFormulaTextLimit) return Fail(kTextTooLongMessage);
    if (!ReadTextLines(options.file, lines)) return Fail(MissingFormulaFileMessage(options.file));
  }
  std::vector<std::string> program;
  std::string error;
  if (!CompileProgram(lines, StandardFunctionTable(), program, error)) return Fail(error);
  for (const std::string& statement : program) std::printf("%s\n", statement.c_str());
  return 0;
}

// Compiles the chosen formula over the bars entered so far; the error text on failure.
bool CompileChosen(const Options& options, TGS& gs, std::string& error) {
  bool ok;
  if (!options.builtin.empty()) {
    const std::string& text = BuiltinFormulas().TextOf(options.builtin);
    if (text.empty()) {
      error = "不存在函数:" + options.builtin + " !";
      return false;
    }
    ok = gs.CompileText(text, options.params);
  } else if (!options.file.empty()) {
    ok = gs.CompileFile(options.file, options.params);
  } else if (!options.lib.empty()) {
    std::string text;
    if (!LibraryText(options, text, error)) return false;
    ok = gs.CompileText(text, options.params);
  } else {
    ok = gs.CompileText(options.text, options.params);
  }
  if (!ok) error = gs.ErrorText();
  return ok;
}

// Loads the data file and compiles the chosen formula over it; the error text on failure.
bool LoadAndCompile(const Options& options, TGS& gs, std::string& error) {
  if (!LoadDataFile(options.data, gs, error)) return false;
  AttachZeroRecords(gs);
  return CompileChosen(options, gs, error);
}

// As a replay reveals them: the formula runs over the first K bars, then each further bar
// is appended and the formula reruns, from the first bar whose inputs changed.
bool LoadAndReplay(const Options& options, TGS& gs, std::string& error) {
  TGS all;
  if (!LoadDataFile(options.data, all, error)) return false;
  const std::vector<const Tbian*> columns = all.RawSeries();
  const int bars = all.BarCount();
  const int first = std::min(options.replayFrom, bars);
  for (const Tbian* column : columns) gs.SetRawSeries(column->name, column->data(), first);
  AttachZeroRecords(gs);
  bool ok = CompileChosen(options, gs, error);
  if (gs.Program().empty()) return false;
  for (int bar = first; bar < bars; ++bar) {
    for (const Tbian* column : columns) {
      gs.PushRawValue(column->name, column->values[static_cast<size_t>(bar)], true);
    }
    ok = gs.Run(options.params);
  }
  if (!ok) error = gs.ErrorText();
  return ok;
}

// The run's results: the table export, then the CSV (the series lines, or with --csv-all
// every series of the pane as the chart exports it) or the output list.
int WriteResults(const Options& options, TGS& gs) {
  if (!options.table.empty() && !ExportTable(gs, options.table)) {
    return Fail("cannot write " + options.table);
  }
  std::string out;
  if (options.outputs) {
    for (const std::string& entry : gs.Outputs()) out += entry + "\n";
  } else if (options.csvAll) {
    out = CsvText(gs, true);
  } else {
    out = SeriesCsv(gs, options.exact);
  }
  if (options.csv.empty()) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
  }
  // A device such as /dev/null cannot be replaced by a finished temporary file: it is
  // written directly.
  std::error_code ignored;
  if (std::filesystem::is_character_file(options.csv, ignored)) {
    FILE* device = std::fopen(options.csv.c_str(), "wb");
    const bool written = device != nullptr && std::fwrite(out.data(), 1, out.size(), device) ==
                                                  out.size();
    if (device != nullptr && std::fclose(device) != 0) return Fail("cannot write " + options.csv);
    return written ? 0 : Fail("cannot write " + options.csv);
  }
  if (!WriteFileAtomically(options.csv, out)) return Fail("cannot write " + options.csv);
  return 0;
}

int Run(const Options& options) {
  TGS gs;
  std::string error;
  const bool ok = options.replayFrom > 0 ? LoadAndReplay(options, gs, error)
                                         : LoadAndCompile(options, gs, error);
  if (!ok) return Fail(error);
  return WriteResults(options, gs);
}

int SaveRaw(const Options& options) {
  TGS gs;
  std::string error;
  if (!LoadAndCompile(options, gs, error)) return Fail(error);
  if (!SaveRawData(gs, options.out)) return Fail("cannot write " + options.out);
  return 0;
}

int LoadRaw(const Options& options) {
  TGS gs;
  if (!LoadRawData(gs, options.raw)) return Fail("原始数据文件: " + options.raw + " 无法加载!");
  // The file was loaded but its formula does not compile: the error text says why.
  if (gs.Program().empty()) return Fail(gs.ErrorText());
  // Loading clears the attached records; rerun with the zero records the chart would give.
  AttachZeroRecords(gs);
  if (!gs.Run()) return Fail(gs.ErrorText());
  return WriteResults(options, gs);
}

int Check(const Options& options) {
  std::vector<CheckLine> lines;
  std::string error;
  if (!CheckBuiltins(options.data, lines, error)) return Fail(error);
  bool allOk = true;
  for (const CheckLine& line : lines) {
    std::printf("%s\t%s\t%s\n", line.name.c_str(), line.outputs.c_str(),
                line.ok ? "OK" : line.error.c_str());
    allOk = allOk && line.ok;
  }
  return allOk ? 0 : 1;
}

int Main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (options.command == "list") return List();
  if (options.command == "compile") return Compile(options);
  if (options.command == "save-raw") return SaveRaw(options);
  if (options.command == "load-raw") return LoadRaw(options);
  if (options.command == "check") return Check(options);
  return Run(options);
}

}  // namespace

int main(int argc, char** argv) {
  // Nothing below throws by design; this is the last line against what would abort.
  try {
    return Main(argc, argv);
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}
