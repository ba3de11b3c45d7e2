// Transaction list lines, their file and colours.
#include "market/transaction_list.h"

#include <locale>
#include <sstream>
#include <system_error>

#include "common/data_root.h"
#include "common/dates.h"
#include "common/format.h"
#include "common/text_file.h"

namespace vorelin {

std::filesystem::path TransactionListPath(const std::filesystem::path& root, std::string_view code,
                                          int date) {
  return root / kFenbiFolder / (std::string(code) + " " + std::to_string(date) + ".txt");
}

std::string FormatTradeLine(const TTradeTick& tick) {
  return Format(" %.04d %7.3f %6.0F", tick.time, static_cast<double>(tick.price),
                static_cast<double>(tick.volume)) +
         (tick.side != 0 ? " S" : " B");
}

std::string DayCaptionText(int date) { return ChineseDateText(date) + ChineseWeekdayText(date); }

void TransactionList::Clear() {
  lines_.clear();
  ticks_.clear();
  trade_count_ = 0;
  has_date_line_ = false;
}

TransactionList::NextPage TransactionList::AddAnswer(const std::vector<TTradeTick>& ticks,
                                                     int current_date) {
  if (has_date_line_) lines_.erase(lines_.begin());
  std::vector<std::string> page;
  page.reserve(ticks.size() + 1 + lines_.size());
  page.push_back(DayCaptionText(current_date));
  for (const TTradeTick& tick : ticks) page.push_back(FormatTradeLine(tick));
  page.insert(page.end(), lines_.begin(), lines_.end());
  lines_.swap(page);
  ticks_.insert(ticks_.begin(), ticks.begin(), ticks.end());
  has_date_line_ = true;
  trade_count_ += static_cast<int>(ticks.size());
  return {ticks.size() == static_cast<size_t>(kTransactionsPerAnswer), trade_count_};
}

bool TransactionList::Write(const std::filesystem::path& path) const {
  std::string text;
  for (const std::string& line : lines_) text += line + "\r\n";
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  return WriteGbkText(path, text);
}

std::vector<TTradeTick> ReadTransactionTicks(const std::filesystem::path& list_file) {
  std::vector<std::string> lines;
  if (!ReadTextLines(list_file, lines)) return {};
  std::vector<TTradeTick> ticks;
  for (const std::string& line : lines) {
    std::istringstream fields(line);
    fields.imbue(std::locale::classic());
    TTradeTick tick;
    std::string side;
    if (!(fields >> tick.time >> tick.price >> tick.volume >> side)) continue;
    if (side != "B" && side != "S") continue;
    tick.side = side == "S" ? 1 : 0;
    ticks.push_back(tick);
  }
  return ticks;
}

std::vector<TTradeTick> TicksUpTo(const std::vector<TTradeTick>& ticks, int hhmm) {
  std::vector<TTradeTick> out;
  for (const TTradeTick& tick : ticks) {
    if (tick.time <= hhmm) out.push_back(tick);
  }
  return out;
}

std::vector<std::string> PankouLines(const std::filesystem::path& list_file,
                                     std::string_view clock) {
  std::vector<std::string> lines;
  if (!ReadTextLines(list_file, lines)) return {};
  std::vector<std::string> matching;
  for (const std::string& line : lines) {
    std::string_view first = std::string_view(line).substr(0, line.find(','));
    if (first.find(clock) != std::string_view::npos) matching.push_back(line);
  }
  return matching;
}

std::optional<uint32_t> ListLineColour(std::string_view line) {
  if (line.find('B') != std::string_view::npos) return kBuyLineColour;
  if (line.find('S') != std::string_view::npos) return kSellLineColour;
  return std::nullopt;
}

}  // namespace vorelin
