// A scripted pane formula for chart tests: series, constants and output entries are set
// directly; children share their parent's raw series as chart panes do.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "chart/pane_formula.h"

namespace vorelin::testing {

class FakeFormula final : public PaneFormula {
 public:
  explicit FakeFormula(FakeFormula* parent = nullptr);

  // Test set-up.
  void SetSeries(const std::string& name, std::vector<double> values) { Own()[name] = std::move(values); }
  void SetComputed(const std::string& name, std::vector<double> values) { computed_[name] = std::move(values); }
  void SetConstant(const std::string& name, double value) { constants_[name] = value; }
  void SetOutputs(std::vector<std::string> outputs) { outputs_ = std::move(outputs); }
  void SetDrawK(int value) { drawk_ = value; }
  void SetShortName(std::string name) { short_name_ = std::move(name); }
  void SetParameters(std::vector<double> values) { parameters_ = std::move(values); }
  void SetExRights(std::vector<int> dates) { ex_rights_ = std::move(dates); }
  void SetExRightsEvents(std::vector<ExRightsEvent> events) { ex_rights_events_ = std::move(events); }
  // Called by every successful run: lets a test compute outputs from the raw series.
  std::function<void(FakeFormula&)> program;
  int runs = 0;
  std::string compiled_text;
  ChartBlocks* blocks = nullptr;
  int period_code = 13;

  SeriesView ResolveSeries(const std::string& name) override;
  SeriesView FindSeries(const std::string& name) override;
  bool ResolveConstant(const std::string& name, double* value) override;
  uint32_t ColourOf(const std::string& word) const override;
  std::vector<std::string>& Outputs() override { return outputs_; }
  int DrawK() const override { return drawk_; }
  std::string ShortName() const override { return short_name_; }
  std::vector<double> ParameterValues() const override { return parameters_; }
  std::vector<int> ExRightsDates() const override { return ex_rights_; }
  std::vector<ExRightsEvent> ExRightsEvents() const override { return ex_rights_events_; }
  void AppendError(const std::string& text) override { error_ += text; }
  void SetError(const std::string& text) override { error_ = text; }
  std::string ErrorText() const override { return error_; }
  int BarCount() const override;
  bool CompileText(const std::string& text) override;
  bool CompileFile(const std::string& path) override;
  bool Run() override;
  bool PushRawValue(const std::string& name, double value, bool append) override;
  bool SetRawSeries(const std::string& name, const std::vector<double>& values) override;
  void ClearData() override;
  bool SetAdjustment(int type) override {
    adjustment_ = type;
    return true;
  }
  int Adjustment() const override { return adjustment_; }
  void SetPeriodCode(int code) override { period_code = code; }
  void SetStockTexts(const std::string&, const std::string&, const std::string&) override {}
  void SetFileName(const std::string& name) override { file_name_ = name; }
  std::string FileName() const override { return file_name_; }
  void AttachBlocks(ChartBlocks* attached) override { blocks = attached; }
  // The files hold one line naming the kind of file and the short name; a raw-data file
  // loads when it starts with "raw".
  bool ExportTable(const std::string& path) override { return WriteFile(path, "table " + short_name_); }
  bool ExportCsv(const std::string& path, bool all) override {
    return WriteFile(path, (all ? "csv all " : "csv ") + short_name_);
  }
  bool SaveRawData(const std::string& path) override { return !Raw().empty() && WriteFile(path, "raw " + short_name_); }
  bool LoadRawData(const std::string& path) override;

 private:
  static bool WriteFile(const std::string& path, const std::string& text);
  std::map<std::string, std::vector<double>>& Own() { return parent_ ? parent_->Own() : raw_; }
  const std::map<std::string, std::vector<double>>& Raw() const { return parent_ ? parent_->Raw() : raw_; }
  std::vector<std::string> raw_order_;
  FakeFormula* parent_;
  std::map<std::string, std::vector<double>> raw_;
  std::map<std::string, std::vector<double>> computed_;
  std::map<std::string, double> constants_;
  std::vector<std::string> outputs_;
  int drawk_ = -1;
  std::string short_name_;
  std::vector<double> parameters_;
  std::vector<int> ex_rights_;
  std::vector<ExRightsEvent> ex_rights_events_;
  std::string error_;
  std::string file_name_;
  int adjustment_ = 0;
};

}  // namespace vorelin::testing
