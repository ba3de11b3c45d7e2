#include "practice/results.h"

#include <algorithm>
#include <system_error>

#include "common/data_root.h"
#include "common/format.h"
#include "common/numbers.h"
#include "common/text_file.h"
#include "practice/time_text.h"
#include "practice/trade_reasons.h"

namespace vorelin {

uint32_t JournalLineColour(std::string_view direction) {
  return direction == "多开" || direction == "空开" || direction == kBuyDirection
             ? kOpeningLineColour
             : kOtherLineColour;
}

bool HasOwnReasons(const std::vector<JournalLine>& lines) {
  return std::any_of(lines.begin(), lines.end(),
                     [](const JournalLine& line) { return line.Value(kReasonValue) != kDefaultReason; });
}

void MaskNewestLines(std::vector<JournalLine>& lines, size_t count) {
  const size_t first = lines.size() > count ? lines.size() - count : 0;
  for (size_t i = first; i < lines.size(); ++i)
    for (const size_t column : {size_t{1}, size_t{2}}) lines[i].values[column] = "******";
}

std::vector<JournalLine> BuildJournalLines(const QueryResult& journal) {
  std::vector<JournalLine> lines;
  for (size_t r = 0; r < journal.rows.size(); ++r) {
    JournalLine line;
    for (const char* column : kJournalColumns) line.values.push_back(journal.Value(r, column));
    line.colour = JournalLineColour(line.Value(3));
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<EquityPoint> BuildEquityPoints(const QueryResult& equity) {
  std::vector<EquityPoint> points;
  for (size_t r = 0; r < equity.rows.size(); ++r)
    points.push_back({ParseDecimalOr(equity.Value(r, "SNo")),
                      ParseDecimalOr(equity.Value(r, "sProperty"))});
  std::stable_sort(points.begin(), points.end(),
                   [](const EquityPoint& a, const EquityPoint& b) { return a.sno < b.sno; });
  return points;
}

std::string StatisticsText(size_t trades, const JournalStatistics& s) {
  return "交易统计    \r\n"
         "交易次数:      " + std::to_string(trades) + "      单次最大盈利:  " + s.maxp + "\r\n" +
         "单次最大亏损： " + s.minp + "      盈利总额：     " + s.sump + "\r\n" +
         "手续费总额：   " + s.sumcom + "      净盈利：       " + s.jyl + "\r\n" +
         (ParseDecimalOr(s.sumstamp) > 0 ? "其中印花税：   " + s.sumstamp + "\r\n" : std::string());
}

TraderStatistics ComputeTraderStatistics(const std::vector<JournalLine>& lines,
                                         const std::vector<EquityPoint>& points,
                                         double initial_capital, double final_assets) {
  TraderStatistics s;
  double held = 0;
  double trip_result = 0;
  bool in_trip = false;
  for (const JournalLine& line : lines) {
    const bool is_buy = line.Value(3).find("买") != std::string::npos;
    const double qty = ParseDecimalOr(line.Value(5));
    const double commission = ParseDecimalOr(line.Value(7));
    if (is_buy) {
      if (qty <= 0 && !in_trip) continue;  // an empty buy opens nothing
      in_trip = true;
      held += qty;
      trip_result -= commission;
      continue;
    }
    if (!in_trip) continue;  // a sale with nothing held closes nothing
    held -= qty;
    trip_result += ParseDecimalOr(line.Value(8)) - commission;
    if (held > 0) continue;
    ++s.round_trips;
    if (trip_result > 0) {
      ++s.wins;
      s.gross_wins += trip_result;
    } else if (trip_result < 0) {
      ++s.losses;
      s.gross_losses += trip_result;
    }
    held = 0;
    trip_result = 0;
    in_trip = false;
  }
  if (s.round_trips > 0) s.win_rate = 100.0 * s.wins / s.round_trips;
  if (s.wins > 0) s.average_win = s.gross_wins / s.wins;
  if (s.losses > 0) s.average_loss = s.gross_losses / s.losses;
  s.has_profit_factor = s.losses > 0;
  if (s.has_profit_factor) s.profit_factor = s.gross_wins / -s.gross_losses;

  // The account starts at its initial capital even before the first equity point exists.
  bool have_peak = initial_capital > 0;
  double peak = have_peak ? initial_capital : 0;
  for (const EquityPoint& p : points) {
    if (!have_peak || p.assets > peak) {
      peak = p.assets;
      have_peak = true;
      continue;
    }
    const double fall = peak - p.assets;
    if (fall > s.max_drawdown) {
      s.max_drawdown = fall;
      s.max_drawdown_percent = peak > 0 ? fall / peak * 100 : 0;
    }
  }
  s.has_net_return = initial_capital > 0;
  if (s.has_net_return)
    s.net_return_percent = (final_assets - initial_capital) / initial_capital * 100;
  return s;
}

std::string TraderStatisticsText(const TraderStatistics& s) {
  std::string text = "完成回合:      " + std::to_string(s.round_trips) +
                     "      胜率：         " + Format("%.2f%%", s.win_rate) + "\r\n" +
                     "平均盈利：     " + Format("%.2f", s.average_win) +
                     "      平均亏损：     " + Format("%.2f", s.average_loss) + "\r\n" +
                     "盈亏因子：     " +
                     (s.has_profit_factor ? Format("%.2f", s.profit_factor) : std::string("无亏损")) +
                     "\r\n" + "最大回撤：     " + Format("%.2f", s.max_drawdown) + " (" +
                     Format("%.2f%%", s.max_drawdown_percent) + ")\r\n" + "净收益率：     " +
                     (s.has_net_return ? Format("%.2f%%", s.net_return_percent) : std::string("-")) +
                     "\r\n";
  return text;
}

std::string ExportText(const std::vector<JournalLine>& lines) {
  std::string text;
  for (const char* caption : kJournalCaptions) {
    text += caption;
    text += '\t';
  }
  text += "\r\n";
  for (const JournalLine& line : lines) {
    text += line.values.front();
    for (size_t i = 1; i < line.values.size(); ++i) text += "\t" + line.values[i];
    text += "\r\n";
  }
  return text;
}

bool ExportJournal(const std::filesystem::path& root, std::string_view account_name,
                   const std::vector<JournalLine>& lines, std::filesystem::path& written) {
  std::string name(account_name);
  for (char& c : name)
    if (c == '/' || c == '\\' || c == ':') c = '_';
  const std::filesystem::path folder = root / kExportFolder;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const std::filesystem::path path = folder / (name + LocalTimeText(" %Y%m%d %H%M%S") + ".xls");
  if (!WriteGbkText(path, ExportText(lines))) return false;
  written = path;
  return true;
}

}  // namespace vorelin
