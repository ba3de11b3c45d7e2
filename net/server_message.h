// Messages of the login link: a code, a sub-code and ten texts, "~"-joined and Base64-encoded
// on the wire.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vorelin {

struct ServerMessage {
  int code = 0;
  int sub_code = 0;
  std::array<std::string, 10> texts;  // text 1 is texts[0]

  bool operator==(const ServerMessage&) const = default;
};

// The text a missing field decodes to.
inline constexpr const char* kMissingText = "null";
// The code and sub-code of a field that is not a number.
inline constexpr int kNotANumber = 255;

// Code, sub-code and the ten texts joined by "~" (texts as GBK), Base64-encoded. No line end.
std::string EncodeServerMessage(const ServerMessage& message);

// Reads one received text. Only whole groups of four Base64 characters count (a shorter rest
// and trailing CR/LF are ignored; "=" in a group's third or fourth place ends the data). The
// "~"-separated pieces lose leading spaces and "#", empty pieces are dropped. With at least
// two pieces: code and sub-code from the first two (255 when not numbers), the texts from
// the rest ("null" when missing). Anything else, including a character outside the Base64
// alphabet, gives the empty message. `fields`, when given, receives the number of pieces
// found (0 when the text is not Base64), so that a reader can tell a missing text from one
// that says "null".
ServerMessage DecodeServerMessage(std::string_view text, size_t* fields = nullptr);

}  // namespace vorelin
