#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/byte_order.h"

namespace vorelin {
namespace {

TEST(ByteOrder, WritesLowByteFirstAndReadsItBack) {
  std::string out;
  PutU16(out, 0x1234);
  PutU32(out, 0xA1B2C3D4u);
  PutU64(out, 0x0102030405060708ull);
  EXPECT_EQ(out, std::string("\x34\x12\xD4\xC3\xB2\xA1\x08\x07\x06\x05\x04\x03\x02\x01", 14));
  EXPECT_EQ(GetU16(out.data()), 0x1234);
  EXPECT_EQ(GetU32(out.data() + 2), 0xA1B2C3D4u);
  EXPECT_EQ(GetU64(out.data() + 6), 0x0102030405060708ull);
}

TEST(ByteOrder, FloatsRoundTripBitForBit) {
  for (double v : {0.0, -0.0, 1.5, -123456.789, std::numeric_limits<double>::denorm_min(),
                   std::numeric_limits<double>::max(), -10'000'000.0}) {
    SCOPED_TRACE(v);
    std::string out;
    PutF64(out, v);
    PutF32(out, static_cast<float>(v));
    EXPECT_EQ(std::signbit(GetF64(out.data())), std::signbit(v));
    EXPECT_EQ(GetF64(out.data()), v);
    EXPECT_EQ(GetF32(out.data() + 8), static_cast<float>(v));
  }
  std::string one;
  PutF32(one, 1.0f);
  EXPECT_EQ(one, std::string("\x00\x00\x80\x3F", 4));
}

TEST(ByteOrder, CursorReadersStopAtTheEnd) {
  const std::string in("\x01\x02\x03", 3);
  size_t pos = 0;
  uint16_t small = 0;
  uint32_t large = 0;
  EXPECT_TRUE(GetU16(in, pos, small));
  EXPECT_EQ(small, 0x0201);
  EXPECT_EQ(pos, 2u);
  EXPECT_FALSE(GetU16(in, pos, small));
  EXPECT_EQ(pos, 2u);
  pos = 0;
  EXPECT_FALSE(GetU32(in, pos, large));
  EXPECT_EQ(pos, 0u);
  pos = 7;  // past the end
  EXPECT_FALSE(GetU16(in, pos, small));
}

}  // namespace
}  // namespace vorelin
