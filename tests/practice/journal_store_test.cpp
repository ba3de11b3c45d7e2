#include <gtest/gtest.h>

#include <fstream>

#include "practice/journal_store.h"
#include "practice/sqlite_database.h"
#include "temp_root.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;

class JournalStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(store_.CreateIfMissing(error)) << error;
    account_.BuyRate = 0.0025;
    account_.SellRate = 0.005;
  }

  // Raw query on the file, bypassing the read-back rule.
  QueryResult Raw(const std::string& sql) {
    SqliteDatabase db;
    QueryResult rows;
    std::string error;
    EXPECT_TRUE(db.Open(store_.DatabasePath(), false, error)) << error;
    EXPECT_TRUE(db.Query(sql, {}, rows, error)) << error;
    return rows;
  }

  RecordedTrade Trade(const std::string& user, const char* direction, const std::string& qty) {
    TradeEntry entry{user, "600000", direction, 20240105, qty};
    RecordedTrade recorded;
    std::string error;
    EXPECT_TRUE(store_.RecordTrade(entry, account_, screenshot_, recorded, error)) << error;
    return recorded;
  }

  testing::TempRoot root_;
  JournalStore store_{root_.path()};
  TGpAcount account_;
  std::vector<fs::path> shots_;
  ScreenshotWriter screenshot_ = [this](const fs::path& jpg) {
    shots_.push_back(jpg);
    std::ofstream(jpg, std::ios::binary) << "jpeg";
    return true;
  };
};

TEST_F(JournalStoreTest, SchemaIsCreatedExactlyOnce) {
  const QueryResult master = Raw("select name, sql from sqlite_master where type='table' order by rowid");
  ASSERT_EQ(master.rows.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    std::string created = kJournalSchema[i];
    created = created.substr(0, created.rfind(';'));  // SQLite keeps the statement without ";"
    EXPECT_EQ(master.rows[i][1], created);
  }
  EXPECT_EQ(master.rows[0][1],
            R"(CREATE TABLE "property" ("SNo" TEXT,"sProperty" TEXT,"sUserName" TEXT,"sTime" TEXT,"SGuid" TEXT,PRIMARY KEY ("SGuid")))");
  EXPECT_EQ(std::string(kJournalSchema[2]).back(), ' ');
  EXPECT_EQ(std::string(kJournalSchema[3]).back(), ' ');
  std::string error;
  EXPECT_TRUE(store_.CreateIfMissing(error));  // an existing file is left alone
  EXPECT_EQ(Raw("select count(*) as n from sqlite_master where type='table'").Value(0, "n"), "4");
}

