// The interpreter behind chart panes.
#include "chart/tgs_pane_formula.h"

#include "formula/builtin_formulas.h"
#include "formula/colour_words.h"
#include "formula/data_files.h"

namespace vorelin {

namespace {
SeriesView ViewOf(const Tbian* series) {
  if (series == nullptr) return {};
  return {series->data(), series->count};
}
}  // namespace

TgsPaneFormula::TgsPaneFormula(TgsPaneFormula* parent) : gs_(parent != nullptr ? &parent->gs_ : nullptr) {}

PaneFormulaFactory TgsPaneFormula::Factory() {
  return [](PaneFormula* parent) -> std::unique_ptr<PaneFormula> {
    return std::make_unique<TgsPaneFormula>(static_cast<TgsPaneFormula*>(parent));
  };
}

SeriesView TgsPaneFormula::ResolveSeries(const std::string& name) { return ViewOf(gs_.ResolveSeries(name)); }
SeriesView TgsPaneFormula::FindSeries(const std::string& name) { return ViewOf(gs_.FindSeries(name)); }

bool TgsPaneFormula::ResolveConstant(const std::string& name, double* value) {
  return gs_.ResolveConstant(name, *value);
}

uint32_t TgsPaneFormula::ColourOf(const std::string& word) const { return ::vorelin::ColourOf(word); }

std::vector<double> TgsPaneFormula::ParameterValues() const {
  std::vector<double> values;
  for (const ParamSlot& slot : gs_.ParamSlots()) {
    if (!slot.name.empty()) values.push_back(slot.value != 0 ? slot.value : slot.defaultValue);
  }
  return values;
}

std::vector<int> TgsPaneFormula::ExRightsDates() const {
  std::vector<int> dates;
  for (const ExRightsRecord& record : gs_.ExRights()) {
    if (record.flag == 0) break;
    dates.push_back(record.date);
  }
  return dates;
}

std::vector<ExRightsEvent> TgsPaneFormula::ExRightsEvents() const {
  std::vector<ExRightsEvent> events;
  for (const ExRightsRecord& r : gs_.ExRights()) {
    if (r.flag == 0) break;
    events.push_back({r.date, r.cash, r.rightsPrice, r.bonus, r.rights});
  }
  return events;
}

bool TgsPaneFormula::Synced(bool ok) {
  outputs_ = gs_.Outputs();
  return ok;
}

bool TgsPaneFormula::CompileText(const std::string& text) { return Synced(gs_.CompileText(text)); }
bool TgsPaneFormula::CompileFile(const std::string& path) { return Synced(gs_.CompileFile(path)); }
bool TgsPaneFormula::Run() { return Synced(gs_.Run()); }
bool TgsPaneFormula::SetAdjustment(int type) { return Synced(gs_.SetAdjustment(type)); }

bool TgsPaneFormula::PushRawValue(const std::string& name, double value, bool append) {
  return gs_.PushRawValue(name, value, append);
}

bool TgsPaneFormula::SetRawSeries(const std::string& name, const std::vector<double>& values) {
  return gs_.SetRawSeries(name, values.data(), static_cast<int>(values.size()));
}

void TgsPaneFormula::ClearData() {
  // Clearing the interpreter also drops its program; compile the same source again so the
  // next run with new data restores the pane.
  std::string text;
  for (const std::string& line : gs_.SourceLines()) text += line + "\r\n";
  const std::string file_name = gs_.FileName();
  gs_.ClearAll();
  if (!text.empty()) gs_.CompileText(text);
  gs_.SetFileName(file_name);
  gs_.SetError("");
  outputs_.clear();
}

void TgsPaneFormula::SetStockTexts(const std::string& name, const std::string& code,
                                   const std::string& period_label) {
  gs_.SetStockName(name);
  gs_.SetStockCode(code);
  gs_.SetPeriodLabel(period_label);
}

void TgsPaneFormula::AttachBlocks(ChartBlocks* blocks) {
  if (blocks == nullptr) {
    gs_.Attach({});
    return;
  }
  AttachedRecords records;
  records.stock = &blocks->stock_record;
  records.quote = std::span<const float>(blocks->quote.data(), blocks->quote.size());
  records.finance = std::span<const float>(blocks->finance.data(), blocks->finance.size());
  records.breadth = std::span<const float>(blocks->breadth.data(), blocks->breadth.size());
  gs_.Attach(records);
}

bool TgsPaneFormula::ExportTable(const std::string& path) { return ::vorelin::ExportTable(gs_, path); }
bool TgsPaneFormula::ExportCsv(const std::string& path, bool all) { return ::vorelin::ExportCsv(gs_, path, all); }
bool TgsPaneFormula::SaveRawData(const std::string& path) { return ::vorelin::SaveRawData(gs_, path); }
bool TgsPaneFormula::LoadRawData(const std::string& path) { return Synced(::vorelin::LoadRawData(gs_, path)); }

std::string BuiltinIndicatorLibrary::FormulaText(const std::string& name) const {
  return BuiltinFormulas().TextOf(name);
}

std::vector<std::string> BuiltinIndicatorLibrary::Names(int tab) const {
  std::vector<std::string> names;
  BuiltinFormulas().ListNames(tab, names);
  return names;
}

}  // namespace vorelin
