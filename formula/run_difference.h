// Whether two interpreters ended their runs alike: the same error text, output entries,
// constants, header values and computed series, values compared bit for bit.
#pragma once

#include <string>

namespace vorelin {

class TGS;

// Empty when alike, else the first difference in words.
std::string RunDifference(const TGS& got, const TGS& want);

}  // namespace vorelin
