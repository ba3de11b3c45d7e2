#include "tools/vorelin-sample/sample_market.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "common/data_root.h"
#include "common/dates.h"
#include "common/format.h"
#include "common/text_file.h"
#include "formula/index_file.h"
#include "market/stock_directory.h"

namespace vorelin {
namespace {

// splitmix64: the same numbers on every platform and compiler, unlike std distributions.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  double Uniform() {  // [0, 1)
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<double>((z ^ (z >> 31)) >> 11) / 9007199254740992.0;
  }
  double Normal() {  // Box-Muller
    double u = Uniform();
    double v = Uniform();
    return std::sqrt(-2.0 * std::log(1.0 - u)) * std::cos(6.283185307179586 * v);
  }

 private:
  uint64_t state_;
};

struct SampleStock {
  const char* code;
  const char* name;
  uint8_t market;
  double first_price;
  double daily_volatility;
  double drift;
  bool with_minutes;
};

constexpr SampleStock kStocks[] = {
    {"600001", "示例钢铁", 1, 8.50, 0.022, 0.0002, true},
    {"600002", "演示银行", 1, 12.30, 0.015, 0.0001, false},
    {"000001", "样本科技", 0, 25.60, 0.030, 0.0004, true},
    {"000002", "模拟地产", 0, 6.80, 0.025, -0.0001, false},
};
constexpr int kDayBars = 2400;
constexpr int kMinuteDays = 25;
constexpr int kMinutesPerDay = 240;

double Round2(double v) { return std::round(v * 100.0) / 100.0; }

// Trading days from 2015-01-05 on, weekdays only.
std::vector<int> TradingDays(int count) {
  std::vector<int> days;
  long long day = DaysFromCivil(2015, 1, 5);
  while (static_cast<int>(days.size()) < count) {
    long long z = day + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    int y = static_cast<int>(yoe + era * 400 + (m <= 2));
    int date = y * 10000 + m * 100 + d;
    int weekday = Weekday(date);
    if (weekday != 0 && weekday != 6) days.push_back(date);
    ++day;
  }
  return days;
}

struct Bar {
  double open, high, low, close, amount, vol;
};

// A price within the ±10 % daily limit of the previous close, on the 0.01 grid.
double Limit(double price, double previous_close) {
  double up = std::floor(previous_close * 1.1 * 100.0 + 1e-6) / 100.0;
  double down = std::ceil(previous_close * 0.9 * 100.0 - 1e-6) / 100.0;
  return Round2(std::min(up, std::max(down, price)));
}

double Lots(double shares) { return std::max(1.0, std::round(shares / 100.0)) * 100.0; }

Bar DayBar(Random& random, double previous_close, const SampleStock& stock) {
  double change = stock.drift + stock.daily_volatility * random.Normal();
  double close = Limit(previous_close * (1 + change), previous_close);
  double open = Limit(previous_close * (1 + 0.3 * stock.daily_volatility * random.Normal()),
                      previous_close);
  double spread = std::abs(stock.daily_volatility * random.Normal()) * previous_close * 0.6;
  double high = Limit(std::max(open, close) + spread * random.Uniform(), previous_close);
  double low = Limit(std::min(open, close) - spread * random.Uniform(), previous_close);
  double vol = Lots(2e6 / previous_close * (0.5 + random.Uniform()) * (1 + 8 * std::abs(change)));
  double amount = Round2(vol * (open + high + low + close) / 4);
  return {open, high, low, close, amount, vol};
}

// 240 minute bars of one day; the day bar is their combination.
std::vector<Bar> MinuteBars(Random& random, double previous_close, const SampleStock& stock) {
  std::vector<Bar> bars;
  double price = Limit(previous_close * (1 + 0.3 * stock.daily_volatility * random.Normal()),
                       previous_close);
  const double step = stock.daily_volatility / std::sqrt(static_cast<double>(kMinutesPerDay));
  for (int k = 0; k < kMinutesPerDay; ++k) {
    double open = price;
    double close = Limit(open * (1 + stock.drift / kMinutesPerDay + step * random.Normal()),
                         previous_close);
    double wiggle = std::abs(step * random.Normal()) * open * 0.5;
    double high = Limit(std::max(open, close) + wiggle, previous_close);
    double low = Limit(std::min(open, close) - wiggle, previous_close);
    // More trading at the open and the close, as on a real day.
    double u = std::abs(k - 119.5) / 119.5;
    double vol = Lots(2e6 / previous_close / kMinutesPerDay * (0.4 + u * u * 2) *
                      (0.5 + random.Uniform()));
    double amount = Round2(vol * (open + high + low + close) / 4);
    bars.push_back({open, high, low, close, amount, vol});
    price = close;
  }
  return bars;
}

