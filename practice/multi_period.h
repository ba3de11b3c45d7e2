// The multi-period window's logic: nine small charts showing the replayed stock at nine
// periods, each built from the rows the trainee has already seen. The window in the app
// places the charts and owns the menus; what they show and switch to is decided here.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "market/bar_series.h"
#include "practice/chart_port.h"
#include "practice/replay_controller.h"

namespace vorelin {

inline constexpr int kMultiPeriodCharts = 9;
inline constexpr const char* kMultiPeriodCaption = "多周期同列";
inline constexpr const char* kMultiPeriodFormulaFile = "mac.wfc";
inline constexpr const char* kCustomPeriodTitle = "周期设置";
inline constexpr const char* kCustomPeriodPrompt = "输入整数数字";

// The shared popup menu of the nine charts, in order.
inline constexpr std::array<const char*, 9> kMultiPeriodMenu = {
    "四图",         "六图",         "九图",         "自定义周期", "指标用法注释",
    "调整指标参数", "修改指标公式", "恢复默认指标", "显示指标栏"};

// What grid position k shows: its period name and the base rows per bar (0: nothing).
struct MultiPeriodSlot {
  const char* name;
  int multiplier;
};

// Mode 0 for minute data, 1 for day data; position 0 … 8 in row-major order.
MultiPeriodSlot MultiPeriodSlotOf(int mode, int position);

struct ChartPlace {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const ChartPlace&) const = default;
};

// Where chart `position` goes in a client area of `width` × `height` with `count` charts
// (4, 6 or 9) in view. All nine are always placed; with fewer in view the others start at
// the right and bottom edges and show as slivers.
ChartPlace MultiPeriodPlace(int count, int position, int width, int height);

// The formula of the small charts, written into a data root that lacks it: K-lines with
// three moving averages.
extern const char* const kDefaultMultiPeriodFormula;
// Writes root + "mac.wfc" (GBK) when it does not exist; an existing file is the user's and
// stays. False with `error` set when it cannot be written.
bool WriteDefaultMultiPeriodFormula(const std::filesystem::path& root, std::string* error);

class MultiPeriodCharts {
 public:
  // `charts` in position order; the main chart is the replay's.
  MultiPeriodCharts(ReplayController& replay,
                    const std::array<ChartPort*, kMultiPeriodCharts>& charts);

  // Rebuilds every chart whose period is above 0 from the replay's revealed rows, for
  // `mode` (the period choice: 0 minute data, 1 day data).
  void RefreshAll(int mode);
  int Mode() const { return mode_; }

  int LayoutCount() const { return layout_count_; }
  // 4, 6 or 9; other counts are ignored.
  void SetLayoutCount(int count);

  // The chart's own period (0: the table's), its table multiplier and its period label.
  int Period(int position) const { return slots_[Index(position)].period; }
  int Tag(int position) const { return slots_[Index(position)].tag; }
  const std::string& Week(int position) const { return slots_[Index(position)].week; }

  // '自定义周期' with the typed text: a whole number above 0 becomes the chart's period and
  // label and the charts are refreshed (true); any other text changes nothing.
  bool SetCustomPeriod(int position, std::string_view text);

  // The base rows per bar a double-click on the chart switches the main chart to: its
  // table multiplier, or its custom period where the table has none; 0 when it has neither.
  int SwitchMultiplier(int position) const;
  // The double-click: shows the main chart at SwitchMultiplier; false (nothing changed)
  // when that is 0.
  bool SwitchMainChart(int position);

 private:
  struct Slot {
    ChartPort* chart = nullptr;
    int period = 0;
    int tag = 0;
    std::string week;
  };
  static size_t Index(int position) { return static_cast<size_t>(position); }
  void Show(Slot& slot);

  ReplayController& replay_;
  std::array<Slot, kMultiPeriodCharts> slots_;
  std::vector<TBarRecord> grouped_;  // the bars of the chart being refreshed
  int mode_ = 0;
  int layout_count_ = 4;
};

}  // namespace vorelin
