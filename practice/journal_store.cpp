#include "practice/journal_store.h"

#include <cctype>

#include <system_error>

#include "common/data_root.h"
#include "common/format.h"
#include "common/guid.h"
#include "common/numbers.h"
#include "practice/sqlite_database.h"
#include "practice/time_text.h"

namespace vorelin {

const char* const kJournalSchema[4] = {
    R"(CREATE TABLE "property" ("SNo" TEXT,"sProperty" TEXT,"sUserName" TEXT,"sTime" TEXT,"SGuid" TEXT,PRIMARY KEY ("SGuid"));)",
    R"(CREATE TABLE "Tradelog" ("SNo" TEXT,"sStockName" TEXT,"sStockCode" TEXT,"sUserName" TEXT,"sfrequency" TEXT,"sTradeDirect" TEXT,"sDate" TEXT,"sQuantity" TEXT,"sPrice" TEXT,"sCommission" NUMERIC,"sTradeTurnover" TEXT,"sRemain" NUMERIC,"sProfit" NUMERIC,"sProfitRatio" TEXT,"sInterval" TEXT,"sTime" TEXT,"sReason" TEXT,"sPicPath" TEXT,"sGuid" TEXT,"sOther" TEXT,PRIMARY KEY ("sGuid"));)",
    R"(CREATE TABLE "TUser" ("sUserName" TEXT,"sPassWord" TEXT,"Zzc" TEXT,"ddcc" TEXT,"kdcc" TEXT,"ddccj" TEXT,"kdccj" TEXT,"kyzj" TEXT,"dqh" TEXT,"ksh" TEXT,"gpdm" TEXT,"sGuid" TEXT,PRIMARY KEY ("sGuid")); )",
    R"(CREATE TABLE "TBankStock" ("sUserName" TEXT,"sMoneyAccount" TEXT,"Sjyfx" TEXT,"syhye" TEXT,"sTime" TEXT,"sGuid" TEXT,PRIMARY KEY ("sGuid")); )",
};

namespace {

// The account row keeps the data file's path ("gpdm"), written on Windows with "\": the
// account's stock is that file's name without ".TXT".
std::string StockCodeOfSavedFile(const std::string& saved) {
  const size_t slash = saved.find_last_of("/\\");
  std::string name = slash == std::string::npos ? saved : saved.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && name.size() - dot == 4) {
    std::string ext = name.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (ext == ".TXT") name.resize(dot);
  }
  return name;
}

std::string Money(double value) { return Format("%.4f", value); }

std::string User(std::string_view user) { return std::string(user); }

constexpr const char* kInsertEquity = R"(INSERT INTO "property" VALUES (?,?,?,?,?);)";

// The equity point: SNo counts every user's points just before the insert.
bool InsertEquityPoint(SqliteDatabase& db, std::string_view user, double assets,
                       std::string& error) {
  long long sno = 0;
  if (!db.CountRows("select * from property", sno, error)) return false;
  return db.Execute(kInsertEquity,
                    {std::to_string(sno), Money(assets), User(user),
                     LocalTimeText("%Y%m%d%H%M%S"), RowGuid()},
                    error);
}

// Runs `body` inside one transaction: committed when it succeeds, rolled back otherwise.
template <typename Body>
bool InTransaction(SqliteDatabase& db, std::string& error, Body body) {
  if (!db.Begin(error)) return false;
  if (!body() || !db.Commit(error)) {
    db.Rollback();
    return false;
  }
  return true;
}

}  // namespace

bool JournalStore::CreateIfMissing(std::string& error) const {
  std::error_code ec;
  if (std::filesystem::exists(DatabasePath(), ec)) return true;
  SqliteDatabase db;
  if (!db.Open(DatabasePath(), true, error)) return false;
  bool ok = InTransaction(db, error, [&] {
    for (const char* statement : kJournalSchema)
      if (!db.Execute(statement, {}, error)) return false;
    return true;
  });
  if (!ok) std::filesystem::remove(DatabasePath(), ec);
  return ok;
}

bool JournalStore::UserNames(std::vector<std::string>& names, std::string& error) const {
  SqliteDatabase db;
  QueryResult rows;
  if (!db.Open(DatabasePath(), false, error) || !db.Query("select * from TUser", {}, rows, error))
    return false;
  names.clear();
  for (size_t i = 0; i < rows.rows.size(); ++i) names.push_back(rows.Value(i, "susername"));
  return true;
}

bool JournalStore::LoadAccount(std::string_view user, TGpAcount& account, Tstock& base,
                               bool& found, std::string& error) const {
  SqliteDatabase db;
  QueryResult rows;
  if (!db.Open(DatabasePath(), false, error) ||
      !db.Query("select * from TUser where( sUsername=?1)", {User(user)}, rows, error))
    return false;
  found = !rows.rows.empty();
  if (!found) {
    account.Reset(10000);
    return true;
  }
  auto number = [&](const char* column) { return ParseDecimalOr(rows.Value(0, column)); };
  account.Cash = number("kyzj");
  account.LongQty = number("ddcc");
  account.ShortQty = number("kdcc");
  account.LongCost = number("ddccj");
  account.ShortCost = number("kdccj");
  base.StartRow = TruncToInt(number("ksh"));
  base.SetCurrentRow(TruncToInt(number("dqh")));
  account.StockCode = StockCodeOfSavedFile(rows.Value(0, "gpdm"));
  return true;
}

