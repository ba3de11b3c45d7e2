#include "practice/multi_period.h"

#include <algorithm>
#include <system_error>

#include "common/numbers.h"
#include "common/text_file.h"
#include "market/bar_columns.h"

namespace vorelin {
namespace {

constexpr MultiPeriodSlot kMinuteSlots[kMultiPeriodCharts] = {
    {"1分钟", 1},  {"5分钟", 5},     {"15分钟", 15},  {"30分钟", 30}, {"60分钟", 60},
    {"日线", 240}, {"周线", 1200},   {"月线", 5280},  {"年线", 60000}};
constexpr MultiPeriodSlot kDaySlots[kMultiPeriodCharts] = {
    {"日线", 1},   {"周线", 5},  {"月线", 22}, {"季线", 66}, {"半年线", 120},
    {"年线", 250}, {"自定义", 0}, {"", 0},      {"", 0}};

// The base series' revealed rows in groups of n, as Tstock::Aggregate builds them from the
// raw lines, but from the bars parsed when the file was loaded: nine charts a step cost no
// copying or parsing of the file's lines.
void GroupRevealedRows(const Tstock& base, int n, std::vector<TBarRecord>& out) {
  out.clear();
  const int rows = static_cast<int>(base.Bars.size());
  const int current = std::min(base.CurrentRow, rows - 1);
  const int start = std::max(base.StartRow, 0);
  const int c = start < current ? current - start + 1 : 0;
  const int groups = c / n, rest = c % n;
  out.reserve(static_cast<size_t>(groups + (rest > 0)));
  const TBarRecord* bars = base.Bars.data();
  for (int k = 0; k < groups; ++k)
    out.push_back(Tstock::CombineGroup(bars + start + k * n, static_cast<size_t>(n)));
  if (rest > 0)
    out.push_back(Tstock::CombineGroup(bars + current - rest + 1, static_cast<size_t>(rest)));
}

}  // namespace

const char* const kDefaultMultiPeriodFormula =
    "TECHNAME:=MAC;\r\n"
    "TECHTITLE:=K线均线;\r\n"
    "DRAWK:=TRUE;\r\n"
    "M1:=INPUT(2,1000,5,5);\r\n"
    "M2:=INPUT(2,1000,10,10);\r\n"
    "M3:=INPUT(2,1000,20,20);\r\n"
    "MA1:MA(CLOSE,M1);\r\n"
    "MA2:MA(CLOSE,M2);\r\n"
    "MA3:MA(CLOSE,M3);\r\n"
    "*多周期同列的K线与三条均线。\r\n";

MultiPeriodSlot MultiPeriodSlotOf(int mode, int position) {
  if (position < 0 || position >= kMultiPeriodCharts) return {"", 0};
  return (mode == 0 ? kMinuteSlots : kDaySlots)[position];
}

ChartPlace MultiPeriodPlace(int count, int position, int width, int height) {
  const double columns = count == 4 ? 2.1 : 3.1;
  const double rows = count == 9 ? 3.1 : 2.1;
  ChartPlace place;
  place.width = static_cast<int>(width / columns);
  place.height = static_cast<int>(height / rows);
  place.left = position % 3 * place.width;
  place.top = position / 3 * place.height;
  return place;
}

bool WriteDefaultMultiPeriodFormula(const std::filesystem::path& root, std::string* error) {
  const std::filesystem::path file = root / kMultiPeriodFormulaFile;
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) return true;
  return WriteGbkText(file, kDefaultMultiPeriodFormula, error);
}

MultiPeriodCharts::MultiPeriodCharts(ReplayController& replay,
                                     const std::array<ChartPort*, kMultiPeriodCharts>& charts)
    : replay_(replay) {
  for (size_t k = 0; k < slots_.size(); ++k) slots_[k].chart = charts[k];
}

void MultiPeriodCharts::SetLayoutCount(int count) {
  if (count == 4 || count == 6 || count == 9) layout_count_ = count;
}

void MultiPeriodCharts::RefreshAll(int mode) {
  mode_ = mode;
  const Tstock& base = replay_.Base();
  if (base.BarCount <= 0) return;
  for (int k = 0; k < kMultiPeriodCharts; ++k) {
    Slot& slot = slots_[Index(k)];
    const MultiPeriodSlot table = MultiPeriodSlotOf(mode, k);
    if (slot.period == 0) {
      slot.week = table.name;
      slot.chart->SetWeek(slot.week);
    }
    slot.tag = table.multiplier;
    const int period = slot.period > 0 ? slot.period : slot.tag;
    if (period <= 0) continue;  // nothing to aggregate: the chart keeps what it shows
    GroupRevealedRows(base, period, grouped_);
    Show(slot);
  }
}

void MultiPeriodCharts::Show(Slot& slot) {
  ChartPort& chart = *slot.chart;
  if (grouped_.empty()) {
    // Nothing revealed yet: an earlier stock's bars must not stay under this stock's name.
    chart.ClearData();
    chart.SetWeek(slot.week);
    return;
  }
  const BarColumns bars = ColumnsOf(grouped_, 0, static_cast<int>(grouped_.size()) - 1);
  chart.ResetPriceData();
  chart.SetStkLabel(replay_.Account().StockCode);
  chart.SetStkName(replay_.Account().StockName);
  chart.SetShowBar3d(false);
  for (size_t c = 0; c < BarColumns::kNames.size(); ++c)
    chart.SetSeries(BarColumns::kNames[c], bars[c], c + 1 == BarColumns::kNames.size());
}

bool MultiPeriodCharts::SetCustomPeriod(int position, std::string_view text) {
  const int v = ParseIntOr(text, 0);
  if (v <= 0) return false;
  Slot& slot = slots_[Index(position)];
  slot.period = v;
  slot.week = std::to_string(v) + (mode_ == 0 ? "分钟" : "日线");
  slot.chart->SetWeek(slot.week);
  RefreshAll(mode_);
  return true;
}

int MultiPeriodCharts::SwitchMultiplier(int position) const {
  const Slot& slot = slots_[Index(position)];
  return slot.tag > 0 ? slot.tag : slot.period;
}

bool MultiPeriodCharts::SwitchMainChart(int position) {
  const int n = SwitchMultiplier(position);
  if (n <= 0) return false;
  replay_.ShowPeriod(n, slots_[Index(position)].week);
  return true;
}

}  // namespace vorelin
