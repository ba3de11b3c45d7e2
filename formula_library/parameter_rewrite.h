// `TTTiao` ("指标参数调整"): one row per INPUT parameter of a pane's formula; each change
// rewrites that parameter's declaration line in the pane's source and recompiles it, so the
// pane redraws with the new value. Nothing is written to a file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorelin {

class TGS;

inline constexpr const char* kParameterDialogCaption = "指标参数调整";
inline constexpr const char* kParameterDialogLabel = "请设置计算参数:";

struct ParameterRow {
  std::string caption;  // the slot's name + ":" (as the slot holds it, lower case)
  int minimum = 0;
  int maximum = 0;
  int defaultValue = 0;
  int position = 0;     // the value in force
  std::string rangeText() const;  // "%d--%d"
};

// Where row r (from 0) of the dialog places its controls, in pixels of the dialog's client
// area: the caption label, the edit box with its up-down control, and the range label.
struct ParameterRowLayout {
  int captionLeft = 24, captionTop = 0;
  int editLeft = 56, editTop = 0, editWidth = 48, editHeight = 21;
  int upDownLeft = 105, upDownWidth = 15, upDownHeight = 21;
  int rangeLeft = 125, rangeTop = 0;
};
ParameterRowLayout LayoutOfRow(int row);

// The declaration line for a row at `position`: K + "=INPUT(min,max,default,position)",
// upper-cased, K being the caption upper-cased.
std::string ParameterLine(const ParameterRow& row, int position);

// Replaces the first line that begins with the row's upper-cased caption + "=" by
// ParameterLine. False (lines unchanged) when no line begins so, e.g. a lower-case or
// blank-spaced declaration.
bool RewriteParameterLine(std::vector<std::string>& lines, const ParameterRow& row,
                          int position);

class ParameterAdjustment {
 public:
  // Reads the pane's parameter slots (from the first, while named, at most 51) and its
  // source lines. The interpreter is not owned and must outlive this object.
  explicit ParameterAdjustment(TGS& pane);

  const std::vector<ParameterRow>& Rows() const { return rows_; }
  const std::vector<std::string>& Lines() const { return lines_; }

  // Sets row `index` to `position`, rewrites its line and recompiles the whole text on the
  // pane. True when the pane now runs the changed formula; false when the index is out of
  // range, no line was found (nothing compiled) or the compile failed (the pane keeps its
  // previous formula and its error text says why).
  bool Change(size_t index, int position);
  // 恢复缺省: every row back to its default, each as one Change.
  void RestoreDefaults();

 private:
  TGS& pane_;
  std::vector<ParameterRow> rows_;
  std::vector<std::string> lines_;
};

}  // namespace vorelin
