#include "market/csv_import.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>

#include "common/dates.h"
#include "common/format.h"
#include "common/numbers.h"
#include "market/csv_records.h"

namespace vorelin {
namespace {

enum Column { kDate, kTime, kOpen, kHigh, kLow, kClose, kVolume, kAmount, kColumnCount };

const char* const kColumnNames[] = {"Date", "Time", "Open", "High", "Low", "Close", "Volume", "Amount"};

std::string Lower(std::string_view text) {
  std::string out;
  for (char c : text) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return out;
}

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::optional<Column> ColumnOf(std::string_view name) {
  const std::string n = Lower(TrimSpaces(name));
  if (n == "date" || n == "datetime" || n == "trade_date" || n == "timestamp") return kDate;
  if (n == "time") return kTime;
  if (n == "open") return kOpen;
  if (n == "high") return kHigh;
  if (n == "low") return kLow;
  if (n == "close") return kClose;
  if (n == "volume" || n == "vol") return kVolume;
  if (n == "amount" || n == "turnover" || n == "value") return kAmount;
  return std::nullopt;
}

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "2024-01-02", "2024/01/02" or "20240102" → 20240102; 0 when not a date of that shape
// (a year before 1000 would not give the eight digits of a data file's date).
int ParseDate(std::string_view text) {
  std::string digits;
  if (text.size() == 8 && AllDigits(text)) {
    digits = text;
  } else if (text.size() == 10 && (text[4] == '-' || text[4] == '/') && text[7] == text[4] &&
             AllDigits(text.substr(0, 4)) && AllDigits(text.substr(5, 2)) &&
             AllDigits(text.substr(8, 2))) {
    digits = std::string(text.substr(0, 4)) + std::string(text.substr(5, 2)) +
             std::string(text.substr(8, 2));
  } else {
    return 0;
  }
  int date = ParseIntOr(digits, 0);
  int month = date / 100 % 100;
  int day = date % 100;
  return (date >= 10000000 && month >= 1 && month <= 12 && day >= 1 && day <= 31) ? date : 0;
}

// "09:31", "9:31", "09:31:00", "0931" or "093100" → 931; -1 when not a time.
int ParseTime(std::string_view text) {
  int hour = -1, minute = -1;
  if (size_t colon = text.find(':'); colon != std::string_view::npos) {
    std::string_view h = text.substr(0, colon);
    std::string_view m = text.substr(colon + 1, 2);
    std::string_view rest = text.substr(std::min(text.size(), colon + 3));
    bool seconds_ok = rest.empty() || (rest.size() == 3 && rest[0] == ':' && AllDigits(rest.substr(1)));
    if (h.size() <= 2 && AllDigits(h) && m.size() == 2 && AllDigits(m) && seconds_ok) {
      hour = ParseIntOr(h, -1);
      minute = ParseIntOr(m, -1);
    }
  } else if ((text.size() == 3 || text.size() == 4 || text.size() == 6) && AllDigits(text)) {
    int v = ParseIntOr(text, -1);
    if (text.size() == 6) v /= 100;
    hour = v / 100;
    minute = v % 100;
  }
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return -1;
  return hour * 100 + minute;
}

// A decimal number whose integer digits may be grouped in threes by commas ("1,000.5");
// a comma anywhere else ("1,5", "10,00") makes it no number rather than a wrong one.
std::optional<double> ParseNumber(std::string_view text) {
  text = TrimSpaces(text);
  if (text.find(',') == std::string_view::npos) return ParseDecimal(text);
  const size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  const size_t integer_end = std::min(text.find_first_of(".eE"), text.size());
  std::string_view integer = text.substr(sign, integer_end - sign);
  if (text.substr(integer_end).find(',') != std::string_view::npos) return std::nullopt;
  std::string plain(text.substr(0, sign));
  for (size_t group = 0; !integer.empty(); ++group) {
    const size_t comma = integer.find(',');
    const std::string_view digits = integer.substr(0, comma);
    const bool fits = group == 0 ? digits.size() >= 1 && digits.size() <= 3 : digits.size() == 3;
    if (!fits || !AllDigits(digits)) return std::nullopt;
    plain += digits;
    if (comma == std::string_view::npos) break;
    integer.remove_prefix(comma + 1);
    if (integer.empty()) return std::nullopt;  // "1,"
  }
  plain += text.substr(integer_end);
  return ParseDecimal(plain);
}

struct Row {
  size_t line = 0;
  int date = 0;
  int time = 0;
  std::array<double, kColumnCount> value{};
};

bool SameValues(const Row& a, const Row& b) {
  for (int c = kOpen; c <= kAmount; ++c)
    if (a.value[c] != b.value[c]) return false;
  return true;
}

// What is wrong with a parsed row's prices, or empty.
std::string PriceProblem(const Row& r) {
  const double high = r.value[kHigh], low = r.value[kLow];
  if (high < low) return Format("High %.15g is below Low %.15g", high, low);
  for (int c : {kOpen, kClose}) {
    if (r.value[c] < low || r.value[c] > high)
      return Format("%s %.15g is not between Low %.15g and High %.15g", kColumnNames[c],
                    r.value[c], low, high);
  }
  return {};
}

class RowReader {
 public:
  explicit RowReader(const std::array<int, kColumnCount>& index) : index_(index) {}

