// The trainee's results from the journal: the journal list, the equity-curve points, the
// statistics text with the usual trader figures after it, and the export file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "practice/journal_store.h"
#include "practice/query_result.h"

namespace vorelin {

inline constexpr int kJournalColumnCount = 12;
inline constexpr const char* kJournalCaptions[kJournalColumnCount] = {
    "序号", "代码", "成交日期", "交易方向", "价格", "成交数量",
    "金额", "手续费", "获利金额", "剩余资金", "时间", "图片路径"};
// The database column behind each caption, then the hidden reason.
inline constexpr const char* kJournalColumns[kJournalColumnCount + 1] = {
    "SNo", "sStockCode", "sDate", "sTradeDirect", "sPrice", "sQuantity", "sTradeTurnover",
    "sCommission", "sProfit", "sRemain", "sTime", "sPicPath", "sReason"};

inline constexpr uint32_t kOpeningLineColour = 0x0000FF;  // red
inline constexpr uint32_t kOtherLineColour = 0xFF0000;    // blue

struct JournalLine {
  std::vector<std::string> values;  // kJournalColumns, as read back
  uint32_t colour = kOtherLineColour;

  const std::string& Value(int column) const { return values[static_cast<size_t>(column)]; }
};

// The reason's place among a line's values, and its caption when the list shows it.
inline constexpr int kReasonValue = kJournalColumnCount;
inline constexpr const char* kReasonCaption = "交易理由";
// True when some line's sReason is other than the fixed "理由".
bool HasOwnReasons(const std::vector<JournalLine>& lines);

// Blind training: the code and date of the newest `count` lines read "******" (the journal
// itself keeps them in full).
void MaskNewestLines(std::vector<JournalLine>& lines, size_t count);

// Red for "多开", "空开" and "证券买入", blue for anything else.
uint32_t JournalLineColour(std::string_view direction);

std::vector<JournalLine> BuildJournalLines(const QueryResult& journal);

struct EquityPoint {
  double sno = 0;     // x
  double assets = 0;  // y
};

// One point per equity row, x = SNo and y = sProperty as numbers (0 when not a number),
// in ascending x order.
std::vector<EquityPoint> BuildEquityPoints(const QueryResult& equity);

// The text of the statistics box; `trades` counts the journal lines.
std::string StatisticsText(size_t trades, const JournalStatistics& stats);

// What traders look at besides the totals. A round trip runs from the buy that opens a
// position to the sale that leaves no shares; its result is its sales' profit less every
// commission paid on the way.
struct TraderStatistics {
  int round_trips = 0;
  int wins = 0;
  int losses = 0;
  double win_rate = 0;        // per cent of round trips
  double average_win = 0;
  double average_loss = 0;    // negative, or 0 without losses
  double gross_wins = 0;
  double gross_losses = 0;    // negative, or 0
  bool has_profit_factor = false;  // false without losing round trips
  double profit_factor = 0;   // gross wins / |gross losses|
  double max_drawdown = 0;    // largest fall of the equity points from a previous peak
  double max_drawdown_percent = 0;  // that fall as per cent of its peak
  bool has_net_return = false;      // false without initial capital
  double net_return_percent = 0;    // (final assets - initial capital) / initial capital
};

TraderStatistics ComputeTraderStatistics(const std::vector<JournalLine>& lines,
                                         const std::vector<EquityPoint>& points,
                                         double initial_capital, double final_assets);
std::string TraderStatisticsText(const TraderStatistics& stats);

inline constexpr const char* kExportedMessage = "日志已经导出到";

// The export file's text: the captions each followed by a TAB, then per line SNo and TAB +
// value for the other values, the reason included; CR LF line ends.
std::string ExportText(const std::vector<JournalLine>& lines);

// Writes the export as GBK to root/Export/<account> YYYYMMDD HHNNSS.xls (replacing a file
// of that name) and gives its path. Path separators in the account name become "_".
// False (nothing written) when the file cannot be written.
bool ExportJournal(const std::filesystem::path& root, std::string_view account_name,
                   const std::vector<JournalLine>& lines, std::filesystem::path& written);

}  // namespace vorelin
