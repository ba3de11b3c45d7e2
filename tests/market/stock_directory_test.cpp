#include <gtest/gtest.h>

#include <cstring>

#include "market/stock_directory.h"

namespace vorelin {
namespace {

TStockDirEntry Entry(const char* code, const char* name, uint8_t market) {
  TStockDirEntry e;
  e.SetCode(code);
  e.SetName(name);
  e.SetMarket(market);
  return e;
}

std::string Header(uint32_t count) {
  std::string h(8, '\0');
  std::memcpy(&h[4], &count, 4);
  return h;
}

std::string Record(const TStockDirEntry& e) {
  return std::string(reinterpret_cast<const char*>(e.bytes.data()), e.bytes.size());
}

TEST(StockDirectory, FieldsAndLookup) {
  std::string bytes = Header(3) + Record(Entry("600000", "浦发银行", 1)) +
                      Record(Entry("000001", "平安银行", 9)) +
                      Record(Entry("000001", "平安", 0));
  StockDirectory dir;
  ASSERT_TRUE(dir.LoadBytes(bytes));
  ASSERT_EQ(dir.Entries().size(), 3u);
  EXPECT_EQ(dir.Entries()[0].Code(), "600000");
  EXPECT_EQ(dir.Entries()[0].Name(), "浦发银行");
  EXPECT_EQ(dir.Entries()[0].Market(), 1);
  // A market byte of 5 or more is skipped.
  const TStockDirEntry* found = dir.FindByCode("000001");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Name(), "平安");
  EXPECT_EQ(dir.FindByCode("00000"), nullptr);
  EXPECT_EQ(dir.FindByCode("999999"), nullptr);
}

TEST(StockDirectory, CountsBeyondTheDataOrTheCapacity) {
  StockDirectory dir;
  // Count says 5, but only two whole records and a fragment follow.
  std::string truncated = Header(5) + Record(Entry("600000", "A", 1)) +
                          Record(Entry("600001", "B", 1)) + std::string(100, 'x');
  ASSERT_TRUE(dir.LoadBytes(truncated));
  EXPECT_EQ(dir.Entries().size(), 2u);
  std::string many = Header(9005);
  for (int i = 0; i < 9003; ++i) many += Record(Entry("600000", "A", 1));
  ASSERT_TRUE(dir.LoadBytes(many));
  EXPECT_EQ(dir.Entries().size(), 9001u);
  EXPECT_FALSE(dir.LoadBytes("abc"));
  EXPECT_TRUE(dir.Entries().empty());
  EXPECT_FALSE(dir.Load("/nonexistent/winbase.dat"));
}

// A code is never cut to six bytes: "6000011" cut would be 600001, another stock.
TEST(StockDirectory, CodesAreOneToSixLettersOrDigits) {
  for (const char* good : {"600000", "1", "SH6000", "abc12"}) {
    SCOPED_TRACE(good);
    EXPECT_TRUE(IsDirectoryCode(good));
    TStockDirEntry e;
    EXPECT_TRUE(e.SetCode(good));
    EXPECT_EQ(e.Code(), good);
  }
  for (const char* bad : {"", "6000011", "60000.", "6000 1", "60\n001", "中国", "../a"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(IsDirectoryCode(bad));
    TStockDirEntry e = Entry("000001", "平安", 0);
    EXPECT_FALSE(e.SetCode(bad));
    EXPECT_EQ(e.Code(), "000001");
  }
  EXPECT_EQ(DirectoryCodeMessage("6000011"),
            "股票代码不合法：6000011（代码表中的代码须为1到6位字母或数字）");
}

TEST(StockDirectory, UpsertRefusesRecordsWithoutADirectoryCode) {
  StockDirectory dir;
  ASSERT_TRUE(dir.Upsert(Entry("600001", "原名", 1)));
  TStockDirEntry evil;
  evil.SetCode("6000011");  // refused: the record keeps no code
  evil.SetName("EVIL");
  evil.SetMarket(1);
  std::string error;
  EXPECT_FALSE(dir.Upsert(evil, &error));
  EXPECT_EQ(error, DirectoryCodeMessage(""));
  TStockDirEntry raw = Entry("600001", "EVIL", 1);
  raw.bytes[9] = '.';  // "60000." written into the bytes directly
  EXPECT_FALSE(dir.Upsert(raw, &error));
  EXPECT_EQ(error, DirectoryCodeMessage("60000."));
  ASSERT_EQ(dir.Entries().size(), 1u);
  EXPECT_EQ(dir.FindByCode("600001")->Name(), "原名");
}

TEST(StockDirectory, NamesAreCutOnCharacterBoundaries) {
  TStockDirEntry e = Entry("600000", "中国石油化工", 1);  // 12 GBK bytes: 4 characters fit
  EXPECT_EQ(e.Name(), "中国石油");
  TStockDirEntry ascii = Entry("600000", "ABCDEFGHIJ", 1);
  EXPECT_EQ(ascii.Name(), "ABCDEFGH");
  TStockDirEntry odd = Entry("600000", "A中国石油", 1);  // 9 bytes: the last character drops
  EXPECT_EQ(odd.Name(), "A中国石");
}

TEST(StockDirectory, SaveLoadRoundTripAndUpsert) {
  StockDirectory dir;
  ASSERT_TRUE(dir.Upsert(Entry("600000", "浦发银行", 1)));
  ASSERT_TRUE(dir.Upsert(Entry("000001", "平安银行", 0)));
  ASSERT_TRUE(dir.Upsert(Entry("600000", "浦发", 1)));
  auto path = std::filesystem::temp_directory_path() / "vorelin_winbase_test.dat";
  ASSERT_TRUE(dir.Save(path));
  StockDirectory back;
  ASSERT_TRUE(back.Load(path));
  ASSERT_EQ(back.Entries().size(), 2u);
  EXPECT_EQ(back.FindByCode("600000")->Name(), "浦发");
  EXPECT_EQ(std::filesystem::file_size(path), 8u + 2 * 1326u);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace vorelin
