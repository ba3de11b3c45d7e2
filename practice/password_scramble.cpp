#include "practice/password_scramble.h"

#include <cstdint>

#include "common/text_encoding.h"

namespace vorelin {
namespace {

constexpr uint16_t kSeed = 197;

uint16_t NextKey(uint16_t h, uint8_t byte) {
  return static_cast<uint16_t>((static_cast<uint32_t>(static_cast<uint16_t>(h + byte)) * 38611u +
                                41077u) & 0xFFFFu);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string ScramblePassword(std::string_view password) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  uint16_t h = kSeed;
  for (unsigned char c : Utf8ToGbk(password)) {
    uint8_t o = static_cast<uint8_t>(c ^ (h >> 8));
    h = NextKey(h, o);
    if (o == 0) o = c;  // stored plain; the key has already moved on with 0
    out += kHex[o >> 4];
    out += kHex[o & 0xF];
  }
  return out;
}

std::string UnscramblePassword(std::string_view hex) {
  if (hex.size() % 2 != 0) return {};
  std::string plain;
  uint16_t h = kSeed;
  for (size_t i = 0; i < hex.size(); i += 2) {
    int hi = HexDigit(hex[i]), lo = HexDigit(hex[i + 1]);
    if (hi < 0 || lo < 0) return {};
    const uint8_t d = static_cast<uint8_t>(hi * 16 + lo);
    if (d == (h >> 8)) {
      plain += static_cast<char>(d);
      h = NextKey(h, 0);
    } else {
      plain += static_cast<char>(d ^ (h >> 8));
      h = NextKey(h, d);
    }
  }
  return GbkToUtf8(plain);
}

}  // namespace vorelin
