// Pane margins, horizontal and vertical mappings, and the scale of a pane.
#include "chart/pane_geometry.h"

#include <algorithm>
#include <cmath>

#include "chart/output_entry.h"
#include "common/numbers.h"

namespace vorelin {

int PaneGeometry::Trunc(double v) { return TruncToInt(v); }

int PaneGeometry::X(int i) const { return Trunc(u * (i - d)) + l; }

int PaneGeometry::Y(double v) const {
  // Values far outside the scale (a series the range does not include) land far off the pane;
  // the clamp keeps the arithmetic in range without changing anything visible.
  constexpr double kFar = 1 << 24;
  const double y = g - std::trunc((v - min) * M) - b;
  return static_cast<int>(std::max(-kFar, std::min(kFar, y)));
}

int PaneGeometry::BarAtX(int x) const { return Trunc((x - l) / u) + d; }

PaneGeometry LayoutPane(const PaneFlags& flags, int width, int height, int line_height,
                        int first_bar, double scale, int bar_count) {
  PaneGeometry geo;
  geo.w = width;
  geo.g = height;
  geo.h = line_height;
  geo.h2 = line_height / 2;
  geo.t = flags.title ? geo.h + geo.h / 3 : geo.h2;
  geo.b = flags.bottom_axis ? geo.h2 + 18 : geo.h2;
  if (flags.time_sharing) {
    if (!flags.title) geo.t = 0;
    if (!flags.bottom_axis) geo.b = 2;
  }
  geo.l = flags.left_axis ? 50 : 0;
  geo.r = flags.right_axis ? 50 : 0;
  geo.bar_count = bar_count;
  geo.time_sharing = flags.time_sharing;
  if (flags.time_sharing) {
    geo.u = (geo.w - geo.l - geo.r) / 240.0;
    if (flags.fs_full && bar_count > 0) geo.u = static_cast<double>(geo.w - geo.l - geo.r) / bar_count;
    geo.d = 0;
    geo.e = std::min(240, bar_count);
    if (flags.fs_full) geo.e = bar_count;
  } else {
    geo.u = scale;
    const int n = geo.u <= 0 ? 0 : PaneGeometry::Trunc((geo.w - geo.r - geo.l) / geo.u);
    geo.d = std::max(first_bar, 0);
    geo.e = std::min(geo.d + n, bar_count);
  }
  geo.P = geo.u;
  if (geo.u > 8) {
    geo.P = geo.u - 2;
  } else if (geo.u > 2) {
    geo.P = geo.u - 1;
  }
  return geo;
}

namespace {

// Which arguments of a command are positions on the value axis (0-based).
std::vector<int> PositionArguments(const std::string& command) {
  if (command == "syline" || command == "btx" || command == "twr") return {0};
  if (command == "drawnumber" || command == "drawbmp" || command == "ployline" ||
      command == "drawicon" || command == "drawtext") {
    return {1};
  }
  if (command == "drawkline") return {0, 1, 2, 3};
  if (command == "stickbar") return {0, 1};
  if (command == "stickline") return {1, 2};
  if (command == "drawband") return {0, 2};
  return {};
}

struct Range {
  double max = kChartNoValue;
  double min = -kChartNoValue;
  void Add(double v) {
    if (v > max) max = v;
    if (v < min) min = v;
  }
  void AddSeries(const SeriesView& s, int d, int e) {
    const int end = std::min(e, s.count);
    for (int i = std::max(d, 0); i < end; ++i) {
      if (s[i] != kChartNoValue) Add(s[i]);
    }
  }
};

}  // namespace

void ComputeScale(PaneFormula& formula, const PaneFlags& flags, bool draws_klines,
                  PaneGeometry& geo) {
  Range range;
  const bool ts_price = flags.time_sharing && flags.price_pane;
  const bool has_prev = flags.prev_close != kChartNoValue;
  if (ts_price && flags.fs_all && has_prev) range.max = range.min = flags.prev_close;

  for (const std::string& text : formula.Outputs()) {
    const OutputEntry entry = ParseOutputEntry(text);
    if (entry.attributes.find("nodraw") != std::string::npos) continue;
    for (int index : PositionArguments(entry.command)) {
      if (index >= static_cast<int>(entry.arguments.size())) continue;
      const std::string& arg = entry.arguments[static_cast<size_t>(index)];
      if (SeriesView s = formula.ResolveSeries(arg)) {
        range.AddSeries(s, geo.d, geo.e);
      } else if (double value = 0; formula.ResolveConstant(arg, &value)) {
        range.Add(value);
      }
    }
  }
  if (draws_klines) {
    for (const char* name : {"open", "close", "high", "low"}) {
      range.AddSeries(formula.FindSeries(name), geo.d, geo.e);
    }
  }
  double max = range.max;
  double min = range.min;
  if (ts_price && flags.fs_all && has_prev) {
    const double c = flags.prev_close;
    const double span = std::max(std::fabs(max - c), std::fabs(min - c));
    if (c - span < min) min = c - span;
    if (c + span > max) max = c + span;
  }
  if (max == kChartNoValue) max = 0;
  if (min == -kChartNoValue) min = 0;
  if (PaneGeometry::Trunc(max * 10000) == PaneGeometry::Trunc(min * 10000)) {
    max += 0.001;
    min -= 0.001;
  }
  if (ts_price && flags.pr10 && has_prev) {
    const double c = flags.prev_close;
    if (1.1 * c > max && 0.9 * c < min) {
      const bool st = flags.stock_name.find("ST") != std::string::npos;
      max = (st ? 1.05 : 1.1) * c;
      min = (st ? 0.95 : 0.9) * c;
    }
    max = std::trunc((max + 0.005) * 100) / 100;
    min = std::trunc((min + 0.005) * 100) / 100;
  }
  geo.max = max;
  geo.min = min;
  geo.M = max != min ? geo.PlotHeight() / (max - min) : 0;
}

int MinuteIndexToClock(int k) {
  if (k > 120) k += 90;
  return k + 570;
}

}  // namespace vorelin
