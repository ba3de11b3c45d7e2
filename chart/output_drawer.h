// Drawing a pane's output entries: attribute words, the legend, output-line modes and the
// drawing commands. Used by the pane painter only.
#pragma once

#include <memory>
#include <string>

#include "chart/pane_painter.h"

namespace vorelin {

// One argument resolved as a series or, failing that, as a constant.
struct Operand {
  SeriesView series;
  bool is_constant = false;
  double constant = 0;
  bool Exists() const { return static_cast<bool>(series) || is_constant; }
  double At(int i) const;  // the no-value marker outside the series
};

// Draws one blended high-definition segment (pixels set or blended, pen width unused).
void SmoothLine(Canvas& canvas, int x1, int y1, int x2, int y2, Colour colour);

class OutputDrawer {
 public:
  explicit OutputDrawer(PanePainter& painter);
  void DrawAll();

 private:
  void ApplyAttributes(const OutputEntry& entry);
  void Legend(const OutputEntry& entry);
  Operand Resolve(const std::string& argument);
  Operand Arg(const OutputEntry& entry, size_t index);
  std::string Text(const OutputEntry& entry, size_t index) const;
  double WholeNumber(const std::string& text) const;
  void Segment(int x1, int y1, int x2, int y2, Colour colour);
  void EnsureStamps();
  int ColorstickBase() const;

  // Output lines.
  void DrawSeriesLine(const OutputEntry& entry, const SeriesView& series);
  void DrawConstantLine(const OutputEntry& entry, double value);
  void DrawMark(const std::string& mode, int c, int y);
  void DrawVolstick(const OutputEntry& entry, int bar, int y);
  // Drawing commands.
  void DrawBtx(const OutputEntry& entry);
  void DrawTwr(const OutputEntry& entry);
  void DrawStickline(const OutputEntry& entry);
  void DrawStickbar(const OutputEntry& entry);
  void DrawPartline(const OutputEntry& entry);
  void DrawPloyline(const OutputEntry& entry);
  void DrawBand(const OutputEntry& entry);
  void DrawNumber(const OutputEntry& entry);
  void DrawText(const OutputEntry& entry);
  void DrawIcon(const OutputEntry& entry);
  void DrawBmp(const OutputEntry& entry);
  void DrawGbk(const OutputEntry& entry);
  void DrawRectRel(const OutputEntry& entry);
  void DrawTextFix(const OutputEntry& entry);
  void DrawNumberFix(const OutputEntry& entry);
  void Box(int bar, double from, double to, Colour colour);

  PanePainter& painter_;
  Canvas& canvas_;
  PaneFormula& formula_;
  const PaneGeometry& geo_;
  const PaneFlags& flags_;
  Pen pen_;
  std::string mode_;
  int legend_offset_ = 0;
};

}  // namespace vorelin