TEST_F(JournalStoreTest, BuyAndSaleWriteTheirColumns) {
  account_.Mark(10);
  ASSERT_TRUE(account_.Buy(10, 100));  // gross 1000, commission 2.5, cash 8997.5
  const RecordedTrade buy = Trade("张三", kBuyDirection, "100");
  account_.Mark(12.5);
  ASSERT_TRUE(account_.Sell(12.5, 100));  // gross 1250, commission 6.25, profit 250
  const RecordedTrade sale = Trade("张三", kSellDirection, "100");

  // The pictures: "log\" + the 31-character identifier + ".jpg", written before the row.
  EXPECT_TRUE(testing::HasShape(buy.picture_path, "log\\XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXX.jpg"))
      << buy.picture_path;
  EXPECT_NE(buy.picture_path, sale.picture_path);
  ASSERT_EQ(shots_.size(), 2u);
  EXPECT_EQ(shots_[0], root_.path() / "log" / (buy.picture_path.substr(4)));
  EXPECT_TRUE(buy.picture_written);
  EXPECT_FALSE(buy.equity_point_written);
  EXPECT_TRUE(sale.equity_point_written);

  const QueryResult raw = Raw("select *, typeof(sCommission) as tc from Tradelog order by SNo");
  ASSERT_EQ(raw.rows.size(), 2u);
  struct Expect { const char* column; const char* buy; const char* sale; };
  const Expect kColumns[] = {
      {"SNo", "0", "1"},
      {"sStockName", "600000", "600000"},
      {"sStockCode", "600000", "600000"},
      {"sUserName", "张三", "张三"},
      {"sfrequency", "", ""},
      {"sTradeDirect", "证券买入", "证券卖出"},
      {"sDate", "20240105", "20240105"},
      {"sQuantity", "100", "100"},
      {"sPrice", "10.0000", "12.5000"},
      {"sTradeTurnover", "1002.5000", "1243.7500"},
      {"sProfitRatio", "0", "0"},
      {"sInterval", "0", "0"},
      {"sReason", "理由", "理由"},
      {"sOther", "备用", "备用"},
      // NUMERIC columns come back with two decimals, or as integers when integral.
      {"sCommission", "2.50", "6.25"},
      {"sRemain", "8997.50", "10241.25"},
      {"sProfit", "0", "250"},
      {"tc", "real", "real"},
  };
  for (const Expect& e : kColumns) {
    SCOPED_TRACE(e.column);
    EXPECT_EQ(raw.Value(0, e.column), e.buy);
    EXPECT_EQ(raw.Value(1, e.column), e.sale);
  }
  EXPECT_EQ(raw.Value(0, "sPicPath"), buy.picture_path);
  EXPECT_EQ(raw.Value(0, "sguid").size(), 31u);
  EXPECT_NE(raw.Value(0, "sGuid"), raw.Value(1, "sGuid"));
  EXPECT_TRUE(testing::HasShape(raw.Value(0, "sTime"), "99999999 999999"));

  const QueryResult equity = Raw("select * from property");
  ASSERT_EQ(equity.rows.size(), 1u);
  EXPECT_EQ(equity.Value(0, "SNo"), "0");
  EXPECT_EQ(equity.Value(0, "sProperty"), "10241.2500");
  EXPECT_EQ(equity.Value(0, "susername"), "张三");
  EXPECT_TRUE(testing::HasShape(equity.Value(0, "sTime"), "99999999999999"));
  EXPECT_EQ(equity.Value(0, "SGuid").size(), 31u);
}

TEST_F(JournalStoreTest, PartialSaleWritesNoEquityPoint) {
  account_.Mark(10);
  ASSERT_TRUE(account_.Buy(10, 200));
  Trade("u", kBuyDirection, "200");
  ASSERT_TRUE(account_.Sell(11, 100));
  EXPECT_FALSE(Trade("u", kSellDirection, "100").equity_point_written);
  EXPECT_EQ(Raw("select count(*) as n from property").Value(0, "n"), "0");
}

TEST_F(JournalStoreTest, TradeRowsAreOneTransaction) {
  account_.Mark(10);
  ASSERT_TRUE(account_.Buy(10, 100));
  ASSERT_TRUE(account_.Sell(10, 100));
  {
    SqliteDatabase db;
    std::string error;
    ASSERT_TRUE(db.Open(store_.DatabasePath(), false, error));
    ASSERT_TRUE(db.Execute("drop table property", {}, error));  // the equity insert will fail
  }
  TradeEntry entry{"u", "600000", kSellDirection, 20240105, "100"};
  RecordedTrade recorded;
  std::string error;
  EXPECT_FALSE(store_.RecordTrade(entry, account_, screenshot_, recorded, error));
  EXPECT_NE(error.find("property"), std::string::npos) << error;
  EXPECT_EQ(Raw("select count(*) as n from Tradelog").Value(0, "n"), "0");
}

TEST_F(JournalStoreTest, MissingScreenshotStillJournals) {
  account_.Mark(10);
  ASSERT_TRUE(account_.Buy(10, 100));
  TradeEntry entry{"u", "600000", kBuyDirection, 20240105, "100"};
  RecordedTrade recorded;
  std::string error;
  ASSERT_TRUE(store_.RecordTrade(entry, account_, [](const fs::path&) { return false; },
                                 recorded, error));
  EXPECT_FALSE(recorded.picture_written);
  EXPECT_EQ(Raw("select count(*) as n from Tradelog").Value(0, "n"), "1");
}

