// The session's chart without a window: a chart control with its default panes drawn on a
// Qt image, fed by the replay, whose whole picture is each trade's screenshot.
#pragma once

#include <string>

#include "formula_chart/formula_chart.h"
#include "formula_chart/gp_chart_port.h"
#include "practice/journal_store.h"

namespace vorelin {

inline constexpr int kScreenshotWidth = 1200;
inline constexpr int kScreenshotHeight = 800;

class OffscreenChart {
 public:
  // Needs a QGuiApplication for as long as it lives.
  OffscreenChart();

  ChartPort& Port() { return port_; }
  // Writes the chart's whole picture to the JPEG file, as a trade does.
  ScreenshotWriter Screenshot();

 private:
  FormulaChart chart_;
  GpChartPort port_;
  std::string last_error_;
};

}  // namespace vorelin
