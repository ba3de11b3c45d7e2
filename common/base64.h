// Base64 with the RFC 4648 alphabet and "=" padding.
#pragma once

#include <string>
#include <string_view>

namespace vorelin {

std::string Base64Encode(std::string_view bytes);

// Strict decoding: length a multiple of four, padding only at the end. False (and `bytes`
// unchanged) on anything else. The login link's lenient reading lives with its codec.
bool Base64Decode(std::string_view text, std::string& bytes);

// The value 0..63 of an alphabet character, or -1.
int Base64Value(char c);

}  // namespace vorelin
