// The chart control under test: scripted pane formulas, a small indicator library and a
// host that records what the chart asked of its window.
#pragma once

#include <gtest/gtest.h>

#include <memory>
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
    return {};
  }
};

class RecordingHost : public ChartHost {
 public:
  void ShowBuffer(const Canvas&) override { ++shown; }
  void RequestRepaint() override { ++repaint_requests; }
  void SetPointer(PointerShape shape) override { pointer = shape; }
  int shown = 0;  // paints
  int repaint_requests = 0;
  PointerShape pointer = PointerShape::kDefault;
};

class ChartTest : public ::testing::Test {
 protected:
  std::unique_ptr<TGP> MakeChart(int width, int height) {
    auto chart = std::make_unique<TGP>(
        width, height, [](int w, int h) { return std::make_unique<RecordingCanvas>(w, h); },
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
  std::vector<FakeFormula*> formulas;
  std::vector<std::string> errors;
};

}  // namespace vorelin::testing
