// Quote answers: plain and compressed bodies, minute and transaction records, and answers
// whose sizes or records do not hold together.
#include <gtest/gtest.h>

#include "net/quote_answer.h"

namespace vorelin {
namespace {

const std::vector<MinuteRecord> kMinutes = {{1023, 500}, {1025, 300}, {1019, 0}, {1030, 12000}};

std::string Answer(uint16_t type, const std::string& body, size_t compress_above) {
  std::string answer;
  EXPECT_TRUE(EncodeQuoteAnswer(type, body, compress_above, answer));
  return answer;
}

TEST(QuoteAnswer, MinuteAnswerPlainAndCompressedDecodeAlike) {
  std::string body = EncodeMinuteBody(kMinutes);
  std::string plain = Answer(kMinuteDataType, body, 100000);
  std::string packed = Answer(kMinuteDataType, std::string(body) + std::string(400, '\0'), 0);
  EXPECT_EQ(static_cast<uint8_t>(plain[4]), 0);
  EXPECT_EQ(static_cast<uint8_t>(packed[4]), kCompressedFlag);
  for (const std::string* answer : {&plain, &packed}) {
    QuoteAnswer decoded;
    ASSERT_TRUE(DecodeQuoteAnswer(*answer, decoded));
    EXPECT_EQ(decoded.type, kMinuteDataType);
    ASSERT_EQ(decoded.minutes.size(), 4u);
    EXPECT_EQ(decoded.minutes[0], (TMinutePoint{0, 10.23f, 500}));
    EXPECT_EQ(decoded.minutes[2], (TMinutePoint{2, 10.19f, 0}));
    EXPECT_EQ(decoded.minutes[3], (TMinutePoint{3, 10.30f, 12000}));
  }
}

TEST(QuoteAnswer, TransactionsAnswer) {
  std::vector<TradeRecord> trades = {
      {570, 1023, 100, 0}, {571, 1025, 5, 1}, {780, 1020, 7, 0}, {899, 1021, 9, 2}};
  QuoteAnswer decoded;
  ASSERT_TRUE(DecodeQuoteAnswer(Answer(kTransactionsType, EncodeTradeBody(trades), 0), decoded));
  ASSERT_EQ(decoded.ticks.size(), 4u);
  EXPECT_EQ(decoded.ticks[0], (TTradeTick{925, 10.23f, 100, 0}));  // 09:30 listed as 09:25
  EXPECT_EQ(decoded.ticks[1], (TTradeTick{931, 10.25f, 5, 1}));
  EXPECT_EQ(decoded.ticks[2], (TTradeTick{1300, 10.20f, 7, 0}));
  EXPECT_EQ(decoded.ticks[3], (TTradeTick{1459, 10.21f, 9, 2}));
}

TEST(QuoteAnswer, ClockTimes) {
  EXPECT_EQ(TradeClockTime(570), 925);
  EXPECT_EQ(TradeClockTime(569), 929);
  EXPECT_EQ(TradeClockTime(690), 1130);
  EXPECT_EQ(TradeClockTime(900), 1500);
}

TEST(QuoteAnswer, EndMarkerStopsTheList) {
  std::string body;
  PutU16(body, 3);
  body.append(4, '\0');
  PutVarInt(body, 1000);
  PutVarInt(body, 0);
  PutVarInt(body, 7);
  PutVarInt(body, kListEndMarker);
  std::vector<TMinutePoint> points;
  ASSERT_TRUE(DecodeMinutePoints(body, points));
  ASSERT_EQ(points.size(), 1u);
  EXPECT_FLOAT_EQ(points[0].price, 10.0f);
}

TEST(QuoteAnswer, BrokenAnswersAreDropped) {
  std::string body = EncodeMinuteBody(kMinutes);
  std::string good = Answer(kMinuteDataType, body, 100000);
  std::string packed = Answer(kMinuteDataType, body, 0);
  auto with_u16 = [](std::string answer, size_t offset, uint16_t value) {
    answer[offset] = static_cast<char>(value & 0xFF);
    answer[offset + 1] = static_cast<char>(value >> 8);
    return answer;
  };
  std::string garbage_inflate = packed;
  garbage_inflate[kAnswerHeaderSize + 2] ^= 0x55;
  std::string trade_body = EncodeTradeBody({{600, 1000, 5, 0}});

  struct Case { const char* name; std::string answer; };
  const Case cases[] = {
      {"short header", good.substr(0, 15)},
      {"bad magic", with_u16(good, 0, 0x1234)},
      {"stored size beyond the bytes received", good.substr(0, good.size() - 1)},
      {"plain size beyond an uncompressed body", with_u16(good, 14, body.size() + 1)},
      {"record runs past the body", with_u16(with_u16(good, 12, body.size() - 1), 14,
                                             body.size() - 1)},
      {"count larger than the records", with_u16(good, kAnswerHeaderSize, 5)},
      {"inflate of garbage", garbage_inflate},
      {"inflate gives more than the plain size", with_u16(packed, 14, body.size() - 3)},
      {"inflate gives less than the plain size", with_u16(packed, 14, body.size() + 3)},
      {"transaction side bytes missing",
       Answer(kTransactionsType, trade_body.substr(0, trade_body.size() - 1), 100000)},
      {"unknown type", Answer(0x0FB6, body, 100000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QuoteAnswer decoded;
    decoded.type = 77;
    EXPECT_FALSE(DecodeQuoteAnswer(c.answer, decoded));
    EXPECT_EQ(decoded.type, 77);  // untouched
  }
}

TEST(QuoteAnswer, TinyBodyIsAnEmptyList) {
  QuoteAnswer decoded;
  ASSERT_TRUE(DecodeQuoteAnswer(Answer(kTransactionsType, "\x01\x00", 100000), decoded));
  EXPECT_TRUE(decoded.ticks.empty());
}

}  // namespace
}  // namespace vorelin