  // Converts one record; false with `error` naming the line.
  bool Read(const std::vector<std::string>& fields, size_t line, bool& minute, bool first,
            Row& row, std::string& error) const {
    auto field = [&](int column) -> std::string_view {
      const int i = index_[column];
      return i >= 0 && i < static_cast<int>(fields.size()) ? std::string_view(fields[i])
                                                            : std::string_view();
    };
    row.line = line;
    std::string_view date_text = field(kDate);
    std::string_view time_text;
    const size_t space = date_text.find_first_of(" T");
    if (space != std::string_view::npos) {
      time_text = TrimSpaces(date_text.substr(space + 1));
      date_text = date_text.substr(0, space);
    }
    if (index_[kTime] >= 0) {
      time_text = field(kTime);
    } else if (first) {
      minute = space != std::string_view::npos;
    } else if (!minute && space != std::string_view::npos) {
      error = Format("line %zu: \"%s\" has a time, but the first bar has none", line,
                     std::string(field(kDate)).c_str());
      return false;
    }
    row.date = ParseDate(date_text);
    if (row.date == 0) {
      error = Format("line %zu: \"%s\" is not a date (YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD)", line,
                     std::string(date_text).c_str());
      return false;
    }
    if (!IsCalendarDate(row.date)) {
      error = Format("line %zu: \"%s\" is not a day of the calendar", line,
                     std::string(date_text).c_str());
      return false;
    }
    row.time = minute ? ParseTime(time_text) : 0;
    if (row.time < 0) {
      error = Format("line %zu: \"%s\" is not a time (HH:MM)", line, std::string(time_text).c_str());
      return false;
    }
    for (int c = kOpen; c <= kAmount; ++c) {
      if (index_[c] < 0) continue;
      std::optional<double> v = ParseNumber(field(c));
      if (!v || *v < 0) {
        error = Format("line %zu: %s \"%s\" is not a number", line, kColumnNames[c],
                       std::string(field(c)).c_str());
        return false;
      }
      row.value[c] = *v;
    }
    if (index_[kAmount] < 0) row.value[kAmount] = row.value[kVolume] * row.value[kClose];
    if (std::string problem = PriceProblem(row); !problem.empty()) {
      error = Format("line %zu: %s", line, problem.c_str());
      return false;
    }
    return true;
  }

 private:
  const std::array<int, kColumnCount>& index_;
};

std::string WhenText(const Row& r, bool minute) {
  return minute ? Format("%d %04d", r.date, r.time) : Format("%d", r.date);
}

}  // namespace

bool ImportCsv(std::string_view text, CsvImport& out, std::string& error) {
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.remove_prefix(3);
  std::string_view first_line = text.substr(std::min(text.find_first_not_of(" \r\n"), text.size()));
  first_line = first_line.substr(0, first_line.find_first_of("\r\n"));
  CsvRecords records(text, DetectCsvSeparator(first_line));
  std::vector<std::string> fields;
  size_t line = 0;
  if (!records.Next(fields, line)) {
    error = records.Error().empty() ? "the file is empty" : records.Error();
    return false;
  }
  std::array<int, kColumnCount> index;
  index.fill(-1);
  for (size_t i = 0; i < fields.size(); ++i)
    if (auto column = ColumnOf(fields[i]); column && index[*column] < 0)
      index[*column] = static_cast<int>(i);
  for (int c = kDate; c <= kVolume; ++c) {
    if (c != kTime && index[c] < 0) {
      error = Format("line %zu: the header has no %s column", line, kColumnNames[c]);
      return false;
    }
  }
  CsvImport result;
  result.minute = index[kTime] >= 0;
  const RowReader reader(index);
  std::vector<Row> rows;
  std::unordered_map<int64_t, size_t> seen;  // date and time → index in rows
  for (bool first = true; records.Next(fields, line); first = false) {
    Row row;
    if (!reader.Read(fields, line, result.minute, first, row, error)) return false;
    const int64_t key = static_cast<int64_t>(row.date) * 10000 + row.time;
    if (auto [it, added] = seen.emplace(key, rows.size()); !added) {
      const Row& earlier = rows[it->second];
      if (!SameValues(row, earlier)) {
        error = Format("line %zu: %s is on line %zu too, with other values", line,
                       WhenText(row, result.minute).c_str(), earlier.line);
        return false;
      }
      result.notes.push_back(
          Format("line %zu: the same bar as line %zu, left out", line, earlier.line));
      continue;
    }
    if (rows.size() == kImportBarLimit) {
      error = Format("line %zu: more than %zu bars, the most a day or minute data file holds",
                     line, kImportBarLimit);
      return false;
    }
    rows.push_back(row);
  }
  if (!records.Error().empty()) {
    error = records.Error();
    return false;
  }
  // Downloads often list the newest bar first; the data file is oldest first.
  std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
    return a.date != b.date ? a.date < b.date : a.time < b.time;
  });
  for (const Row& r : rows) {
    std::string text_line = Format("%d,", r.date);
    if (result.minute) text_line += Format("%04d,", r.time);
    text_line += Format("%.15g,%.15g,%.15g,%.15g,%.15g,%.15g", r.value[kOpen], r.value[kHigh],
                        r.value[kLow], r.value[kClose], r.value[kAmount], r.value[kVolume]);
    result.lines.push_back(std::move(text_line));
  }
  out = std::move(result);
  return true;
}

}  // namespace vorelin
