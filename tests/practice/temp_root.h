// A data root in a temporary folder per test, with helpers to write small bar files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "common/format.h"

namespace vorelin::testing {

// True when `text` has the shape: '9' stands for a digit, 'X' for an upper-case hex digit,
// any other character for itself.
inline bool HasShape(std::string_view text, std::string_view shape) {
  if (text.size() != shape.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool digit = c >= '0' && c <= '9';
    if (shape[i] == '9' ? !digit
        : shape[i] == 'X' ? !(digit || (c >= 'A' && c <= 'F'))
                          : c != shape[i])
      return false;
  }
  return true;
}

class TempRoot {
 public:
  TempRoot() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("vorelin_practice_" + std::to_string(getpid()) + "_" + info->test_suite_name() +
             "_" + info->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempRoot() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

  // A day file of `count` bars from 2024-01-02 on, one per calendar day; bar i closes at
  // 10 + i and has high close + 1.
  void WriteDayFile(const std::string& code, int count) const {
    std::filesystem::create_directories(path_ / "DayData");
    std::ofstream out(path_ / "DayData" / (code + ".TXT"), std::ios::binary);
    for (int i = 0; i < count; ++i) {
      const int date = DateOf(i);
      const double close = 10 + i;
      out << Format("%d,%.2f,%.2f,%.2f,%.2f,%.0f,%.0f\r\n", date, close - 0.5, close + 1,
                    close - 1, close, 1000.0 * (i + 1), 100.0 * (i + 1));
    }
  }
  // A minute file: `days` days of `per_day` bars.
  void WriteMinuteFile(const std::string& code, int days, int per_day) const {
    std::filesystem::create_directories(path_ / "MinData");
    std::ofstream out(path_ / "MinData" / (code + ".TXT"), std::ios::binary);
    for (int d = 0; d < days; ++d)
      for (int m = 0; m < per_day; ++m)
        out << Format("%d,%04d,10,11,9,10.5,100,10\r\n", DateOf(d), 931 + m);
  }
  // Dates of the files above: 20240102, 20240103, ... ascending numbers (past the 31st they
  // are not calendar dates, which the replay does not need).
  static int DateOf(int i) { return 20240102 + i; }

 private:
  std::filesystem::path path_;
};

}  // namespace vorelin::testing
