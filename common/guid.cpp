#include "common/guid.h"

#include <random>

#include "common/format.h"

namespace vorelin {

std::string NewGuidText() {
  thread_local std::mt19937_64 engine{std::random_device{}()};
  unsigned long long hi = engine();
  unsigned long long lo = engine();
  hi = (hi & ~0xF000ULL) | 0x4000ULL;                           // version 4
  lo = (lo & ~(0xC0ULL << 56)) | (0x80ULL << 56);               // RFC 4122 variant
  return Format("{%08llX-%04llX-%04llX-%04llX-%012llX}", hi >> 32, (hi >> 16) & 0xFFFF,
                hi & 0xFFFF, lo >> 48, lo & 0xFFFFFFFFFFFFULL);
}

std::string RowGuid() { return NewGuidText().substr(1, 31); }

}  // namespace vorelin
