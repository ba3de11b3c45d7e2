// Packing and unpacking of ex-rights records.
#include "formula/ex_rights.h"

#include <cstdint>

#include "common/byte_order.h"

namespace vorelin {

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
    record.cash = GetF32(p + 5);
    record.rightsPrice = GetF32(p + 9);
    record.bonus = GetF32(p + 13);
    record.rights = GetF32(p + 17);
    records.push_back(record);
  }
  return records;
}

std::string EncodeExRights(const std::vector<ExRightsRecord>& records) {
  std::string out;
  for (const ExRightsRecord& record : records) {
    out += static_cast<char>(record.flag);
    PutU32(out, static_cast<uint32_t>(record.date));
    PutF32(out, record.cash);
    PutF32(out, record.rightsPrice);
    PutF32(out, record.bonus);
    PutF32(out, record.rights);
  }
  return out;
}

}  // namespace vorelin
