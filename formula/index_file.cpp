// Byte layout of one index record, written and read by one pair of helpers.
#include "formula/index_file.h"

#include "common/byte_order.h"
#include "common/numbers.h"

namespace vorelin {

void PutIndexRecord(const IndexRecord& record, std::string& out) {
  PutU32(out, static_cast<uint32_t>(record.date));
  PutU32(out, static_cast<uint32_t>(record.open));
  PutU32(out, static_cast<uint32_t>(record.high));
  PutU32(out, static_cast<uint32_t>(record.low));
  PutU32(out, static_cast<uint32_t>(record.close));
  PutF32(out, record.amount);
  PutU32(out, static_cast<uint32_t>(record.volume));
  PutU16(out, static_cast<uint16_t>(record.advancing));
  PutU16(out, static_cast<uint16_t>(record.declining));
}

IndexRecord GetIndexRecord(const char* bytes) {
  IndexRecord record;
  record.date = static_cast<int32_t>(GetU32(bytes));
  record.open = static_cast<int32_t>(GetU32(bytes + 4));
  record.high = static_cast<int32_t>(GetU32(bytes + 8));
  record.low = static_cast<int32_t>(GetU32(bytes + 12));
  record.close = static_cast<int32_t>(GetU32(bytes + 16));
  record.amount = GetF32(bytes + 20);
  record.volume = static_cast<int32_t>(GetU32(bytes + 24));
  record.advancing = static_cast<int16_t>(GetU16(bytes + 28));
  record.declining = static_cast<int16_t>(GetU16(bytes + 30));
  return record;
}

const char* IndexFileNameFor(std::string_view stockCode) {
  return ParseIntOr(stockCode, 0) < 600000 ? kShenzhenIndexFile : kShanghaiIndexFile;
}

}  // namespace vorelin
