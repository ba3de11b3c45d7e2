// The 21-byte ex-rights record as it is stored: flag, date, cash dividend, rights-issue
// price, bonus shares and rights shares, little-endian and packed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formula/interpreter.h"

namespace vorelin {

inline constexpr size_t kExRightsRecordSize = 21;

// Reads whole records up to the first with flag 0, at most 41. A trailing partial record is
// ignored.
std::vector<ExRightsRecord> DecodeExRights(std::string_view bytes);
std::string EncodeExRights(const std::vector<ExRightsRecord>& records);

}  // namespace vorelin
