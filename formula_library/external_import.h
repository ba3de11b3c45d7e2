// "导入外部公式": a formula exported by another charting program as text (a file or the
// clipboard) becomes an editor's name, description and text: "&&" and " AND " become "&",
// lines without ";" are joined, parameters become INPUT lines, a sub-chart formula gets
// "DRAWK:=FALSE;" and its usage notes "*" lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

inline constexpr size_t kMaxImportedParameters = 8;

struct ExternalParameter {
  std::string name, minimum, maximum, defaultValue;  // as the other program shows them
};

// What another program's formula editor holds.
struct ExternalFormula {
  std::string name;
  std::string description;
  std::string text;
  std::vector<ExternalParameter> parameters;  // the first eight are used
  bool subChart = false;                      // "副图"
  std::string notes;
};

// The editor's fields after the import.
struct ImportedFormula {
  std::string name;
  std::string description;
  std::string text;  // CR LF between lines
};

// Steps 1 to 5 of the import, applied to what the other editor holds.
ImportedFormula ImportExternalFormula(const ExternalFormula& source);

// Reads an exported formula text. Header lines before the formula name its parts:
// "名称:", "描述:", "参数:NAME,MIN,MAX,DEFAULT" (one per parameter), "副图" or "主图", then
// "公式:" starts the formula and "用法:" its notes (to the end). A text without "公式:" is
// all formula. False with `error` set when there is no formula text at all.
bool ParseExternalFormula(std::string_view exported, ExternalFormula& formula,
                          std::string& error);

}  // namespace vorelin
