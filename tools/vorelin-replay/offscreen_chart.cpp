// The session's chart without a window, drawn on a Qt image.
#include "tools/vorelin-replay/offscreen_chart.h"

#include <iostream>

namespace vorelin {

OffscreenChart::OffscreenChart()
    : chart_(kScreenshotWidth, kScreenshotHeight), port_(chart_.Chart()) {
  chart_.Chart().OnError = [this](const std::string& text) {
    if (text.empty() || text == last_error_) return;  // every pane reports again on each run
    last_error_ = text;
    std::cerr << "vorelin-replay: 公式错误: " << text << "\n";
  };
  // The trainer's chart applies its published ShowLeft default to every pane, so the price
  // pane lines up with the panes below it (as vorelin-render draws it).
  chart_.Chart().SetShowLeft(true);
}

ScreenshotWriter OffscreenChart::Screenshot() {
  return [this](const std::filesystem::path& jpg) {
    if (chart_.Chart().SaveAllImage(jpg.string())) return true;
    std::cerr << "vorelin-replay: 无法写入截图: " << jpg.string() << "\n";
    return false;
  };
}

}  // namespace vorelin
