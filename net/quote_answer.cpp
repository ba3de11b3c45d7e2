// Decoding and encoding of quote answer bodies; zlib does the compression.
#include "net/quote_answer.h"

#include <zlib.h>

namespace vorelin {
namespace {

constexpr size_t kListHeadSize = 6;

bool Inflate(std::string_view stored, size_t plain_size, std::string& plain) {
  std::string out(plain_size, '\0');
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stored.data()));
  stream.avail_in = static_cast<uInt>(stored.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  int status = inflate(&stream, Z_FINISH);
  size_t produced = out.size() - stream.avail_out;
  inflateEnd(&stream);
  // Z_BUF_ERROR with a full buffer means the stream holds more than the plain size.
  if (status != Z_STREAM_END || produced != plain_size) return false;
  plain.swap(out);
  return true;
}

bool ListCount(std::string_view body, size_t& pos, uint16_t& count) {
  pos = 0;
  if (!GetU16(body, pos, count) || body.size() < kListHeadSize) return false;
  pos = kListHeadSize;
  return true;
}

}  // namespace

bool PlainBody(const AnswerHeader& header, std::string_view stored_body, std::string& plain) {
  if (stored_body.size() < header.stored_size) return false;
  stored_body = stored_body.substr(0, header.stored_size);
  if (header.plain_size <= 2) {
    plain.clear();
    return true;
  }
  if (header.flags & kCompressedFlag) return Inflate(stored_body, header.plain_size, plain);
  if (stored_body.size() < header.plain_size) return false;
  plain.assign(stored_body.substr(0, header.plain_size));
  return true;
}

bool DecodeMinutePoints(std::string_view body, std::vector<TMinutePoint>& points) {
  size_t pos = 0;
  uint16_t count = 0;
  if (!ListCount(body, pos, count)) return false;
  std::vector<TMinutePoint> out;
  int64_t total = 0;
  for (int k = 0; k < count; ++k) {
    int64_t price = 0, ignored = 0, volume = 0;
    if (!GetVarInt(body, pos, price)) return false;
    if (price == kListEndMarker) break;
    if (!GetVarInt(body, pos, ignored)) return false;
    if (ignored == kListEndMarker) break;
    if (!GetVarInt(body, pos, volume)) return false;
    if (volume == kListEndMarker) break;
    total += price;
    out.push_back(TMinutePoint{static_cast<uint16_t>(k), static_cast<float>(total / 100.0),
                               static_cast<int32_t>(volume)});
  }
  points.swap(out);
  return true;
}

int TradeClockTime(int minutes_since_midnight) {
  if (minutes_since_midnight == 570) return 925;
  return minutes_since_midnight / 60 * 100 + minutes_since_midnight % 60;
}

bool DecodeTradeTicks(std::string_view body, std::vector<TTradeTick>& ticks) {
  size_t pos = 0;
  uint16_t count = 0;
  if (!ListCount(body, pos, count)) return false;
  std::vector<TTradeTick> out;
  int64_t total = 0;
  for (int k = 0; k < count; ++k) {
    uint16_t minutes = 0;
    int64_t price = 0, volume = 0;
    if (!GetU16(body, pos, minutes)) return false;
    if (!GetVarInt(body, pos, price)) return false;
    if (price == kListEndMarker) break;
    if (!GetVarInt(body, pos, volume)) return false;
    if (volume == kListEndMarker) break;
    if (body.size() - pos < 2) return false;
    uint8_t side = static_cast<uint8_t>(body[pos]);
    pos += 2;
    total += price;
    out.push_back(TTradeTick{TradeClockTime(minutes), static_cast<float>(total / 100.0),
                             static_cast<float>(volume), static_cast<int16_t>(side)});
  }
  ticks.swap(out);
  return true;
}

bool DecodeQuoteAnswer(std::string_view answer, QuoteAnswer& decoded) {
  AnswerHeader header;
  if (!DecodeAnswerHeader(answer, header)) return false;
  std::string plain;
  if (!PlainBody(header, answer.substr(kAnswerHeaderSize), plain)) return false;
  QuoteAnswer out;
  out.type = header.type;
  if (!plain.empty()) {
    if (header.type == kMinuteDataType) {
      if (!DecodeMinutePoints(plain, out.minutes)) return false;
    } else if (header.type == kTransactionsType) {
      if (!DecodeTradeTicks(plain, out.ticks)) return false;
    } else {
      return false;
    }
  }
  decoded = std::move(out);
  return true;
}

std::string EncodeMinuteBody(const std::vector<MinuteRecord>& records) {
  std::string out;
  PutU16(out, static_cast<uint16_t>(records.size()));
  out.append(4, '\0');
  int64_t previous = 0;
  for (const MinuteRecord& r : records) {
    PutVarInt(out, r.price_cents - previous);
    previous = r.price_cents;
    PutVarInt(out, 0);
    PutVarInt(out, r.volume);
  }
  return out;
}

std::string EncodeTradeBody(const std::vector<TradeRecord>& records) {
  std::string out;
  PutU16(out, static_cast<uint16_t>(records.size()));
  out.append(4, '\0');
  int64_t previous = 0;
  for (const TradeRecord& r : records) {
    PutU16(out, r.minutes);
    PutVarInt(out, r.price_cents - previous);
    previous = r.price_cents;
    PutVarInt(out, r.volume);
    out += static_cast<char>(r.side);
    out += '\0';
  }
  return out;
}

bool EncodeQuoteAnswer(uint16_t type, std::string_view plain_body, size_t compress_above,
                       std::string& answer) {
  if (plain_body.size() > 0xFFFF) return false;
  AnswerHeader header;
  header.type = type;
  header.plain_size = static_cast<uint16_t>(plain_body.size());
  std::string stored(plain_body);
  if (plain_body.size() > compress_above) {
    uLongf size = compressBound(static_cast<uLong>(plain_body.size()));
    std::string packed(size, '\0');
    if (compress(reinterpret_cast<Bytef*>(packed.data()), &size,
                 reinterpret_cast<const Bytef*>(plain_body.data()),
                 static_cast<uLong>(plain_body.size())) != Z_OK)
      return false;
    packed.resize(size);
    stored.swap(packed);
    header.flags = kCompressedFlag;
  }
  if (stored.size() > 0xFFFF) return false;
  header.stored_size = static_cast<uint16_t>(stored.size());
  answer = EncodeAnswerHeader(header) + stored;
  return true;
}

}  // namespace vorelin
