// Where a pane draws: its margins, the bars it shows and the mappings between bar indexes,
// values and pixels. All pixel arithmetic truncates toward zero.
#pragma once

#include "chart/chart_types.h"

namespace vorelin {

struct PaneGeometry {
  int w = 0, g = 0;        // pane bitmap size
  int l = 0, r = 0, t = 0, b = 0;
  int h = 0, h2 = 0;       // line height and its half
  double u = 0;            // bar spacing
  double P = 0;            // body width
  int d = 0, e = 0;        // first drawn bar, one past the last
  int bar_count = 0;
  bool time_sharing = false;
  double max = 0, min = 0, M = 0;

  int X(int i) const;                       // slot left edge of bar i
  int Centre(int i) const { return X(i) + Trunc(P / 2); }
  int Y(double v) const;
  double ValueAt(int y) const { return max - (y - t) / M; }
  // Bar under pixel x: d-based in K-line panes, 0-based in time-sharing panes.
  int BarAtX(int x) const;
  int PlotHeight() const { return g - t - b; }
  int PlotWidth() const { return w - r - l; }

  static int Trunc(double v);
};

// Margins, spacing and the drawn range of a pane bitmap of `width` × `height`.
PaneGeometry LayoutPane(const PaneFlags& flags, int width, int height, int line_height,
                        int first_bar, double scale, int bar_count);

// The vertical range of a pane over its drawn bars, widened as the chart's scale rules say.
void ComputeScale(PaneFormula& formula, const PaneFlags& flags, bool draws_klines,
                  PaneGeometry& geometry);

// Minute index of the time-sharing view to minutes since midnight (0 → 09:30, 121 → 13:01).
int MinuteIndexToClock(int k);

}  // namespace vorelin
