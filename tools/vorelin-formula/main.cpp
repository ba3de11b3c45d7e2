// vorelin-formula: compiles and runs indicator formulas over a data file from the command
// line, for batch work and for tests.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/text_file.h"
#include "formula/builtin_formulas.h"
#include "formula/compiler.h"
#include "formula/source.h"
#include "formula_runner.h"

namespace {

using namespace vorelin;

constexpr const char* kUsage =
    "usage:\n"
    "  vorelin-formula run --data FILE (--builtin NAME | --file F.wfc | --text 'FORMULA')\n"
    "                      [--params 12,26,9] [--csv OUT] [--outputs] [--exact]\n"
    "  vorelin-formula compile (--file F.wfc | --text 'FORMULA')\n"
    "  vorelin-formula list\n";

struct Options {
  std::string command, data, builtin, file, text, params, csv;
  bool hasText = false;
  bool outputs = false;
  bool exact = false;
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
    } else {
      return false;
    }
  }
  const int sources = !options.builtin.empty() + !options.file.empty() + options.hasText;
  if (options.command == "run") return !options.data.empty() && sources == 1;
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

int Compile(const Options& options) {
  std::vector<std::string> lines;
  if (options.hasText) {
    if (options.text.empty()) return Fail("程序长度不能为空!");
    lines = SplitLines(RemoveComments(options.text));
  } else if (!ReadTextLines(options.file, lines)) {
    return Fail("公式文件: " + options.file + " 不存在!");
  }
  std::vector<std::string> program;
  std::string error;
  if (!CompileProgram(lines, StandardFunctionTable(), program, error)) return Fail(error);
  for (const std::string& statement : program) std::printf("%s\n", statement.c_str());
  return 0;
}

int Run(const Options& options) {
  TGS gs;
  std::string error;
  if (!LoadDataFile(options.data, gs, error)) return Fail(error);
  // Zero-filled quote, finance and breadth records, as the chart attaches them.
  static const std::vector<float> kZeros(65, 0.0f);
  gs.Attach({nullptr, kZeros, kZeros, kZeros});
  bool ok;
  if (!options.builtin.empty()) {
    const std::string& text = BuiltinFormulas().TextOf(options.builtin);
    if (text.empty()) return Fail("不存在函数:" + options.builtin + " !");
    ok = gs.CompileText(text, options.params);
  } else if (!options.file.empty()) {
    ok = gs.CompileFile(options.file, options.params);
  } else {
    ok = gs.CompileText(options.text, options.params);
  }
  if (!ok) return Fail(gs.ErrorText());
  std::string out;
  if (options.outputs) {
    for (const std::string& entry : gs.Outputs()) out += entry + "\n";
  } else {
    out = SeriesCsv(gs, options.exact);
  }
  if (options.csv.empty()) {
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
  }
  if (!WriteFileAtomically(options.csv, out)) return Fail("cannot write " + options.csv);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (options.command == "list") return List();
  if (options.command == "compile") return Compile(options);
  return Run(options);
}
