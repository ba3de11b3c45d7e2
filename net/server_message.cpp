// The login link's message codec.
#include "net/server_message.h"

#include <optional>
#include <vector>

#include "common/base64.h"
#include "common/numbers.h"
#include "common/text_encoding.h"

namespace vorelin {
namespace {

// Lenient Base64 of the link: whole groups only, "=" ends the data. Nullopt on a character
// outside the alphabet.
std::optional<std::string> DecodeGroups(std::string_view text) {
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
  std::string out;
  for (size_t i = 0; i + 4 <= text.size(); i += 4) {
    int a = Base64Value(text[i]);
    int b = Base64Value(text[i + 1]);
    if (a < 0 || b < 0) return std::nullopt;
    bool third_pad = text[i + 2] == '=';
    bool fourth_pad = text[i + 3] == '=';
    int c = third_pad ? 0 : Base64Value(text[i + 2]);
    int d = third_pad || fourth_pad ? 0 : Base64Value(text[i + 3]);
    if (c < 0 || d < 0) return std::nullopt;
    unsigned v = (static_cast<unsigned>(a) << 18) | (static_cast<unsigned>(b) << 12) |
                 (static_cast<unsigned>(c) << 6) | static_cast<unsigned>(d);
    out += static_cast<char>((v >> 16) & 0xFF);
    if (third_pad) break;
    out += static_cast<char>((v >> 8) & 0xFF);
    if (fourth_pad) break;
    out += static_cast<char>(v & 0xFF);
  }
  return out;
}

std::vector<std::string_view> SplitPieces(std::string_view data) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  while (start <= data.size()) {
    size_t end = data.find('~', start);
    if (end == std::string_view::npos) end = data.size();
    std::string_view piece = data.substr(start, end - start);
    while (!piece.empty() && (piece.front() == ' ' || piece.front() == '#')) piece.remove_prefix(1);
    if (!piece.empty()) pieces.push_back(piece);
    start = end + 1;
  }
  return pieces;
}

}  // namespace

std::string EncodeServerMessage(const ServerMessage& message) {
  std::string joined = std::to_string(message.code) + "~" + std::to_string(message.sub_code);
  for (const std::string& text : message.texts) joined += "~" + Utf8ToGbk(text);
  return Base64Encode(joined);
}

ServerMessage DecodeServerMessage(std::string_view text, size_t* fields) {
  ServerMessage message;
  if (fields) *fields = 0;
  std::optional<std::string> data = DecodeGroups(text);
  if (!data) return message;
  std::vector<std::string_view> pieces = SplitPieces(*data);
  if (fields) *fields = pieces.size();
  if (pieces.size() < 2) return message;
  message.code = ParseIntOr(pieces[0], kNotANumber);
  message.sub_code = ParseIntOr(pieces[1], kNotANumber);
  for (size_t k = 0; k < message.texts.size(); ++k) {
    message.texts[k] = k + 2 < pieces.size() ? GbkToUtf8(pieces[k + 2]) : kMissingText;
  }
  return message;
}

}  // namespace vorelin
