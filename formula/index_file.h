// The market index files "399001.bin" (Shenzhen) and "999999.bin" (Shanghai): 32-byte
// little-endian day records, read by the index series and written by the sample market.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorelin {

inline constexpr size_t kIndexRecordSize = 32;
inline constexpr const char* kShenzhenIndexFile = "399001.bin";
inline constexpr const char* kShanghaiIndexFile = "999999.bin";

// Prices and volume are kept times 100 as integers.
struct IndexRecord {
  int32_t date = 0;  // YYYYMMDD
  int32_t open = 0;
  int32_t high = 0;
  int32_t low = 0;
  int32_t close = 0;
  float amount = 0;
  int32_t volume = 0;
  int16_t advancing = 0;
  int16_t declining = 0;
};

// Appends the 32 bytes of `record` to `out`.
void PutIndexRecord(const IndexRecord& record, std::string& out);
// Reads one record from exactly kIndexRecordSize bytes.
IndexRecord GetIndexRecord(const char* bytes);

// Codes below 600000, and codes that are no number, belong to Shenzhen.
const char* IndexFileNameFor(std::string_view stockCode);

}  // namespace vorelin
