// One bar of a data file.
#pragma once

#include <string>

namespace vorelin {

struct TBarRecord {
  std::string date;  // YYYYMMDD as written in the file, at most 16 characters
  std::string time;  // HHMM as written, empty for day bars, at most 16 characters
  double open = 0;
  double high = 0;
  double low = 0;
  double close = 0;
  double amount = 0;
  double vol = 0;
};

inline constexpr size_t kBarTextLimit = 16;

}  // namespace vorelin
