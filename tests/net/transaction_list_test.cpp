// The '分笔成交' list: line format, paging answers of 2000, its file, '盘口' matching and
// line colours.
#include <gtest/gtest.h>

#include "common/text_file.h"
#include "market/transaction_list.h"
#include "temp_folder.h"

namespace vorelin {
namespace {

std::vector<TTradeTick> Ticks(int count, int first_time) {
  std::vector<TTradeTick> ticks;
  for (int i = 0; i < count; ++i)
    ticks.push_back({first_time + i % 50, 10.0f + i % 7, static_cast<float>(100 + i), int16_t(i % 2)});
  return ticks;
}

TEST(TransactionList, LineFormat) {
  EXPECT_EQ(FormatTradeLine({925, 10.23f, 500, 0}), " 0925  10.230    500 B");
  EXPECT_EQ(FormatTradeLine({1459, 123.4567f, 1234567, 1}), " 1459 123.457 1234567 S");
  EXPECT_EQ(FormatTradeLine({931, 5.0f, 2.5f, -1}), " 0931   5.000      2 S");
  EXPECT_EQ(DayCaptionText(20240105), "2024年1月05日 星期五");
}

TEST(TransactionList, WholePageAsksForTheNextAndEarlierPageGoesOnTop) {
  TransactionList list;
  TransactionList::NextPage first = list.AddAnswer(Ticks(2000, 1000), 20240105);
  EXPECT_TRUE(first.wanted);
  EXPECT_EQ(first.start, 2000);
  ASSERT_EQ(list.Lines().size(), 2001u);
  EXPECT_EQ(list.Lines()[0], "2024年1月05日 星期五");
  EXPECT_EQ(list.Lines()[1], FormatTradeLine(Ticks(1, 1000)[0]));

  std::vector<TTradeTick> earlier = Ticks(2000, 930);
  TransactionList::NextPage second = list.AddAnswer(earlier, 20240105);
  EXPECT_TRUE(second.wanted);
  EXPECT_EQ(second.start, 4000);  // transactions, not lines
  ASSERT_EQ(list.Lines().size(), 4001u);
  EXPECT_EQ(list.Lines()[0], "2024年1月05日 星期五");
  EXPECT_EQ(list.Lines()[1], FormatTradeLine(earlier[0]));
  EXPECT_EQ(list.Lines()[2001], FormatTradeLine(Ticks(1, 1000)[0]));

  EXPECT_FALSE(list.AddAnswer(Ticks(1999, 930), 20240105).wanted);
  EXPECT_EQ(std::count(list.Lines().begin(), list.Lines().end(), "2024年1月05日 星期五"), 1);
  list.Clear();
  EXPECT_TRUE(list.Lines().empty());
  EXPECT_FALSE(list.AddAnswer(Ticks(3, 930), 20240105).wanted);
}

TEST(TransactionList, FileAndPankou) {
  TempFolder root;
  std::filesystem::path path = TransactionListPath(root.Path(), "600000", 20240105);
  EXPECT_EQ(path, root.Path() / "fenbi" / "600000 20240105.txt");
  TransactionList list;
  list.AddAnswer({{930, 10.0f, 5, 0}, {931, 10.5f, 10930, 1}, {932, 11.0f, 7, 0}}, 20240105);
  ASSERT_TRUE(list.Write(path));
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines(path, lines));
  EXPECT_EQ(lines, list.Lines());
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_NE(bytes.find("\r\n"), std::string::npos);

  // Matching is by containment: the 09:31 line's volume 10930 holds "0930" too.
  std::vector<std::string> at_0930 = PankouLines(path, "0930");
  ASSERT_EQ(at_0930.size(), 2u);
  EXPECT_EQ(at_0930[0], list.Lines()[1]);
  EXPECT_EQ(at_0930[1], list.Lines()[2]);
  EXPECT_EQ(PankouLines(path, "0932").size(), 1u);
  EXPECT_TRUE(PankouLines(root.Path() / "fenbi" / "none.txt", "0930").empty());
}

TEST(TransactionList, LineColours) {
  EXPECT_EQ(ListLineColour(" 0930  10.000      5 B"), kBuyLineColour);
  EXPECT_EQ(ListLineColour(" 0930  10.000      5 S"), kSellLineColour);
  EXPECT_EQ(ListLineColour("SB"), kBuyLineColour);  // both: red
  EXPECT_EQ(ListLineColour("2024年1月05日 星期五"), std::nullopt);
  EXPECT_EQ(kBuyLineColour, 0x0000FFu);
}

}  // namespace
}  // namespace vorelin
