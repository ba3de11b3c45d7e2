// The chart's enumerations and the per-pane drawing flags and reported values.
#pragma once

#include <string>

#include "chart/canvas.h"
#include "chart/pane_formula.h"

namespace vorelin {

enum class TWeiStyle {
  wsNone, wsFS, wsVol, wsKx,
  wsGS1, wsGS2, wsGS3, wsGS4, wsGS5, wsGS6, wsGS7, wsGS8, wsGS9, wsGS10,
  wsFSize, wsKSize, wsInfo, wsFenJia, wsBTab, wsBSize, wsTab
};

enum class BackStyle {
  wNone, wLeft, wRight, wTop, wBottom, wLeftTop, wLeftBottom, wRightTop, wRightBottom, wCenter
};

enum class TKStyple { ksBar, ksAmericia };
enum class TQuanStyle { qsNone, qsBack, qsBefore };
enum class TWeekStyle {
  wsMin5, wsMin15, wsMin30, wsMin60, wsDay, wsWeek, wsMonth, wsmin1, wsmin10, wsDay45, wsJi,
  wsYear, wsFenBi, wsNone
};

// Half-open box test of the chart's regions: left and top inclusive, right and bottom not.
inline bool Inside(int x, int y, int left, int top, int right, int bottom) {
  return x >= left && x < right && y >= top && y < bottom;
}

// Period names as the period menu shows them.
std::string PeriodName(TWeekStyle period);

// Flags the chart sets on each pane before drawing it.
struct PaneFlags {
  bool title = true;
  bool left_axis = true;
  bool right_axis = false;
  bool bottom_axis = false;
  bool time_sharing = true;
  bool price_pane = false;
  bool selected = false;
  bool highlight_selected = true;
  bool cursor = false;
  bool high_definition = false;
  bool bar3d = true;
  TKStyple kstyle = TKStyple::ksBar;
  bool high_low = true;
  TQuanStyle quan = TQuanStyle::qsNone;
  Colour frame_colour = 128;
  double prev_close = kChartNoValue;
  bool fs_all = true;
  bool fs_full = false;
  bool pr10 = false;
  int fs_row = 8;
  int fs_col = 14;
  TWeekStyle period = TWeekStyle::wsNone;
  bool drawings_shown = true;
  bool focused = false;
  bool hide_dates = false;  // blind training: no date on the axis or in the crosshair
  std::string stock_name;
  std::string stock_label;
  std::string period_label;
};

// What a pane reports after it is drawn, in control coordinates.
struct PaneReport {
  int left = 0, top = 0, right = 0, bottom = 0;
  float bar_spacing = 0;
  int first_bar = 0;
  int cursor_bar = 0;
  float cursor_value = static_cast<float>(kChartNoValue);
  double max = 0;
  double min = 0;
};

// Colours and font the chart hands to every pane draw.
struct PaneStyle {
  Colour background = 0;
  Colour fill_colour = 0xFF0000;
  BackStyle fill_style = BackStyle::wNone;
  Font font;
};

}  // namespace vorelin
