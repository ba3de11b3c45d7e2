#include "market/csv_records.h"

#include "common/format.h"

namespace vorelin {

char DetectCsvSeparator(std::string_view header) {
  const char candidates[] = {'\t', ';', ','};
  int counts[3] = {};
  bool quoted = false;
  for (char c : header) {
    if (c == '"') quoted = !quoted;
    for (int k = 0; k < 3; ++k)
      if (!quoted && c == candidates[k]) ++counts[k];
  }
  char best = ',';
  int most = 0;
  for (int k = 0; k < 3; ++k) {
    if (counts[k] > most) {
      most = counts[k];
      best = candidates[k];
    }
  }
  return best;
}

bool CsvRecords::AtLineEnd() const {
  return pos_ >= text_.size() || text_[pos_] == '\r' || text_[pos_] == '\n';
}

void CsvRecords::SkipLineEnd() {
  if (pos_ >= text_.size()) return;
  if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
  ++pos_;
  ++line_;
}

bool CsvRecords::Field(std::string& out) {
  out.clear();
  auto skip_spaces = [this] {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  };
  skip_spaces();
  if (pos_ < text_.size() && text_[pos_] == '"') {
    const size_t start_line = line_;
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size()) {
        error_ = Format("line %zu: a quoted field is not closed", start_line);
        return false;
      }
      const char c = text_[pos_];
      if (c == '"') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
          out += '"';
          pos_ += 2;
          continue;
        }
        ++pos_;
        break;
      }
      if (c == '\r' || c == '\n') {
        // A line break inside quotes belongs to the field; it still counts as a line.
        const size_t before = pos_;
        SkipLineEnd();
        out.append(text_.substr(before, pos_ - before));
        continue;
      }
      out += c;
      ++pos_;
    }
    skip_spaces();
    if (!AtLineEnd() && text_[pos_] != separator_) {
      error_ = Format("line %zu: text after the closing quote of a field", line_);
      return false;
    }
    return true;
  }
  const size_t start = pos_;
  while (!AtLineEnd() && text_[pos_] != separator_) ++pos_;
  std::string_view field = text_.substr(start, pos_ - start);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  out.assign(field);
  return true;
}

bool CsvRecords::Next(std::vector<std::string>& fields, size_t& line) {
  fields.clear();
  while (pos_ < text_.size()) {
    // Blank lines (nothing but spaces) hold no record.
    size_t end = pos_;
    while (end < text_.size() && text_[end] == ' ') ++end;
    if (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') break;
    pos_ = end;
    SkipLineEnd();
  }
  if (pos_ >= text_.size()) return false;
  line = line_;
  for (;;) {
    std::string field;
    if (!Field(field)) return false;
    fields.push_back(std::move(field));
    if (AtLineEnd()) break;
    ++pos_;  // past the separator
  }
  SkipLineEnd();
  return true;
}

}  // namespace vorelin
