// A chart control whose panes are run by the formula interpreter with the built-in
// indicators, drawn on Qt images: the one place the trainer, the tools, the benches and the
// image tests get "a chart with its formulas" from.
#pragma once

#include "chart/gp.h"
#include "chart/tgs_pane_formula.h"
#include "market/bar_columns.h"

namespace vorelin {

class FormulaChart {
 public:
  // Needs a QGuiApplication for as long as it lives.
  FormulaChart(int width, int height, ChartHost* host = nullptr);
  FormulaChart(const FormulaChart&) = delete;
  FormulaChart& operator=(const FormulaChart&) = delete;

  TGP& Chart() { return chart_; }
  const TGP& Chart() const { return chart_; }
  const IndicatorLibrary& Library() const { return library_; }

 private:
  BuiltinIndicatorLibrary library_;
  TGP chart_;
};

// Replaces the price pane's raw series with `bars`; the shown panes rerun once, after the
// last series.
void FeedBars(TGP& chart, const BarColumns& bars);

}  // namespace vorelin
