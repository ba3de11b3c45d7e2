// A chart pane's formula backed by the interpreter `TGS`, and the built-in indicator
// library as the chart asks for it.
#pragma once

#include <memory>

#include "chart/gp.h"
#include "formula/interpreter.h"

namespace vorelin {

class TgsPaneFormula final : public PaneFormula {
 public:
  // A child shares the raw series of `parent`.
  explicit TgsPaneFormula(TgsPaneFormula* parent = nullptr);

  TGS& Interpreter() { return gs_; }

  SeriesView ResolveSeries(const std::string& name) override;
  SeriesView FindSeries(const std::string& name) override;
  bool ResolveConstant(const std::string& name, double* value) override;
  uint32_t ColourOf(const std::string& word) const override;
  std::vector<std::string>& Outputs() override { return outputs_; }
  int DrawK() const override { return gs_.DrawK(); }
  std::string ShortName() const override { return gs_.ShortName(); }
  std::vector<double> ParameterValues() const override;
  std::vector<int> ExRightsDates() const override;
  std::vector<ExRightsEvent> ExRightsEvents() const override;
  void AppendError(const std::string& text) override { gs_.AppendError(text); }
  void SetError(const std::string& text) override { gs_.SetError(text); }
  std::string ErrorText() const override { return gs_.ErrorText(); }

  int BarCount() const override { return gs_.BarCount(); }
  bool CompileText(const std::string& text) override;
  bool CompileFile(const std::string& path) override;
  bool Run() override;
  bool PushRawValue(const std::string& name, double value, bool append) override;
  bool SetRawSeries(const std::string& name, const std::vector<double>& values) override;
  void ClearData() override;
  bool SetAdjustment(int type) override;
  int Adjustment() const override { return gs_.AdjustmentType(); }
  void SetPeriodCode(int code) override { gs_.SetPeriodCode(code); }
  void SetStockTexts(const std::string& name, const std::string& code, const std::string& period_label) override;
  void SetFileName(const std::string& name) override { gs_.SetFileName(name); }
  std::string FileName() const override { return gs_.FileName(); }
  void AttachBlocks(ChartBlocks* blocks) override;
  void ExcludeFromAdjustment() override { gs_.SetExcludedFromAdjustment(true); }
  bool ExportTable(const std::string& path) override;
  bool ExportCsv(const std::string& path, bool all) override;
  bool SaveRawData(const std::string& path) override;
  bool LoadRawData(const std::string& path) override;

  // Makes the factory TGP takes.
  static PaneFormulaFactory Factory();

 private:
  bool Synced(bool ok);

  TGS gs_;
  // The interpreter's outputs as of its last run; the chart may put the K-line entry first.
  std::vector<std::string> outputs_;
};

class BuiltinIndicatorLibrary final : public IndicatorLibrary {
 public:
  std::string FormulaText(const std::string& name) const override;
  std::vector<std::string> Names(int tab) const override;
};

}  // namespace vorelin