bool JournalStore::SaveAccount(std::string_view user, const TGpAcount& account,
                               const Tstock& base, std::string& error) const {
  SqliteDatabase db;
  if (!db.Open(DatabasePath(), false, error)) return false;
  const std::vector<std::string> values = {
      Money(account.Cash),     Money(account.LongQty),  Money(account.ShortQty),
      Money(account.LongCost), Money(account.ShortCost), Money(base.CurrentRow),
      base.FileName,           Money(base.StartRow),    User(user)};
  return InTransaction(db, error, [&] {
    if (!db.Execute("update Tuser set kyzj=?1, ddcc=?2,kdcc=?3,ddccj=?4,kdccj=?5,dqh=?6,"
                    "gpdm=?7,ksh=?8 where susername=?9;",
                    values, error))
      return false;
    if (db.Changes() > 0) return true;
    std::vector<std::string> row = values;
    row.push_back(RowGuid());
    return db.Execute(R"(INSERT INTO "TUser" ("kyzj","ddcc","kdcc","ddccj","kdccj","dqh",)"
                      R"("gpdm","ksh","sUserName","sGuid") VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10);)",
                      row, error);
  });
}

bool JournalStore::RecordTrade(const TradeEntry& trade, const TGpAcount& account,
                               const ScreenshotWriter& screenshot, RecordedTrade& recorded,
                               std::string& error) const {
  const std::string pic = RowGuid();
  const std::filesystem::path log_folder = root_ / kLogFolder;
  std::error_code ec;
  std::filesystem::create_directories(log_folder, ec);
  RecordedTrade result;
  result.picture_path = std::string(kLogFolder) + "\\" + pic + ".jpg";
  result.picture_written = screenshot && screenshot(log_folder / (pic + ".jpg"));

  const bool is_buy = trade.direction.find("买") != std::string::npos;
  SqliteDatabase db;
  if (!db.Open(DatabasePath(), false, error)) return false;
  bool ok = InTransaction(db, error, [&] {
    long long sno = 0;
    if (!db.CountRows("select * from Tradelog", sno, error)) return false;
    const std::vector<std::string> row = {
        std::to_string(sno),
        trade.stock_code,
        trade.stock_code,
        trade.user,
        "",
        trade.direction,
        std::to_string(trade.date),
        trade.quantity_text,
        Money(account.Price),
        // Stamp duty is charged with the commission; the spare column keeps it apart.
        Money(account.Commission + account.StampDuty),
        Money(account.LastAmount),
        Money(account.Cash),
        is_buy ? std::string("0") : Money(account.ProfitLoss),
        "0",
        "0",
        LocalTimeText("%Y%m%d %H%M%S"),
        trade.reason,
        result.picture_path,
        RowGuid(),
        account.StampDuty > 0 ? Money(account.StampDuty) : std::string("备用"),
    };
    if (!db.Execute(R"(INSERT INTO "Tradelog" VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,)"
                    R"(?13,?14,?15,?16,?17,?18,?19,?20);)",
                    row, error))
      return false;
    if (!is_buy && account.LongQty == 0) {
      if (!InsertEquityPoint(db, trade.user, account.TotalAssets, error)) return false;
      result.equity_point_written = true;
    }
    return true;
  });
  if (!ok) return false;
  recorded = result;
  return true;
}

bool JournalStore::ResetAccount(std::string_view user, double cash, std::string& error) const {
  SqliteDatabase db;
  if (!db.Open(DatabasePath(), false, error)) return false;
  return InTransaction(db, error, [&] {
    return db.Execute("delete from property where sUsername=?1", {User(user)}, error) &&
           db.Execute("delete from Tradelog where sUsername=?1", {User(user)}, error) &&
           db.Execute("delete from TBankStock where sUsername=?1", {User(user)}, error) &&
           InsertEquityPoint(db, user, cash, error);
  });
}

bool JournalStore::ReadJournal(std::string_view user, QueryResult& rows,
                               std::string& error) const {
  SqliteDatabase db;
  return db.Open(DatabasePath(), false, error) &&
         db.Query("select * from Tradelog where sUsername=?1;", {User(user)}, rows, error);
}

bool JournalStore::ReadStatistics(std::string_view user, JournalStatistics& stats,
                                  std::string& error) const {
  SqliteDatabase db;
  QueryResult rows;
  if (!db.Open(DatabasePath(), false, error) ||
      !db.Query("  SELECT Sum(Tradelog.sProfit) AS sump,  Sum(Tradelog.sCommission  ) AS sumcom,"
                "(Sum(Tradelog.sProfit)-Sum(Tradelog.sCommission))  AS jyl,"
                "Max(Tradelog.sProfit) AS maxp, Min(Tradelog.sProfit) AS minp,"
                "Sum(CASE WHEN sOther<>'备用' THEN CAST(sOther AS REAL) ELSE 0 END) AS sumstamp "
                "FROM Tradelog "
                "where sUsername=?1;",
                {User(user)}, rows, error))
    return false;
  stats = {rows.Value(0, "sump"), rows.Value(0, "sumcom"), rows.Value(0, "jyl"),
           rows.Value(0, "maxp"), rows.Value(0, "minp"), rows.Value(0, "sumstamp")};
  return true;
}

bool JournalStore::ReadEquity(std::string_view user, QueryResult& rows, std::string& error) const {
  SqliteDatabase db;
  return db.Open(DatabasePath(), false, error) &&
         db.Query("select * from property where sUsername=?1 order by sNo;", {User(user)}, rows,
                  error);
}

}  // namespace vorelin
