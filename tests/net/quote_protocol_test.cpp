// The quote link's byte layouts: requests byte for byte, the answer header and the
// variable-length integers, with every length checked.
#include <gtest/gtest.h>

#include "net/quote_protocol.h"

namespace vorelin {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out += static_cast<char>(v);
  return out;
}

TEST(QuoteProtocol, RequestsByteForByte) {
  EXPECT_EQ(HelloPacket(), Bytes({0x0C, 0x02, 0x18, 0x93, 0x00, 0x01, 0x03, 0x00, 0x03, 0x00,
                                  0x0D, 0x00, 0x01}));
  // 20240105 = 0x0134D6E9
  EXPECT_EQ(MinuteDataRequest(20240105, 1, "600000"),
            Bytes({0x0C, 0x01, 0x30, 0x00, 0x01, 0x01, 0x0D, 0x00, 0x0D, 0x00, 0xB4, 0x0F, 0xE9,
                   0xD6, 0x34, 0x01, 0x01}) + "600000");
  EXPECT_EQ(TransactionsRequest(20240105, 0, "000001", 2000, 2000),
            Bytes({0x0C, 0x01, 0x30, 0x00, 0x01, 0x01, 0x12, 0x00, 0x12, 0x00, 0xB5, 0x0F, 0xE9,
                   0xD6, 0x34, 0x01, 0x00, 0x00}) + "000001" + Bytes({0xD0, 0x07, 0xD0, 0x07}));
  EXPECT_EQ(MinuteDataRequest(20240105, 1, "600000").size(), 23u);
  EXPECT_EQ(TransactionsRequest(20240105, 1, "600000", 0, 2000).size(), 28u);
  // A short code is padded with zero bytes, a long one cut.
  EXPECT_EQ(MinuteDataRequest(1, 0, "12").substr(17), std::string("12\0\0\0\0", 6));
  EXPECT_EQ(MinuteDataRequest(1, 0, "12345678").substr(17), "123456");
}

TEST(QuoteProtocol, ServerReadsRequestsBack) {
  ParsedRequest p;
  ASSERT_TRUE(ParseRequest(TransactionsRequest(20240105, 1, "600000", 2000, 1500), p));
  EXPECT_EQ(p.type, kTransactionsType);
  EXPECT_EQ(p.date, 20240105);
  EXPECT_EQ(p.market, 1);
  EXPECT_EQ(p.code, "600000");
  EXPECT_EQ(p.start, 2000);
  EXPECT_EQ(p.count, 1500);
  ASSERT_TRUE(ParseRequest(MinuteDataRequest(20240105, 1, "12"), p));
  EXPECT_EQ(p.code, "12");
  EXPECT_FALSE(ParseRequest(HelloPacket(), p));
  EXPECT_FALSE(ParseRequest(MinuteDataRequest(20240105, 1, "1").substr(0, 20), p));
}

TEST(QuoteProtocol, AnswerHeader) {
  AnswerHeader h{kCompressedFlag, kMinuteDataType, 300, 1200};
  std::string bytes = EncodeAnswerHeader(h);
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(bytes.substr(0, 4), Bytes({0xB1, 0xCB, 0x74, 0x00}));
  AnswerHeader back;
  ASSERT_TRUE(DecodeAnswerHeader(bytes, back));
  EXPECT_EQ(back.flags, kCompressedFlag);
  EXPECT_EQ(back.type, kMinuteDataType);
  EXPECT_EQ(back.stored_size, 300);
  EXPECT_EQ(back.plain_size, 1200);
  EXPECT_FALSE(DecodeAnswerHeader(bytes.substr(0, 15), back));
  bytes[0] = 0;
  EXPECT_FALSE(DecodeAnswerHeader(bytes, back));
}

TEST(QuoteProtocol, VarIntValues) {
  struct Case { const char* name; int64_t value; std::string bytes; };
  const Case cases[] = {
      {"zero", 0, Bytes({0x00})},
      {"largest one-byte", 63, Bytes({0x3F})},
      {"minus one", -1, Bytes({0x41})},
      {"two bytes", 64, Bytes({0x80, 0x01})},
      {"negative two bytes", -100, Bytes({0xE4, 0x01})},  // 100 = 36 + 1*64
      {"three bytes", 10000, Bytes({0x90, 0x9C, 0x01})},  // 16 + 28*64 + 1*8192
      {"largest 32-bit", 2147483647, Bytes({0xBF, 0xFF, 0xFF, 0xFF, 0x0F})},
      {"smallest 32-bit", -2147483648LL, Bytes({0xC0, 0x80, 0x80, 0x80, 0x10})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out;
    PutVarInt(out, c.value);
    EXPECT_EQ(out, c.bytes);
    size_t pos = 0;
    int64_t back = 0;
    ASSERT_TRUE(GetVarInt(out + "tail", pos, back));
    EXPECT_EQ(back, c.value);
    EXPECT_EQ(pos, c.bytes.size());
  }
}

TEST(QuoteProtocol, VarIntLimits) {
  int64_t value = 0;
  // 32 bytes with empty continuation bytes still read; a 33rd byte does not.
  std::string longest = std::string(1, '\x85') + std::string(30, '\x80') + std::string(1, '\0');
  size_t pos = 0;
  ASSERT_TRUE(GetVarInt(longest, pos, value));
  EXPECT_EQ(value, 5);
  EXPECT_EQ(pos, 32u);
  std::string too_long = std::string(1, '\x85') + std::string(31, '\x80') + std::string(1, '\0');
  pos = 0;
  EXPECT_FALSE(GetVarInt(too_long, pos, value));
  EXPECT_EQ(pos, 0u);

  struct Case { const char* name; std::string bytes; };
  const Case bad[] = {
      {"empty", ""},
      {"continuation past the end", Bytes({0x80, 0x81})},
      {"beyond 32 bits", Bytes({0xBF, 0xFF, 0xFF, 0xFF, 0x7F})},
      {"2^31 positive", Bytes({0x80, 0x80, 0x80, 0x80, 0x10})},
  };
  for (const Case& c : bad) {
    SCOPED_TRACE(c.name);
    pos = 0;
    EXPECT_FALSE(GetVarInt(c.bytes, pos, value));
    EXPECT_EQ(pos, 0u);
  }
}

TEST(QuoteProtocol, FixedWidthReadersCheckLength) {
  std::string two = Bytes({0x34, 0x12});
  size_t pos = 0;
  uint16_t v16 = 0;
  uint32_t v32 = 0;
  ASSERT_TRUE(GetU16(two, pos, v16));
  EXPECT_EQ(v16, 0x1234);
  EXPECT_FALSE(GetU16(two, pos, v16));
  pos = 0;
  EXPECT_FALSE(GetU32(two, pos, v32));
  EXPECT_EQ(pos, 0u);
}

}  // namespace
}  // namespace vorelin
