// The chart control under test: scripted pane formulas, a small indicator library and a
// host that records what the chart asked of its window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chart/gp.h"
#include "tests/chart/fake_formula.h"
#include "tests/chart/recording_canvas.h"

namespace vorelin::testing {

class FakeLibrary : public IndicatorLibrary {
 public:
  std::string FormulaText(const std::string& name) const override {
    return name == "NOSUCH" ? std::string() : "TEXT OF " + name;
  }
  std::vector<std::string> Names(int tab) const override {
    if (tab == 1) return {"MACD", "MA", "VOL", "DMA", "DMI", "FSL", "TRIX", "BRAR", "CR"};
    if (tab == 2) return {"KDJ", "RSI"};
    return {"MACD", "MA", "VOL", "DMA", "DMI", "FSL", "TRIX", "BRAR", "CR", "KDJ", "RSI"};
  }
};

// Records every call as a text line ("ask 提示|导出成功,是否打开此文件?") and answers
// questions and dialogs as the test sets it up.
class RecordingHost : public ChartHost {
 public:
  void ShowBuffer(const Canvas&) override { ++shown; }
  void RequestRepaint() override { ++repaint_requests; }
  bool HasFocus() const override { return focused; }
  void RequestFocus() override {
    focused = true;
    Record("focus");
  }
  void SetPointer(PointerShape shape) override { pointer = shape; }
  void MoveMousePointer(int x, int y) override { Record("pointer to " + Xy(x, y)); }
  void MouseDown(MouseButton button, int x, int y) override { Record("down " + Button(button) + Xy(x, y)); }
  void MouseMove(unsigned buttons, int x, int y) override { Record("move " + Button(buttons) + Xy(x, y)); }
  void MouseUp(MouseButton button, int x, int y) override { Record("up " + Button(button) + Xy(x, y)); }
  void DoubleClick(int x, int y) override { Record("double click " + Xy(x, y)); }
  void KeyDown(ChartKey key, KeyModifiers) override { Record("key " + std::to_string(static_cast<int>(key))); }
  void ShowInfoWindow(const InfoWindowPlacement& p) override {
    Record("show info " + (p.place ? "at " + Xy(p.x, p.y) + " " : std::string()) + "height " +
           std::to_string(p.height));
  }
  void HideInfoWindow() override { Record("hide info"); }
  void SetInfoWindowHeight(int height) override { Record("info height " + std::to_string(height)); }
  // Kept apart from `calls`: every repaint with the window shown writes it.
  void SetInfoWindowText(const std::string& title, const std::string& text) override {
    info_title = title;
    info_text = text;
  }
  bool InfoWindowIsForeground() const override { return info_foreground; }
  bool Ask(const std::string& title, const std::string& text) override {
    Record("ask " + title + "|" + text);
    return answer;
  }
  void ShowMessage(const std::string& text) override { Record("message " + text); }
  bool ChooseColour(Colour start, Colour* chosen) override {
    Record("colour from " + Hex(start));
    if (!colour) return false;
    *chosen = *colour;
    return true;
  }
  bool ChooseOpenFile(const std::string& title, const std::string& filter, const std::string& extension,
                      const std::string& folder, std::string* file) override {
    Record("open file " + title + "|" + filter + "|" + extension + "|" + folder);
    if (open_file.empty()) return false;
    *file = open_file;
    return true;
  }
  void OpenWithSystem(const std::string& file) override { Record("open " + file); }
  bool PutOnClipboard(const RgbImage& image) override {
    Record("clipboard " + std::to_string(image.width) + "x" + std::to_string(image.height));
    return true;
  }
  bool AskFigureText(FigureText* text) override {
    Record("ask text");
    if (!figure_text) return false;
    *text = *figure_text;
    return true;
  }
  bool SupportsFormulaDialog(FormulaDialog) const override { return formula_dialogs; }
  bool ShowUsageNotes(PaneFormula& pane) override { return Dialog("usage notes", pane); }
  bool AdjustParameters(PaneFormula& pane) override { return Dialog("parameters", pane); }
  bool EditFormula(PaneFormula& pane) override { return Dialog("editor", pane); }

  int shown = 0;  // paints
  int repaint_requests = 0;
  PointerShape pointer = PointerShape::kDefault;
  bool focused = false;
  bool info_foreground = false;
  bool answer = false;
  std::optional<Colour> colour;
  std::string open_file;
  std::optional<FigureText> figure_text;
  bool formula_dialogs = false;
  const PaneFormula* dialog_pane = nullptr;
  std::vector<std::string> calls;
  std::string info_title;
  std::string info_text;

 private:
  void Record(const std::string& line) { calls.push_back(line); }
  bool Dialog(const std::string& name, PaneFormula& pane) {
    Record(name);
    dialog_pane = &pane;
    return true;
  }
  static std::string Xy(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
  static std::string Button(unsigned buttons) {
    std::string text;
    if (buttons & kLeftButton) text += "left ";
    if (buttons & kRightButton) text += "right ";
    if (buttons & kMiddleButton) text += "middle ";
    return text;
  }
};

class ChartTest : public ::testing::Test {
 protected:
  std::unique_ptr<TGP> MakeChart(int width, int height) {
    auto chart = std::make_unique<TGP>(
        width, height,
        [this](int w, int h) {
          auto canvas = std::make_unique<RecordingCanvas>(w, h);
          buffers.push_back(canvas.get());
          return canvas;
        },
        [this](PaneFormula* parent) {
          auto formula = std::make_unique<FakeFormula>(static_cast<FakeFormula*>(parent));
          formulas.push_back(formula.get());
          return formula;
        },
        library, &host);
    chart->OnError = [this](const std::string& text) { errors.push_back(text); };
    return chart;
  }
  // Fills pane 0 with `count` day bars through SetSeries.
  static void Feed(TGP& chart, int count, bool recalculate) {
    std::vector<double> date, price;
    for (int i = 0; i < count; ++i) {
      date.push_back(20200101 + i);
      price.push_back(10 + i % 7);
    }
    for (const char* name : {"date", "time", "open", "high", "low", "close", "amount"}) {
      chart.SetSeries(name, name == std::string("date") ? date : price, false);
    }
    chart.SetSeries("vol", price, recalculate);
  }
  FakeFormula& Formula(TGP& chart, int pane) { return static_cast<FakeFormula&>(chart.Pane(pane)); }

  FakeLibrary library;
  RecordingHost host;
  std::vector<RecordingCanvas*> buffers;  // back buffers made by the chart, the newest last
  std::vector<FakeFormula*> formulas;
  std::vector<std::string> errors;
};

}  // namespace vorelin::testing
