// Local date-and-time texts stamped on journal rows and export names.
#pragma once

#include <string>

namespace vorelin {

// Now in local time through strftime, e.g. "%Y%m%d %H%M%S".
std::string LocalTimeText(const char* strftime_format);

}  // namespace vorelin
