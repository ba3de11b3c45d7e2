// Packing and unpacking of ex-rights records.
#include "formula/ex_rights.h"

#include <cstdint>
#include <cstring>

namespace vorelin {

namespace {

uint32_t GetU32(const char* p) {
  return static_cast<uint32_t>(static_cast<uint8_t>(p[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(p[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(p[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(p[3])) << 24;
}

void PutU32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

float GetFloat(const char* p) {
  const uint32_t bits = GetU32(p);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void PutFloat(std::string& out, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PutU32(out, bits);
}

}  // namespace

std::vector<ExRightsRecord> DecodeExRights(std::string_view bytes) {
  std::vector<ExRightsRecord> records;
  for (size_t at = 0; at + kExRightsRecordSize <= bytes.size() &&
                      records.size() < static_cast<size_t>(kExRightsCapacity);
       at += kExRightsRecordSize) {
    const char* p = bytes.data() + at;
    ExRightsRecord record;
    record.flag = static_cast<uint8_t>(p[0]);
    if (record.flag == 0) break;
    record.date = static_cast<int32_t>(GetU32(p + 1));
    record.cash = GetFloat(p + 5);
    record.rightsPrice = GetFloat(p + 9);
    record.bonus = GetFloat(p + 13);
    record.rights = GetFloat(p + 17);
    records.push_back(record);
  }
  return records;
}

std::string EncodeExRights(const std::vector<ExRightsRecord>& records) {
  std::string out;
  for (const ExRightsRecord& record : records) {
    out += static_cast<char>(record.flag);
    PutU32(out, static_cast<uint32_t>(record.date));
    PutFloat(out, record.cash);
    PutFloat(out, record.rightsPrice);
    PutFloat(out, record.bonus);
    PutFloat(out, record.rights);
  }
  return out;
}

}  // namespace vorelin
