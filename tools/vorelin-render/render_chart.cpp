// Feeds the last bars of a data file into a chart drawn on a QImage and writes the picture.
#include "tools/vorelin-render/render_chart.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "chart/image_files.h"
#include "chart/qt/qt_canvas.h"
#include "common/numbers.h"
#include "formula_chart/formula_chart.h"
#include "market/bar_series.h"

namespace vorelin {

namespace {

std::string LowerExtension(const std::string& file) {
  std::string ext = std::filesystem::path(file).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

void FeedLastDay(TGP& chart, const std::vector<TBarRecord>& bars) {
  const std::string last_date = bars.back().date;
  size_t first = bars.size();
  while (first > 0 && bars[first - 1].date == last_date) --first;
  if (first > 0) chart.SetPrevClose(bars[first - 1].close);
  for (size_t i = first; i < bars.size(); ++i) {
    const bool last = i + 1 == bars.size();
    chart.AddFsValue("time", true, false, ParseDecimalOr(bars[i].time, 0));
    chart.AddFsValue("close", true, false, bars[i].close);
    chart.AddFsValue("amount", true, false, bars[i].amount);
    chart.AddFsValue("vol", true, last, bars[i].vol);
  }
}

}  // namespace

bool RenderChartFile(const RenderOptions& options, std::string* error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(options.data_file, ec)) {
    *error = "数据文件不存在: " + options.data_file;
    return false;
  }
  // The first bad line's message is kept: a file of nothing but bad lines is no chart.
  struct CollectingSink : MessageSink {
    void Show(const std::string& text) override { message = text; }
    bool Ask(const std::string&) override { return false; }
    std::string message;
  } sink;
  Tstock stock(&sink);
  stock.FileName = options.data_file;
  if (!stock.LoadBars()) {
    *error = "无法读取数据文件: " + options.data_file;
    return false;
  }
  const bool any_bar = std::any_of(stock.Bars.begin(), stock.Bars.end(),
                                   [](const TBarRecord& bar) { return !bar.date.empty(); });
  if (!any_bar) {
    *error = (sink.message.empty() ? std::string("数据文件没有K线") : sink.message) + ": " + options.data_file;
    return false;
  }
  if (!sink.message.empty()) std::fprintf(stderr, "vorelin-render: %s\n", sink.message.c_str());

  FormulaChart formula_chart(options.width, options.height);
  TGP& chart = formula_chart.Chart();
  for (const std::string& name : options.panes) {
    if (formula_chart.Library().FormulaText(name).empty()) {
      *error = "未知指标: " + name;
      return false;
    }
  }
  chart.BeginUpdate();
  chart.SetShowBoard(false);
  chart.SetShowLeft(true);
  chart.StkLabel = std::filesystem::path(options.data_file).stem().string();
  // The panes' formulas are loaded after the data, so that every error reported is real.
  if (options.time_sharing) {
    FeedLastDay(chart, stock.Bars);
    chart.SetShowFs(true);
  } else {
    const int count = static_cast<int>(stock.Bars.size());
    FeedBars(chart, ColumnsOf(stock.Bars, count - options.bars, count - 1));
    chart.SetScale(std::max(2, (options.width - 100) / std::max(options.bars, 1)));
  }
  std::string last_error;
  chart.OnError = [&last_error](const std::string& text) {
    if (text == last_error) return;  // every pane reports again on each run
    last_error = text;
    std::fprintf(stderr, "vorelin-render: 公式错误: %s\n", text.c_str());
  };
  if (options.time_sharing) {
    chart.LoadIndicator(chart.FsPane(0), "FS");
    chart.LoadIndicator(chart.FsPane(1), "FSVOL");
  } else {
    chart.SetTechWindows(static_cast<int>(options.panes.size()));
    for (size_t i = 0; i < options.panes.size(); ++i) {
      chart.LoadIndicator(chart.Pane(static_cast<int>(i)), options.panes[i]);
    }
  }
  chart.EndUpdate();

  const auto* canvas = dynamic_cast<const QtCanvas*>(chart.BackBuffer());
  if (canvas == nullptr) {
    *error = "图像尺寸太小";
    return false;
  }
  const std::string ext = LowerExtension(options.out);
  bool ok = false;
  if (ext == ".jpg" || ext == ".jpeg") {
    ok = WriteJpegFile(options.out, canvas->ReadPixels(), kJpegQuality, error);
  } else if (ext == ".bmp") {
    ok = WriteBmpFile(options.out, canvas->ReadPixels(), error);
  } else {
    ok = canvas->SavePng(options.out);
    if (!ok) *error = "无法写入文件: " + options.out;
  }
  return ok;
}

}  // namespace vorelin
