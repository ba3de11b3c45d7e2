// Byte-level helpers of the quote link.
#include "net/quote_protocol.h"

namespace vorelin {
namespace {

constexpr unsigned char kRequestPrefix[] = {0x0C, 0x01, 0x30, 0x00, 0x01, 0x01};

std::string RequestHead(uint16_t type, uint16_t following) {
  std::string out(reinterpret_cast<const char*>(kRequestPrefix), sizeof kRequestPrefix);
  PutU16(out, following);
  PutU16(out, following);
  PutU16(out, type);
  return out;
}

std::string SixByteCode(std::string_view code) {
  std::string out(code.substr(0, 6));
  out.resize(6, '\0');
  return out;
}

}  // namespace

void PutVarInt(std::string& out, int64_t value) {
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  uint8_t first = static_cast<uint8_t>(magnitude & 0x3F);
  if (value < 0) first |= 0x40;
  magnitude >>= 6;
  if (magnitude) first |= 0x80;
  out += static_cast<char>(first);
  while (magnitude) {
    uint8_t next = static_cast<uint8_t>(magnitude & 0x7F);
    magnitude >>= 7;
    if (magnitude) next |= 0x80;
    out += static_cast<char>(next);
  }
}

bool GetVarInt(std::string_view in, size_t& pos, int64_t& value) {
  size_t p = pos;
  if (p >= in.size()) return false;
  uint8_t b = static_cast<uint8_t>(in[p++]);
  bool negative = b & 0x40;
  uint64_t magnitude = b & 0x3F;
  int shift = 6;
  bool more = b & 0x80;
  while (more) {
    if (p >= in.size() || p - pos >= kVarIntMaxBytes) return false;
    b = static_cast<uint8_t>(in[p++]);
    uint64_t bits = b & 0x7F;
    if (bits) {
      if (shift >= 32 || (bits << shift) > 0xFFFFFFFFull) return false;
      magnitude |= bits << shift;
    }
    shift += 7;
    more = b & 0x80;
  }
  if (magnitude > 0x7FFFFFFFull + (negative ? 1 : 0)) return false;
  value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  pos = p;
  return true;
}

std::string HelloPacket() {
  static constexpr unsigned char kHello[] = {0x0C, 0x02, 0x18, 0x93, 0x00, 0x01, 0x03,
                                             0x00, 0x03, 0x00, 0x0D, 0x00, 0x01};
  return std::string(reinterpret_cast<const char*>(kHello), sizeof kHello);
}

std::string MinuteDataRequest(int date, uint8_t market, std::string_view code) {
  std::string out = RequestHead(kMinuteDataType, 0x0D);
  PutU32(out, static_cast<uint32_t>(date));
  out += static_cast<char>(market);
  out += SixByteCode(code);
  return out;
}

std::string TransactionsRequest(int date, uint16_t market, std::string_view code, uint16_t start,
                                uint16_t count) {
  std::string out = RequestHead(kTransactionsType, 0x12);
  PutU32(out, static_cast<uint32_t>(date));
  PutU16(out, market);
  out += SixByteCode(code);
  PutU16(out, start);
  PutU16(out, count);
  return out;
}

uint16_t RequestType(std::string_view request) {
  size_t pos = 10;
  uint16_t type = 0;
  return GetU16(request, pos, type) ? type : 0;
}

bool ParseRequest(std::string_view request, ParsedRequest& parsed) {
  size_t pos = 6;
  uint16_t following = 0;
  if (!GetU16(request, pos, following) || request.size() != kRequestHeadSize + following)
    return false;
  ParsedRequest out;
  out.type = RequestType(request);
  pos = 12;
  uint32_t date = 0;
  if (out.type == kMinuteDataType && following == 0x0D) {
    GetU32(request, pos, date);
    out.market = static_cast<uint8_t>(request[pos++]);
  } else if (out.type == kTransactionsType && following == 0x12) {
    GetU32(request, pos, date);
    GetU16(request, pos, out.market);
  } else {
    return false;
  }
  out.date = static_cast<int>(date);
  std::string_view code = request.substr(pos, 6);
  out.code = std::string(code.substr(0, code.find('\0')));
  pos += 6;
  if (out.type == kTransactionsType) {
    GetU16(request, pos, out.start);
    GetU16(request, pos, out.count);
  }
  parsed = out;
  return true;
}

std::string EncodeAnswerHeader(const AnswerHeader& header) {
  std::string out;
  PutU32(out, kAnswerMagic);
  out += static_cast<char>(header.flags);
  out.append(5, '\0');
  PutU16(out, header.type);
  PutU16(out, header.stored_size);
  PutU16(out, header.plain_size);
  return out;
}

bool DecodeAnswerHeader(std::string_view bytes, AnswerHeader& header) {
  size_t pos = 0;
  uint32_t magic = 0;
  if (!GetU32(bytes, pos, magic) || magic != kAnswerMagic || bytes.size() < kAnswerHeaderSize)
    return false;
  AnswerHeader out;
  out.flags = static_cast<uint8_t>(bytes[4]);
  pos = 10;
  GetU16(bytes, pos, out.type);
  GetU16(bytes, pos, out.stored_size);
  GetU16(bytes, pos, out.plain_size);
  header = out;
  return true;
}

}  // namespace vorelin