TEST_F(JournalStoreTest, ResetDeletesOnlyTheUsersRowsAndWritesTheNewCash) {
  account_.Mark(10);
  for (const char* user : {"a", "b", "a"}) {
    ASSERT_TRUE(account_.Buy(10, 100));
    Trade(user, kBuyDirection, "100");
    ASSERT_TRUE(account_.Sell(10, 100));
    Trade(user, kSellDirection, "100");
  }
  std::string error;
  ASSERT_TRUE(store_.ResetAccount("a", 100000, error)) << error;
  EXPECT_EQ(Raw("select count(*) as n from Tradelog where sUserName='a'").Value(0, "n"), "0");
  EXPECT_EQ(Raw("select count(*) as n from Tradelog where sUserName='b'").Value(0, "n"), "2");
  const QueryResult points = Raw("select * from property order by rowid");
  ASSERT_EQ(points.rows.size(), 2u);
  // SNo counts every user's rows, so after deleting it repeats a number already in use.
  EXPECT_EQ(points.Value(0, "susername"), "b");
  EXPECT_EQ(points.Value(0, "SNo"), "1");
  EXPECT_EQ(points.Value(1, "susername"), "a");
  EXPECT_EQ(points.Value(1, "SNo"), "1");
  EXPECT_EQ(points.Value(1, "sProperty"), "100000.0000");
}

TEST_F(JournalStoreTest, AccountSavedForANewUserSurvivesARestart) {
  const std::string user = R"(O"Brien "sProperty")";  // quotes must not break anything
  TGpAcount loaded;
  Tstock base;
  bool found = true;
  std::string error;
  loaded.Cash = 1;
  ASSERT_TRUE(store_.LoadAccount(user, loaded, base, found, error)) << error;
  EXPECT_FALSE(found);
  EXPECT_EQ(loaded.Cash, 10000);

  account_.Cash = 1234.5;
  account_.LongQty = 300;
  account_.LongCost = 9.87654;
  account_.ShortQty = 1;
  account_.ShortCost = 2;
  Tstock saved;
  saved.FileName = "/data/DayData/600000.TXT";
  saved.StartRow = 4;
  saved.SetCurrentRow(17);
  ASSERT_TRUE(store_.SaveAccount(user, account_, saved, error)) << error;
  account_.Cash = 999;
  ASSERT_TRUE(store_.SaveAccount(user, account_, saved, error)) << error;  // updates the row
  EXPECT_EQ(Raw("select count(*) as n from TUser").Value(0, "n"), "1");
  EXPECT_EQ(Raw("select * from TUser").Value(0, "dqh"), "17.0000");

  ASSERT_TRUE(store_.LoadAccount(user, loaded, base, found, error)) << error;
  EXPECT_TRUE(found);
  EXPECT_EQ(loaded.Cash, 999);
  EXPECT_EQ(loaded.LongQty, 300);
  EXPECT_DOUBLE_EQ(loaded.LongCost, 9.8765);
  EXPECT_EQ(loaded.ShortQty, 1);
  EXPECT_EQ(loaded.ShortCost, 2);
  EXPECT_EQ(base.StartRow, 4);
  EXPECT_EQ(base.CurrentRow, 17);
  // The row keeps the data file's path; the account's stock is the file's code.
  EXPECT_EQ(Raw("select * from TUser").Value(0, "gpdm"), "/data/DayData/600000.TXT");
  EXPECT_EQ(loaded.StockCode, "600000");
  saved.FileName = "C:\\gp\\DayData\\000002.txt";
  ASSERT_TRUE(store_.SaveAccount(user, account_, saved, error)) << error;
  ASSERT_TRUE(store_.LoadAccount(user, loaded, base, found, error)) << error;
  EXPECT_EQ(loaded.StockCode, "000002");
  std::vector<std::string> names;
  ASSERT_TRUE(store_.UserNames(names, error));
  EXPECT_EQ(names, std::vector<std::string>{user});

  account_.Mark(10);
  ASSERT_TRUE(account_.Buy(10, 10));
  Trade(user, kBuyDirection, "10");
  QueryResult journal;
  ASSERT_TRUE(store_.ReadJournal(user, journal, error)) << error;
  ASSERT_EQ(journal.rows.size(), 1u);
  EXPECT_EQ(journal.Value(0, "sUserName"), user);
}

TEST_F(JournalStoreTest, MissingFileIsAnErrorNotANewEmptyFile) {
  testing::TempRoot elsewhere;
  JournalStore store(elsewhere.path() / "none");
  QueryResult rows;
  std::string error;
  EXPECT_FALSE(store.ReadJournal("u", rows, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(fs::exists(store.DatabasePath()));
}

}  // namespace
}  // namespace vorelin
