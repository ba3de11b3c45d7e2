// Data file loading and CSV writing for the formula runner.
#include "formula_runner.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "common/format.h"
#include "common/numbers.h"
#include "common/text_encoding.h"
#include "common/text_file.h"
#include "formula/builtin_formulas.h"
#include "market/bar_series.h"

namespace vorelin {

namespace {

class StderrSink : public MessageSink {
 public:
  void Show(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  bool Ask(const std::string&) override { return false; }
};

}  // namespace

// The file's lines as the bar file reader splits its decoded text, read in place: valid
// UTF-8 (the usual case) is not copied, nor is any line.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine onLine) {
  size_t start = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    onLine(text.substr(start, i - start));
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) onLine(text.substr(start));
}

bool LoadDataFile(const std::filesystem::path& path, TGS& gs, std::string& error) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, &error)) return false;
  std::string_view text = bytes;
  std::string decoded;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") {
    text.remove_prefix(3);
  } else if (!IsValidUtf8(text)) {
    decoded = GbkToUtf8(text);
    text = decoded;
  }
  StderrSink sink;
  Tstock stock(&sink);
  const size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  std::vector<double> columns[8];
  for (auto& column : columns) column.reserve(lines);
  int row = 0;
  ForEachLine(text, [&](std::string_view line) {
    const TBarRecord bar = stock.ParseLine(line, row++);
    columns[0].push_back(ParseDecimalOr(bar.date, 0));
    columns[1].push_back(ParseDecimalOr(bar.time, 0));
    columns[2].push_back(bar.open);
    columns[3].push_back(bar.high);
    columns[4].push_back(bar.low);
    columns[5].push_back(bar.close);
    columns[6].push_back(bar.amount);
    columns[7].push_back(bar.vol);
  });
  const size_t n = columns[0].size();
  static const char* const kNames[] = {"date", "time",  "open",   "high",
                                       "low",  "close", "amount", "vol"};
  for (int k = 0; k < 8; ++k) {
    if (!gs.SetRawSeries(kNames[k], columns[k].data(), static_cast<int>(n))) {
      error = gs.ErrorText();
      return false;
    }
  }
  return true;
}

void AttachZeroRecords(TGS& gs) {
  static const std::vector<float> kZeros(65, 0.0f);
  gs.Attach({nullptr, kZeros, kZeros, kZeros});
}

namespace {

// "syline=dif::colorwhite," gives "dif"; a drawing command "stickline=..." gives "stickline".
std::string OutputsText(const TGS& gs) {
  std::string lines, drawings;
  for (const std::string& entry : gs.Outputs()) {
    if (entry.rfind("syline=", 0) == 0) {
      const size_t end = entry.find("::");
      const std::string name = entry.substr(7, end == std::string::npos ? end : end - 7);
      if (name.empty() || name[0] == '@') continue;
      lines += (lines.empty() ? "" : " ") + name;
    } else {
      drawings += " " + AsciiLower(entry.substr(0, entry.find('=')));
    }
  }
  return drawings.empty() ? lines : lines + " +" + drawings;
}

std::string OneLine(const std::string& text) {
  std::string line;
  for (char ch : text) {
    if (ch == '\r') continue;
    line += ch == '\n' ? ' ' : ch;
  }
  return line;
}

// A NaN or infinity would be drawn and exported as a number; a run must never leave one.
std::string NonFiniteValue(const TGS& pane) {
  for (const Tbian* series : pane.ComputedSeries()) {
    for (int i = 0; i < series->count; ++i) {
      if (!std::isfinite(series->values[i])) {
        return Format("%s: %g at bar %d", series->name.c_str(), series->values[i], i);
      }
    }
  }
  return {};
}

}  // namespace

bool CheckBuiltins(const std::filesystem::path& data, std::vector<CheckLine>& lines,
                   std::string& error) {
  TGS bars;
  if (!LoadDataFile(data, bars, error)) return false;
  AttachZeroRecords(bars);
  for (const TFuncStr::Entry& entry : BuiltinFormulas().Entries()) {
    TGS pane(&bars);  // as a chart pane: the bars shared, a store of its own
    CheckLine line;
    line.name = entry.name;
    line.ok = pane.CompileText(entry.text);
    if (line.ok) {
      line.outputs = OutputsText(pane);
      line.error = NonFiniteValue(pane);
      line.ok = line.error.empty();
    } else {
      line.error = OneLine(pane.ErrorText());
    }
    lines.push_back(std::move(line));
  }
  return true;
}

std::vector<std::string> SeriesOutputNames(TGS& gs) {
  std::vector<std::string> names;
  for (const std::string& entry : gs.Outputs()) {
    if (entry.rfind("syline=", 0) != 0) continue;
    const size_t end = entry.find("::");
    std::string name = AsciiLower(entry.substr(7, end == std::string::npos ? std::string::npos
                                                                              : end - 7));
    if (name.empty() || name[0] == '@') continue;
    if (gs.FindSeries(name) != nullptr) names.push_back(std::move(name));
  }
  return names;
}

std::string SeriesCsv(TGS& gs, bool exact) {
  const std::vector<std::string> names = SeriesOutputNames(gs);
  std::vector<const Tbian*> series;
  std::string csv = "bar";
  for (const std::string& name : names) {
    csv += "," + name;
    series.push_back(gs.FindSeries(name));
  }
  csv += "\n";
  // to_chars with a precision writes what printf's %.17g (%.10g) writes, without its cost.
  const int precision = exact ? 17 : 10;
  csv.reserve(csv.size() + static_cast<size_t>(gs.BarCount()) * (8 + 12 * series.size()));
  char number[64];
  for (int i = 0; i < gs.BarCount(); ++i) {
    csv.append(number, std::to_chars(number, number + sizeof number, i).ptr);
    for (const Tbian* line : series) {
      csv += ',';
      if (i < line->count && line->values[i] != kNoValue) {
        csv.append(number, std::to_chars(number, number + sizeof number, line->values[i],
                                         std::chars_format::general, precision)
                               .ptr);
      }
    }
    csv += '\n';
  }
  return csv;
}

}  // namespace vorelin
