// printf-style formatting with the C locale's "." decimal point, whatever the process locale
// (Qt sets the user's locale at start-up).
#pragma once

#include <string>

namespace vorelin {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vorelin
