// Byte layout of one index record, written and read by one pair of helpers.
#include "formula/index_file.h"

#include <cstring>

#include "common/numbers.h"

namespace vorelin {

namespace {

void PutU32(uint32_t value, std::string& out) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutU16(uint16_t value, std::string& out) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

uint32_t GetU32(const char* bytes) {
  uint32_t value = 0;
  for (int k = 3; k >= 0; --k) value = (value << 8) | static_cast<uint8_t>(bytes[k]);
  return value;
}

uint16_t GetU16(const char* bytes) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[0]) |
                               (static_cast<uint8_t>(bytes[1]) << 8));
}

uint32_t FloatBits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

float BitsFloat(uint32_t bits) {
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

void PutIndexRecord(const IndexRecord& record, std::string& out) {
  PutU32(static_cast<uint32_t>(record.date), out);
  PutU32(static_cast<uint32_t>(record.open), out);
  PutU32(static_cast<uint32_t>(record.high), out);
  PutU32(static_cast<uint32_t>(record.low), out);
  PutU32(static_cast<uint32_t>(record.close), out);
  PutU32(FloatBits(record.amount), out);
  PutU32(static_cast<uint32_t>(record.volume), out);
  PutU16(static_cast<uint16_t>(record.advancing), out);
  PutU16(static_cast<uint16_t>(record.declining), out);
}

IndexRecord GetIndexRecord(const char* bytes) {
  IndexRecord record;
  record.date = static_cast<int32_t>(GetU32(bytes));
  record.open = static_cast<int32_t>(GetU32(bytes + 4));
  record.high = static_cast<int32_t>(GetU32(bytes + 8));
  record.low = static_cast<int32_t>(GetU32(bytes + 12));
  record.close = static_cast<int32_t>(GetU32(bytes + 16));
  record.amount = BitsFloat(GetU32(bytes + 20));
  record.volume = static_cast<int32_t>(GetU32(bytes + 24));
  record.advancing = static_cast<int16_t>(GetU16(bytes + 28));
  record.declining = static_cast<int16_t>(GetU16(bytes + 30));
  return record;
}

const char* IndexFileNameFor(std::string_view stockCode) {
  return ParseIntOr(stockCode, 0) < 600000 ? kShenzhenIndexFile : kShanghaiIndexFile;
}

}  // namespace vorelin
