// The session's chart without a window, drawn on a Qt image.
#include "tools/vorelin-replay/offscreen_chart.h"

#include <iostream>
#include <memory>

#include "chart/qt/qt_canvas.h"

namespace vorelin {

OffscreenChart::OffscreenChart()
    : chart_(kScreenshotWidth, kScreenshotHeight,
             [](int w, int h) { return std::make_unique<QtCanvas>(w, h); },
             TgsPaneFormula::Factory(), library_),
      port_(chart_) {
  chart_.OnError = [this](const std::string& text) {
    if (text.empty() || text == last_error_) return;  // every pane reports again on each run
    last_error_ = text;
    std::cerr << "vorelin-replay: 公式错误: " << text << "\n";
  };
  // The trainer's chart applies its published ShowLeft default to every pane, so the price
  // pane lines up with the panes below it (as vorelin-render draws it).
  chart_.SetShowLeft(true);
}

ScreenshotWriter OffscreenChart::Screenshot() {
  return [this](const std::filesystem::path& jpg) {
    if (chart_.SaveAllImage(jpg.string())) return true;
    std::cerr << "vorelin-replay: 无法写入截图: " << jpg.string() << "\n";
    return false;
  };
}

}  // namespace vorelin
