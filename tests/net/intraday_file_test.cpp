// The "tick" files: 10-byte records, whole records only, and the minute-to-clock mapping.
#include <gtest/gtest.h>

#include "common/text_file.h"
#include "market/intraday_file.h"
#include "temp_folder.h"

namespace vorelin {
namespace {

TEST(IntradayFile, RecordLayout) {
  std::string bytes = EncodeMinutePoints({{1, 10.5f, -2}});
  // minute 1, 10.5f = 0x41280000, volume -2
  EXPECT_EQ(bytes, std::string("\x01\x00\x00\x00\x28\x41\xFE\xFF\xFF\xFF", 10));
}

TEST(IntradayFile, WholeRecordsOnly) {
  std::vector<TMinutePoint> points = {{0, 10.0f, 5}, {1, 10.1f, 6}};
  std::string bytes = EncodeMinutePoints(points);
  EXPECT_EQ(DecodeMinutePointRecords(bytes), points);
  EXPECT_EQ(DecodeMinutePointRecords(bytes.substr(0, 15)).size(), 1u);
  EXPECT_TRUE(DecodeMinutePointRecords(bytes.substr(0, 9)).empty());
}

TEST(IntradayFile, WriteAndReadBack) {
  TempFolder root;
  std::filesystem::path path = IntradayFilePath(root.Path(), "600000", 20240105);
  EXPECT_EQ(path, root.Path() / "tick" / "60000020240105.bin");
  std::vector<TMinutePoint> points = {{0, 9.87f, 100}, {1, 9.88f, 0}, {2, 9.9f, 42}};
  ASSERT_TRUE(WriteIntradayFile(path, points));
  std::vector<TMinutePoint> back;
  ASSERT_TRUE(ReadIntradayFile(path, back));
  EXPECT_EQ(back, points);
  EXPECT_FALSE(ReadIntradayFile(root.Path() / "tick" / "missing.bin", back));
  EXPECT_EQ(back, points);
}

TEST(IntradayFile, MinuteClockTimes) {
  struct Case { int index; const char* clock; };
  const Case cases[] = {{0, "0930"}, {29, "0959"}, {119, "1129"}, {120, "1300"}, {239, "1459"},
                        {240, "1500"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(MinuteClockText(c.index), c.clock);
  }
}

}  // namespace
}  // namespace vorelin
