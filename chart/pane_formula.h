// What the chart needs from a pane's formula interpreter: its series, constants, colour
// words, output entries and header values for drawing, and compile, run and raw-data entry
// for feeding it. The interpreter adapter implements it; tests use scripted formulas.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "market/stock_directory.h"

namespace vorelin {

inline constexpr double kChartNoValue = -10'000'000.0;

// A read-only look at one series: `count` values, index 0 the oldest bar.
struct SeriesView {
  const double* values = nullptr;
  int count = 0;
  explicit operator bool() const { return values != nullptr; }
  double operator[](int i) const { return values[i]; }
};

// One ex-rights event of the formula's stock, per 10 shares.
struct ExRightsEvent {
  int date = 0;  // YYYYMMDD
  float cash = 0;
  float rights_price = 0;
  float bonus = 0;
  float rights = 0;
};

// The three blocks every chart formula reads through DYNAINFO, FINANCE and the breadth
// constants; owned by the chart, attached to its formulas.
struct ChartBlocks {
  std::array<float, 101> quote{};
  std::array<float, 101> finance{};
  std::array<float, 8> breadth{};
  TStockDirEntry stock_record;
};

class PaneFormula {
 public:
  virtual ~PaneFormula() = default;

  // Drawing side.
  virtual SeriesView ResolveSeries(const std::string& name) = 0;
  virtual SeriesView FindSeries(const std::string& name) = 0;
  // True and the value when `name` is a constant (a number text or a named constant).
  virtual bool ResolveConstant(const std::string& name, double* value) = 0;
  virtual uint32_t ColourOf(const std::string& word) const = 0;
  virtual std::vector<std::string>& Outputs() = 0;
  virtual int DrawK() const = 0;  // -1 when the formula says nothing
  virtual std::string ShortName() const = 0;
  virtual std::vector<double> ParameterValues() const = 0;
  // Dates (YYYYMMDD) of the ex-rights records in use, at most 41.
  virtual std::vector<int> ExRightsDates() const = 0;
  // The ex-rights events in use, at most 41.
  virtual std::vector<ExRightsEvent> ExRightsEvents() const = 0;
  virtual void AppendError(const std::string& text) = 0;
  virtual void SetError(const std::string& text) = 0;
  virtual std::string ErrorText() const = 0;

  // Feeding side; each returns false and keeps one error text on failure.
  virtual int BarCount() const = 0;
  virtual bool CompileText(const std::string& text) = 0;
  virtual bool CompileFile(const std::string& path) = 0;
  virtual bool Run() = 0;
  virtual bool PushRawValue(const std::string& name, double value, bool append) = 0;
  virtual bool SetRawSeries(const std::string& name, const std::vector<double>& values) = 0;
  // Empties raw series, results and outputs; the formula text stays for the next run.
  virtual void ClearData() = 0;
  virtual bool SetAdjustment(int type) = 0;
  virtual int Adjustment() const = 0;
  virtual void SetPeriodCode(int code) = 0;
  virtual void SetStockTexts(const std::string& name, const std::string& code,
                             const std::string& period_label) = 0;
  virtual void SetFileName(const std::string& name) = 0;
  virtual std::string FileName() const = 0;
  virtual void AttachBlocks(ChartBlocks* blocks) = 0;
  // Time-sharing formulas never adjust their prices.
  virtual void ExcludeFromAdjustment() {}

  // Files of the pane, holding only the bars it has been given. The exports are false when
  // the file cannot be written; SaveRawData also when the pane has no raw series.
  virtual bool ExportTable(const std::string& path) = 0;
  virtual bool ExportCsv(const std::string& path, bool all) = 0;
  virtual bool SaveRawData(const std::string& path) = 0;
  // Replaces the pane's data and formula by the file's and runs it (true even when that run
  // fails); false, the pane unchanged, when the file cannot be read or is no raw-data file.
  virtual bool LoadRawData(const std::string& path) = 0;
};

}  // namespace vorelin
