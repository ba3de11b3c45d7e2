// Colour words of the formula language (COLORRED ... and COLORBBGGRR) as 0x00BBGGRR values.
#pragma once

#include <cstdint>
#include <string_view>

namespace vorelin {

inline constexpr uint32_t kColourWhite = 0xFFFFFF;

// The colour of a word; anything that is not a colour word (COLORSTICK included) is white.
uint32_t ColourOf(std::string_view word);

}  // namespace vorelin
