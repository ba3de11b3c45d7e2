// The '分笔成交' list built from transaction answers, its file under "fenbi", the '盘口' lines
// of one minute and the lists' line colours.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/intraday_records.h"

namespace vorelin {

inline constexpr int kTransactionsPerAnswer = 2000;
inline constexpr uint32_t kSellLineColour = 0x008000;  // green
inline constexpr uint32_t kBuyLineColour = 0x0000FF;   // red

// root/fenbi/<code> <YYYYMMDD>.txt
std::filesystem::path TransactionListPath(const std::filesystem::path& root, std::string_view code,
                                          int date);

// " %.04d %7.3f %6.0F" of time, price and volume, then " S" for a sell or " B" for a buy.
std::string FormatTradeLine(const TTradeTick& tick);

// "%04d年%d月%02d日" + " 星期X" of a YYYYMMDD date.
std::string DayCaptionText(int date);

class TransactionList {
 public:
  struct NextPage {
    bool wanted = false;  // the answer held a whole page: ask for the next one
    int start = 0;        // transactions already listed
  };

  void Clear();
  // Puts one answer's transactions above those already listed (the server pages backwards
  // from the day's end) and keeps one date line for `current_date` at the top.
  NextPage AddAnswer(const std::vector<TTradeTick>& ticks, int current_date);

  const std::vector<std::string>& Lines() const { return lines_; }
  // The listed transactions in time order.
  const std::vector<TTradeTick>& Ticks() const { return ticks_; }
  int TradeCount() const { return trade_count_; }
  // Replaces the file with the lines (GBK, CR LF); false when it cannot be written.
  bool Write(const std::filesystem::path& path) const;

 private:
  std::vector<std::string> lines_;
  std::vector<TTradeTick> ticks_;
  int trade_count_ = 0;
  bool has_date_line_ = false;
};

// The transactions of a transaction list file, read back from its lines (FormatTradeLine);
// the date line and other lines that are no transaction are skipped. A missing file gives none.
std::vector<TTradeTick> ReadTransactionTicks(const std::filesystem::path& list_file);

// The ticks up to and including clock time `hhmm`.
std::vector<TTradeTick> TicksUpTo(const std::vector<TTradeTick>& ticks, int hhmm);

// Lines of a transaction list file whose first comma-separated field contains `clock`
// ("hhmm"). A missing file gives no lines.
std::vector<std::string> PankouLines(const std::filesystem::path& list_file,
                                     std::string_view clock);

// Colour of a list line: red when it contains "B", else green when it contains "S", else none
// (the list's own text colour).
std::optional<uint32_t> ListLineColour(std::string_view line);

}  // namespace vorelin
