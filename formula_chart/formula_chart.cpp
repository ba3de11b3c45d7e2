#include "formula_chart/formula_chart.h"

#include <memory>

#include "chart/qt/qt_canvas.h"

namespace vorelin {

FormulaChart::FormulaChart(int width, int height, ChartHost* host)
    : chart_(width, height, [](int w, int h) { return std::make_unique<QtCanvas>(w, h); },
             TgsPaneFormula::Factory(), library_, host) {}

void FeedBars(TGP& chart, const BarColumns& bars) {
  for (size_t c = 0; c < BarColumns::kNames.size(); ++c)
    chart.SetSeries(BarColumns::kNames[c], bars[c], c + 1 == BarColumns::kNames.size());
}

}  // namespace vorelin
