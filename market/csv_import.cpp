#include "market/csv_import.h"

#include <algorithm>
#include <array>
#include <optional>

#include "common/format.h"
#include "common/numbers.h"
#include "common/text_file.h"

namespace vorelin {
namespace {

enum Column { kDate, kTime, kOpen, kHigh, kLow, kClose, kVolume, kAmount, kColumnCount };

std::string Lower(std::string_view text) {
  std::string out;
  for (char c : text) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '"')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '"')) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> Split(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t i = 0; i <= line.size(); ++i) {
    if (i == line.size() || line[i] == separator) {
      fields.push_back(Trim(line.substr(start, i - start)));
      start = i + 1;
    }
  }
  return fields;
}

char DetectSeparator(std::string_view header) {
  const char candidates[] = {'\t', ';', ','};
  char best = ',';
  long most = 0;
  for (char c : candidates) {
    long n = std::count(header.begin(), header.end(), c);
    if (n > most) { most = n; best = c; }
  }
  return best;
}

std::optional<Column> ColumnOf(std::string_view name) {
  const std::string n = Lower(Trim(name));
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

// "2024-01-02", "2024/01/02" or "20240102" → 20240102; 0 when not a date.
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
  return (month >= 1 && month <= 12 && day >= 1 && day <= 31) ? date : 0;
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

struct Row {
  int date;
  int time;
  std::array<double, kColumnCount> value;
};

}  // namespace

bool ImportCsv(std::string_view text, CsvImport& out, std::string& error) {
  std::vector<std::string> lines = SplitLines(text);
  size_t header_index = 0;
  while (header_index < lines.size() && Trim(lines[header_index]).empty()) ++header_index;
  if (header_index == lines.size()) {
    error = "the file is empty";
    return false;
  }
  if (lines[header_index].rfind("\xEF\xBB\xBF", 0) == 0) lines[header_index].erase(0, 3);
  const char separator = DetectSeparator(lines[header_index]);
  std::array<int, kColumnCount> index;
  index.fill(-1);
  std::vector<std::string_view> names = Split(lines[header_index], separator);
  for (size_t i = 0; i < names.size(); ++i)
    if (auto column = ColumnOf(names[i]); column && index[*column] < 0)
      index[*column] = static_cast<int>(i);
  const char* required[] = {"Date", "", "Open", "High", "Low", "Close", "Volume"};
  for (int c = kDate; c <= kVolume; ++c) {
    if (c != kTime && index[c] < 0) {
      error = Format("line %zu: the header has no %s column", header_index + 1, required[c]);
      return false;
    }
  }
  std::vector<Row> rows;
  bool minute = index[kTime] >= 0;
  for (size_t n = header_index + 1; n < lines.size(); ++n) {
    if (Trim(lines[n]).empty()) continue;
    std::vector<std::string_view> f = Split(lines[n], separator);
    auto field = [&](int column) { return index[column] < static_cast<int>(f.size()) ? f[index[column]] : std::string_view(); };
    Row row{};
    std::string_view date_text = field(kDate);
    std::string_view time_text;
    if (size_t space = date_text.find_first_of(" T"); space != std::string_view::npos) {
      time_text = Trim(date_text.substr(space + 1));
      date_text = date_text.substr(0, space);
      minute = true;
    }
    if (index[kTime] >= 0) time_text = field(kTime);
    row.date = ParseDate(date_text);
    if (row.date == 0) {
      error = Format("line %zu: \"%s\" is not a date (YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD)", n + 1,
                     std::string(date_text).c_str());
      return false;
    }
    row.time = minute ? ParseTime(time_text) : 0;
    if (row.time < 0) {
      error = Format("line %zu: \"%s\" is not a time (HH:MM)", n + 1, std::string(time_text).c_str());
      return false;
    }
    for (int c = kOpen; c <= kAmount; ++c) {
      if (index[c] < 0) continue;
      std::optional<double> v = ParseDecimal(field(c));
      if (!v || *v < 0) {
        static const char* kNames[] = {"", "", "Open", "High", "Low", "Close", "Volume", "Amount"};
        error = Format("line %zu: %s \"%s\" is not a number", n + 1, kNames[c],
                       std::string(field(c)).c_str());
        return false;
      }
      row.value[c] = *v;
    }
    if (index[kAmount] < 0) row.value[kAmount] = row.value[kVolume] * row.value[kClose];
    rows.push_back(row);
  }
  // Downloads often list the newest bar first; the data file is oldest first.
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
    return a.date != b.date ? a.date < b.date : a.time < b.time;
  });
  CsvImport result;
  result.minute = minute;
  for (const Row& r : rows) {
    std::string line = Format("%d,", r.date);
    if (minute) line += Format("%04d,", r.time);
    line += Format("%.10g,%.10g,%.10g,%.10g,%.10g,%.10g", r.value[kOpen], r.value[kHigh],
                   r.value[kLow], r.value[kClose], r.value[kAmount], r.value[kVolume]);
    result.lines.push_back(std::move(line));
  }
  out = std::move(result);
  return true;
}

}  // namespace vorelin