int MinuteTime(int k) {  // 0931 … 1130, then 1301 … 1500
  int minutes = k < 120 ? 9 * 60 + 31 + k : 13 * 60 + 1 + (k - 120);
  return minutes / 60 * 100 + minutes % 60;
}

// One market's index: the mean of its stocks' prices relative to their first price, scaled
// to `base`, with summed amount and volume and the count of stocks that rose or fell.
std::string IndexFileBytes(uint8_t market, double base, const std::vector<std::vector<Bar>>& bars) {
  const std::vector<int> days = TradingDays(kDayBars);
  std::string bytes;
  for (int i = 0; i < kDayBars; ++i) {
    double open = 0, high = 0, low = 0, close = 0, amount = 0, vol = 0;
    int stocks = 0, advancing = 0, declining = 0;
    for (size_t s = 0; s < std::size(kStocks); ++s) {
      if (kStocks[s].market != market) continue;
      const Bar& b = bars[s][i];
      const double scale = base / kStocks[s].first_price;
      open += b.open * scale;
      high += b.high * scale;
      low += b.low * scale;
      close += b.close * scale;
      amount += b.amount;
      vol += b.vol;
      const double previous = i > 0 ? bars[s][i - 1].close : kStocks[s].first_price;
      advancing += b.close > previous ? 1 : 0;
      declining += b.close < previous ? 1 : 0;
      ++stocks;
    }
    auto hundredths = [&](double v) {
      return static_cast<int32_t>(std::min(std::round(v * 100.0), 2147483647.0));
    };
    IndexRecord record;
    record.date = days[i];
    record.open = hundredths(open / stocks);
    record.high = hundredths(high / stocks);
    record.low = hundredths(low / stocks);
    record.close = hundredths(close / stocks);
    record.amount = static_cast<float>(amount);
    record.volume = hundredths(vol);
    record.advancing = static_cast<int16_t>(advancing);
    record.declining = static_cast<int16_t>(declining);
    PutIndexRecord(record, bytes);
  }
  return bytes;
}

std::string BarText(const Bar& b) {
  return Format("%.2f,%.2f,%.2f,%.2f,%.2f,%.0f", b.open, b.high, b.low, b.close, b.amount, b.vol);
}

}  // namespace

bool WriteSampleMarket(const std::filesystem::path& root, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(root / kDayDataFolder, ec);
  std::filesystem::create_directories(root / kMinDataFolder, ec);
  if (ec) {
    error = "cannot create folders under " + root.string() + ": " + ec.message();
    return false;
  }
  const std::vector<int> days = TradingDays(kDayBars);
  StockDirectory directory;
  uint64_t seed = 20240101;
  std::vector<std::vector<Bar>> all_bars;
  for (const SampleStock& stock : kStocks) {
    std::vector<Bar>& stock_bars = all_bars.emplace_back();
    Random random(seed++);
    std::string day_text;
    std::string minute_text;
    double previous_close = stock.first_price;
    for (int i = 0; i < kDayBars; ++i) {
      Bar day;
      if (stock.with_minutes && i >= kDayBars - kMinuteDays) {
        std::vector<Bar> minutes = MinuteBars(random, previous_close, stock);
        day = {minutes.front().open, 0, 1e18, minutes.back().close, 0, 0};
        for (int k = 0; k < kMinutesPerDay; ++k) {
          const Bar& m = minutes[k];
          day.high = std::max(day.high, m.high);
          day.low = std::min(day.low, m.low);
          day.amount += m.amount;
          day.vol += m.vol;
          minute_text += Format("%d,%04d,", days[i], MinuteTime(k)) + BarText(m) + "\r\n";
        }
        day.amount = Round2(day.amount);
      } else {
        day = DayBar(random, previous_close, stock);
      }
      day_text += Format("%d,", days[i]) + BarText(day) + "\r\n";
      stock_bars.push_back(day);
      previous_close = day.close;
    }
    const std::string file = std::string(stock.code) + ".TXT";
    if (!WriteFileAtomically(root / kDayDataFolder / file, day_text) ||
        (stock.with_minutes && !WriteFileAtomically(root / kMinDataFolder / file, minute_text))) {
      error = "cannot write the data file of " + std::string(stock.code);
      return false;
    }
    TStockDirEntry entry;
    entry.SetCode(stock.code);
    entry.SetName(stock.name);
    entry.SetMarket(stock.market);
    directory.Upsert(entry);
  }
  if (!WriteFileAtomically(root / kShenzhenIndexFile, IndexFileBytes(0, 10000.0, all_bars)) ||
      !WriteFileAtomically(root / kShanghaiIndexFile, IndexFileBytes(1, 3000.0, all_bars))) {
    error = "cannot write the index files under " + root.string();
    return false;
  }
  if (!directory.Save(root / "winbase.dat")) {
    error = "cannot write " + (root / "winbase.dat").string();
    return false;
  }
  return true;
}

}  // namespace vorelin
