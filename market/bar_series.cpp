#include "market/bar_series.h"

#include <array>

#include "common/numbers.h"
#include "common/text_file.h"

namespace vorelin {
namespace {

// Splits a data line into its counted fields (at most 10 are kept; more is bad anyway).
// Leading spaces of a field are skipped, empty fields are not counted, and commas inside
// single or double quotes do not split (the quotes stay in the field).
int SplitFields(std::string_view line, std::array<std::string_view, 10>& fields) {
  int count = 0;
  size_t i = 0;
  const size_t n = line.size();
  while (i <= n) {
    while (i < n && line[i] == ' ') ++i;
    size_t start = i;
    char quote = 0;
    while (i < n) {
      char c = line[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == ',') {
        break;
      }
      ++i;
    }
    if (i > start) {
      if (count < static_cast<int>(fields.size())) fields[count] = line.substr(start, i - start);
      ++count;
    }
    ++i;  // past the comma (or past the end)
  }
  return count;
}

std::string CutText(std::string_view text) {
  return std::string(text.substr(0, kBarTextLimit));
}

}  // namespace

bool Tstock::LoadBars(std::string* error) {
  std::vector<std::string> lines;
  if (!ReadTextLines(FileName, lines, error)) return false;
  LoadLines(std::move(lines));
  return true;
}

void Tstock::LoadLines(std::vector<std::string> lines) {
  RawLines = std::move(lines);
  BarCount = static_cast<int>(RawLines.size());
  Bars.clear();
  Bars.reserve(RawLines.size());
  for (int i = 0; i < BarCount; ++i) Bars.push_back(ParseLine(RawLines[i], i));
}

TBarRecord Tstock::ParseLine(std::string_view line, int row) {
  std::array<std::string_view, 10> f;
  int count = SplitFields(line, f);
  TBarRecord bar;
  if (count == 7) {
    bar.date = CutText(f[0]);
    bar.open = ParseDecimalOr(f[1]);
    bar.high = ParseDecimalOr(f[2]);
    bar.low = ParseDecimalOr(f[3]);
    bar.close = ParseDecimalOr(f[4]);
    bar.amount = ParseDecimalOr(f[5]);
    bar.vol = ParseDecimalOr(f[6]);
  } else if (count == 8 || count == 9) {
    bar.date = CutText(f[0]);
    bar.time = CutText(f[1]);
    bar.open = ParseDecimalOr(f[2]);
    bar.high = ParseDecimalOr(f[3]);
    bar.low = ParseDecimalOr(f[4]);
    bar.close = ParseDecimalOr(f[5]);
    bar.amount = ParseDecimalOr(f[6]);
    bar.vol = ParseDecimalOr(f[7]);
  } else if (!FormatWarned) {
    FormatWarned = true;
    if (messages_) messages_->Show(kBadFormatMessage + std::to_string(row));
  }
  return bar;
}

TBarRecord Tstock::NextBar() {
  if (Cursor < 0 || Cursor >= BarCount || Cursor >= static_cast<int>(Bars.size()))
    return TBarRecord{};
  TBarRecord bar = Bars[Cursor];
  ++Cursor;
  ++CurrentRow;
  return bar;
}

bool Tstock::FindDate(int x) {
  int low = 0;
  int high = static_cast<int>(Bars.size()) - 1;
  auto date_at = [&](int i) { return ParseIntOr(Bars[i].date, 0); };
  Found = false;
  if (high < low || date_at(0) > x) return false;
  while (low <= high) {
    if (x > date_at(high)) return false;
    int mid = (low + high) / 2;
    int d = date_at(mid);
    if (x == d) {
      Found = true;
      FoundIndex = mid;
      return true;
    }
    if (x < d) high = mid - 1; else low = mid + 1;
  }
  return false;
}

void Tstock::CopyFrom(const Tstock& other) {
  RawLines = other.RawLines;
  BarCount = other.BarCount;
  StartRow = other.StartRow;
  SetCurrentRow(other.CurrentRow);
  PeriodMultiplier = other.PeriodMultiplier;
}

}  // namespace vorelin
