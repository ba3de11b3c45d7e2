// vorelin-render: draws the chart of a data file's last bars (or the intraday view of its last
// day) without a display and writes it as PNG, JPEG or BMP.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/vorelin-render/render_chart.h"

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  }
  vorelin::RenderOptions options;
  std::string error;
  if (!vorelin::ParseRenderOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "vorelin-render: %s\n%s", error.c_str(), vorelin::kRenderUsage);
    return 2;
  }
  QGuiApplication app(argc, argv);
  if (!vorelin::RenderChartFile(options, &error)) {
    std::fprintf(stderr, "vorelin-render: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
