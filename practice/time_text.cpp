#include "practice/time_text.h"

#include <ctime>

namespace vorelin {

std::string LocalTimeText(const char* strftime_format) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[64];
  size_t n = std::strftime(buffer, sizeof buffer, strftime_format, &local);
  return std::string(buffer, n);
}

}  // namespace vorelin
