#include "formula_library/parameter_rewrite.h"

#include "common/format.h"
#include "formula/function_table.h"
#include "formula/interpreter.h"
#include "formula_library/editor_logic.h"

namespace vorelin {

std::string ParameterRow::rangeText() const { return Format("%d--%d", minimum, maximum); }

ParameterRowLayout LayoutOfRow(int row) {
  ParameterRowLayout layout;
  layout.captionTop = 23 + 25 * row;
  layout.editTop = 20 + 25 * row;
  layout.rangeTop = 23 + 25 * row;
  return layout;
}

std::string ParameterLine(const ParameterRow& row, int position) {
  return AsciiUpper(row.caption + "=input(" +
                    Format("%d,%d,%d,%d", row.minimum, row.maximum, row.defaultValue, position) +
                    ")");
}

bool RewriteParameterLine(std::vector<std::string>& lines, const ParameterRow& row,
                          int position) {
  const std::string key = AsciiUpper(row.caption) + "=";
  for (std::string& line : lines) {
    if (line.starts_with(key)) {
      line = ParameterLine(row, position);
      return true;
    }
  }
  return false;
}

ParameterAdjustment::ParameterAdjustment(TGS& pane) : pane_(pane), lines_(pane.SourceLines()) {
  for (const ParamSlot& slot : pane.ParamSlots()) {
    if (slot.name.empty()) break;
    rows_.push_back({slot.name + ":", slot.min, slot.max, slot.defaultValue, slot.value});
  }
}

bool ParameterAdjustment::Change(size_t index, int position) {
  if (index >= rows_.size()) return false;
  ParameterRow& row = rows_[index];
  row.position = position;
  if (!RewriteParameterLine(lines_, row, position)) return false;
  return pane_.CompileText(JoinEditorLines(lines_));
}

void ParameterAdjustment::RestoreDefaults() {
  for (size_t i = 0; i < rows_.size(); ++i) Change(i, rows_[i].defaultValue);
}

}  // namespace vorelin
