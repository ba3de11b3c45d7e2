// The trade journal and local user store `log.mt3`: users with their saved accounts, one
// row per trade with its chart screenshot, one equity point per closed position.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "market/bar_series.h"
#include "practice/account.h"
#include "practice/query_result.h"

namespace vorelin {

inline constexpr const char* kJournalFileName = "log.mt3";
inline constexpr const char* kBuyDirection = "证券买入";
inline constexpr const char* kSellDirection = "证券卖出";

// Writes the chart picture as a JPEG at the given path; false when nothing was written.
using ScreenshotWriter = std::function<bool(const std::filesystem::path& jpg)>;

// One trade as the main window knows it when the account has just bought or sold.
struct TradeEntry {
  std::string user;
  std::string stock_code;     // the code box
  std::string direction;      // kBuyDirection or kSellDirection
  int date = 0;               // date of the last revealed bar, YYYYMMDD
  std::string quantity_text;  // the quantity box as the trade used it
  std::string reason = "理由";  // sReason
};

struct RecordedTrade {
  std::string picture_path;   // "log\" + id + ".jpg", relative to the data root
  bool picture_written = false;
  bool equity_point_written = false;
};

struct JournalStatistics {
  std::string sump, sumcom, jyl, maxp, minp;  // as read back
  std::string sumstamp;  // the stamp duty within sumcom; "0" when none was charged
};

// Each operation opens the file, does its work and closes it. Every operation returns
// false with SQLite's error text when a statement is rejected; nothing is retried, and a
// failed write changes nothing (its statements run in one transaction).
class JournalStore {
 public:
  explicit JournalStore(std::filesystem::path root) : root_(std::move(root)) {}

  std::filesystem::path DatabasePath() const { return root_ / kJournalFileName; }
  const std::filesystem::path& Root() const { return root_; }

  // Creates the file with its four tables when it does not exist; true when it exists.
  bool CreateIfMissing(std::string& error) const;

  // Every user name, in the order of the rows.
  bool UserNames(std::vector<std::string>& names, std::string& error) const;

  // Loads the user's saved account into `account` and the rows into `base`; `found` false
  // (and the account reset to cash 10000) when the user has no row.
  bool LoadAccount(std::string_view user, TGpAcount& account, Tstock& base, bool& found,
                   std::string& error) const;
  // Saves the account; a user without a row gets one, so the account survives a restart.
  bool SaveAccount(std::string_view user, const TGpAcount& account, const Tstock& base,
                   std::string& error) const;

  // After a successful Buy or Sell: the screenshot first, then the journal row and, for a
  // sale that leaves no shares, the equity point, both in one transaction. A screenshot
  // that could not be written does not stop the journal (`picture_written` tells).
  bool RecordTrade(const TradeEntry& trade, const TGpAcount& account,
                   const ScreenshotWriter& screenshot, RecordedTrade& recorded,
                   std::string& error) const;

  // Deletes the user's equity points, trades and bank rows, then writes an equity point
  // with `cash`.
  bool ResetAccount(std::string_view user, double cash, std::string& error) const;

  bool ReadJournal(std::string_view user, QueryResult& rows, std::string& error) const;
  bool ReadStatistics(std::string_view user, JournalStatistics& stats, std::string& error) const;
  // The user's equity points ordered by SNo as text.
  bool ReadEquity(std::string_view user, QueryResult& rows, std::string& error) const;

 private:
  std::filesystem::path root_;
};

// The schema exactly as the file is created with it.
extern const char* const kJournalSchema[4];

}  // namespace vorelin
