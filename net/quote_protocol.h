// The quote server's byte layouts: the hello packet, the two requests, the 16-byte answer
// header and the variable-length integers of answer records. Every reader checks lengths.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/byte_order.h"

namespace vorelin {

inline constexpr uint16_t kMinuteDataType = 0x0FB4;
inline constexpr uint16_t kTransactionsType = 0x0FB5;
inline constexpr uint16_t kHelloType = 0x000D;
inline constexpr uint32_t kAnswerMagic = 7654321;
inline constexpr size_t kAnswerHeaderSize = 16;
inline constexpr uint8_t kCompressedFlag = 0x10;
inline constexpr int kTransactionPageSize = 2000;
// A record integer equal to this ends a list early.
inline constexpr int64_t kListEndMarker = -9999999;
inline constexpr size_t kVarIntMaxBytes = 32;
// Request heads: bytes 6-7 give the count of bytes after byte 9.
inline constexpr size_t kRequestHeadSize = 10;

// Little-endian readers and writers; the readers advance `pos` and fail (pos unchanged)
// when the bytes run out.

// Sign-and-magnitude integers: first byte bit 7 = more follows, bit 6 = negative, bits 0-5
// the lowest bits; each further byte bit 7 = more, bits 0-6 the next seven bits.
void PutVarInt(std::string& out, int64_t value);
// False (pos unchanged) when the integer runs past the input, is longer than 32 bytes or
// does not fit in 32 bits.
bool GetVarInt(std::string_view in, size_t& pos, int64_t& value);

// A quote request as queued: the bytes and an integer the link never reads.
struct TSendBuf {
  std::string bytes;
  int tag = 0;
};

std::string HelloPacket();
// `code` is cut or zero-padded to six ASCII bytes.
std::string MinuteDataRequest(int date, uint8_t market, std::string_view code);
std::string TransactionsRequest(int date, uint16_t market, std::string_view code, uint16_t start,
                                uint16_t count);
// The type word (bytes 10-11) of a request, 0 when it is too short.
uint16_t RequestType(std::string_view request);

// The server's reading of a request. False when the bytes are not one of the two requests.
struct ParsedRequest {
  uint16_t type = 0;
  int date = 0;
  uint16_t market = 0;
  std::string code;
  uint16_t start = 0;
  uint16_t count = 0;
};
bool ParseRequest(std::string_view request, ParsedRequest& parsed);

struct AnswerHeader {
  uint8_t flags = 0;
  uint16_t type = 0;
  uint16_t stored_size = 0;
  uint16_t plain_size = 0;
};
std::string EncodeAnswerHeader(const AnswerHeader& header);
// False when fewer than 16 bytes are given or the magic is wrong.
bool DecodeAnswerHeader(std::string_view bytes, AnswerHeader& header);

}  // namespace vorelin
