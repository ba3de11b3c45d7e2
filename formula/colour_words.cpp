// The sixteen named colours and the six-hex-digit form.
#include "formula/colour_words.h"

#include <array>
#include <utility>

#include "formula/function_table.h"

namespace vorelin {

namespace {

constexpr std::array<std::pair<std::string_view, uint32_t>, 16> kColours = {{
    {"COLORBLACK", 0x000000},   {"COLORBLUE", 0xFF0000},     {"COLORGREEN", 0x00FF00},
    {"COLORCYAN", 0xFFFF00},    {"COLORRED", 0x0000FF},      {"COLORMAGENTA", 0xFF00FF},
    {"COLORBROWN", 0x008080},   {"COLORLIGRAY", 0xC0C0C0},   {"COLORGRAY", 0x808080},
    {"COLORLIBLUE", 0xC0C000},  {"COLORLIGREEN", 0x40C040},  {"COLORLICYAN", 0x808000},
    {"COLORLIRED", 0x8080FF},   {"COLORLIMAGENTA", 0xFF00FF}, {"COLORYELLOW", 0x00FFFF},
    {"COLORWHITE", 0xFFFFFF},
}};

int HexDigit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

}  // namespace

uint32_t ColourOf(std::string_view word) {
  std::string upper = AsciiUpper(word);
  for (const auto& [name, value] : kColours) {
    if (upper == name) return value;
  }
  if (upper.size() == 11 && upper.compare(0, 5, "COLOR") == 0) {
    uint32_t value = 0;
    for (size_t i = 5; i < 11; ++i) {
      int digit = HexDigit(upper[i]);
      if (digit < 0) return kColourWhite;
      value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
  }
  return kColourWhite;
}

}  // namespace vorelin
