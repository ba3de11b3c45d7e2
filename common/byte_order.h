// Little-endian fields of the binary files and packets (stock directory, ex-rights, index
// and raw-data files, intraday records, quote packets, BMP): one reader and one writer per
// width. Readers take a pointer the caller has checked to hold the field.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorelin {

inline uint16_t GetU16(const char* p) {
  return static_cast<uint16_t>(static_cast<uint8_t>(p[0]) | static_cast<uint8_t>(p[1]) << 8);
}

inline uint32_t GetU32(const char* p) {
  uint32_t value = 0;
  for (int k = 3; k >= 0; --k) value = value << 8 | static_cast<uint8_t>(p[k]);
  return value;
}

inline uint64_t GetU64(const char* p) {
  uint64_t value = 0;
  for (int k = 7; k >= 0; --k) value = value << 8 | static_cast<uint8_t>(p[k]);
  return value;
}

inline float GetF32(const char* p) { return std::bit_cast<float>(GetU32(p)); }
inline double GetF64(const char* p) { return std::bit_cast<double>(GetU64(p)); }

// Cursor readers for packets of unknown length: false (value and cursor unchanged) when
// fewer bytes than the field are left after `pos`.
inline bool GetU16(std::string_view in, size_t& pos, uint16_t& value) {
  if (pos > in.size() || in.size() - pos < 2) return false;
  value = GetU16(in.data() + pos);
  pos += 2;
  return true;
}

inline bool GetU32(std::string_view in, size_t& pos, uint32_t& value) {
  if (pos > in.size() || in.size() - pos < 4) return false;
  value = GetU32(in.data() + pos);
  pos += 4;
  return true;
}

inline void PutU16(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

inline void PutU32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>(value >> shift & 0xFF);
}

inline void PutU64(std::string& out, uint64_t value) {
  for (int shift = 0; shift < 64; shift += 8) out += static_cast<char>(value >> shift & 0xFF);
}

inline void PutF32(std::string& out, float value) { PutU32(out, std::bit_cast<uint32_t>(value)); }
inline void PutF64(std::string& out, double value) { PutU64(out, std::bit_cast<uint64_t>(value)); }

}  // namespace vorelin
