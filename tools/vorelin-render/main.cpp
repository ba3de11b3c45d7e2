// vorelin-render: draws the chart of a data file's last bars (or the intraday view of its last
// day) without a display and writes it as PNG, JPEG or BMP.
#include <cstdio>
#include <string>

#include "chart/qt/gui_session.h"
#include "tools/vorelin-render/render_chart.h"

int main(int argc, char** argv) {
  vorelin::RenderOptions options;
  std::string error;
  if (!vorelin::ParseRenderOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "vorelin-render: %s\n%s", error.c_str(), vorelin::kRenderUsage);
    return 2;
  }
  vorelin::GuiSession gui(argc, argv);
  if (!vorelin::RenderChartFile(options, &error)) {
    std::fprintf(stderr, "vorelin-render: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
