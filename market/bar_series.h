// One stock's history: the data file's lines, the parsed bars and the replay position.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/message_sink.h"
#include "market/bar_record.h"

namespace vorelin {

inline constexpr const char* kBadFormatMessage = "数据格式不合法，请检查数据文件格式！当前行：";

class Tstock {
 public:
  // `messages` receives the bad-format message; it may be null (nothing is shown).
  explicit Tstock(MessageSink* messages = nullptr) : messages_(messages) {}

  void SetMessageSink(MessageSink* messages) { messages_ = messages; }

  // Reads `FileName` into `RawLines` and parses every line into `Bars`. False (the series
  // unchanged, `error` naming the file) when it is missing or no readable regular file.
  bool LoadBars(std::string* error = nullptr);
  // Replaces the lines as if they had been read from a file.
  void LoadLines(std::vector<std::string> lines);

  // Splits and converts one line; a bad line gives the blank bar and, the first time in
  // this series' life, the bad-format message with `row`.
  TBarRecord ParseLine(std::string_view line, int row);

  TBarRecord NextBar();
  void SetCurrentRow(int n) { CurrentRow = n < 0 ? 0 : n; }
  bool IsAtStart() const { return Cursor <= 0; }
  bool IsAtEnd() const { return Cursor > BarCount - 1; }
  int RevealedSpan() const { return StartRow < CurrentRow ? CurrentRow - StartRow : 0; }
  bool FindDate(int x);
  void CopyFrom(const Tstock& other);

  // Rebuilds `Bars` from rows StartRow .. CurrentRow in groups of PeriodMultiplier rows.
  void Aggregate();
  static TBarRecord CombineGroup(const TBarRecord* bars, size_t count);

  std::vector<std::string> RawLines;
  std::string FileName;
  std::vector<TBarRecord> Bars;
  int BarCount = 0;
  int Cursor = 0;
  int CurrentRow = 0;
  int StartRow = 0;
  int PeriodMultiplier = 1;
  int FoundIndex = 0;
  bool Found = false;
  bool FormatWarned = false;

 private:
  MessageSink* messages_;
};

}  // namespace vorelin
