#include <gtest/gtest.h>

#include "common/format.h"
#include "market/bar_series.h"

namespace vorelin {
namespace {

// Row r: date 20240100+r, open r, high 10+r, low r-1, close r+0.5, amount 100, vol 10.
std::vector<std::string> Rows(int count) {
  std::vector<std::string> lines;
  for (int r = 0; r < count; ++r)
    lines.push_back(Format("%d,%d,%d,%d,%.1f,100,10", 20240100 + r, r, 10 + r, r - 1, r + 0.5));
  return lines;
}

Tstock Aggregated(int rows, int start, int current, int n) {
  Tstock s;
  s.RawLines = Rows(rows);
  s.StartRow = start;
  s.CurrentRow = current;
  s.PeriodMultiplier = n;
  s.Aggregate();
  return s;
}

TEST(Aggregate, FullGroupsThenTheGrowingPartialBar) {
  Tstock s = Aggregated(20, 0, 11, 5);
  ASSERT_EQ(s.BarCount, 3);
  EXPECT_EQ(s.Bars[0].open, 0);
  EXPECT_EQ(s.Bars[0].close, 4.5);
  EXPECT_EQ(s.Bars[0].high, 14);
  EXPECT_EQ(s.Bars[0].low, -1);
  EXPECT_EQ(s.Bars[0].amount, 500);
  EXPECT_EQ(s.Bars[0].vol, 50);
  EXPECT_EQ(s.Bars[0].date, "20240104");
  EXPECT_EQ(s.Bars[1].open, 5);
  EXPECT_EQ(s.Bars[1].date, "20240109");
  EXPECT_EQ(s.Bars[2].open, 10);
  EXPECT_EQ(s.Bars[2].close, 11.5);
  EXPECT_EQ(s.Bars[2].date, "20240111");
  EXPECT_EQ(s.Bars[2].vol, 20);

  // One more revealed row grows the partial bar: same open, new close.
  s.CurrentRow = 12;
  s.Aggregate();
  ASSERT_EQ(s.BarCount, 3);
  EXPECT_EQ(s.Bars[2].open, 10);
  EXPECT_EQ(s.Bars[2].close, 12.5);
  EXPECT_EQ(s.Bars[2].vol, 30);
}

TEST(Aggregate, EdgeCases) {
  EXPECT_EQ(Aggregated(20, 4, 4, 5).BarCount, 0);  // start = current: nothing
  Tstock wide = Aggregated(20, 2, 7, 100);         // N above the span: one partial bar
  ASSERT_EQ(wide.BarCount, 1);
  EXPECT_EQ(wide.Bars[0].open, 2);
  EXPECT_EQ(wide.Bars[0].close, 7.5);
  Tstock clamped = Aggregated(8, -3, 50, 5);       // rows clamped into the file
  EXPECT_EQ(clamped.StartRow, 0);
  EXPECT_EQ(clamped.CurrentRow, 7);
  EXPECT_EQ(clamped.BarCount, 2);
  Tstock one = Aggregated(20, 0, 3, 1);
  ASSERT_EQ(one.BarCount, 4);
  EXPECT_EQ(one.Bars[3].high, 13);
  Tstock empty;
  empty.Aggregate();
  EXPECT_EQ(empty.BarCount, 0);
  EXPECT_EQ(empty.CurrentRow, 0);
}

TEST(CombineGroup, StartingExtremes) {
  TBarRecord expensive[2] = {{"1", "", 2e6, 3e6, 2e6, 2e6, 1, 1}, {"2", "", 2e6, 3e6, 1.5e6, 2e6, 1, 1}};
  EXPECT_EQ(Tstock::CombineGroup(expensive, 2).low, 1000000);
  TBarRecord deep[2] = {{"1", "", -5e5, -2e5, -6e5, -5e5, 1, 1}, {"2", "", 0, -3e5, -7e5, 0, 1, 1}};
  EXPECT_EQ(Tstock::CombineGroup(deep, 2).high, -100000);
  TBarRecord single = {"9", "0931", 1, 2, 0.5, 1.5, 3, 4};
  TBarRecord same = Tstock::CombineGroup(&single, 1);
  EXPECT_EQ(same.time, "0931");
  EXPECT_EQ(same.low, 0.5);
}

}  // namespace
}  // namespace vorelin
