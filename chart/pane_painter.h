// Drawing one pane: frame, grid, axes, K-lines, the formula's outputs with their legend,
// marks, the crosshair and the drawing tools' figures, in that order, into the pane's bitmap.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/axis_format.h"
#include "chart/figures.h"
#include "chart/output_entry.h"
#include "chart/pane_geometry.h"
#include "chart/trade_marks.h"

namespace vorelin {

struct DrawPaneInput {
  PaneFlags flags;
  PaneStyle style;
  int origin_x = 0;   // where the pane bitmap sits in the control
  int origin_y = 0;
  int first_bar = 0;
  int cursor_x = -1;  // pixel, or the bar index when cursor_y is -2 (keyboard mode)
  int cursor_y = -1;
  double scale = 5;
  std::string program_folder;  // where "signals" and drawgbk pictures are looked up
  const std::vector<XXLine>* figures = nullptr;  // the drawing tools' figures of the pane
  const std::vector<TradeMark>* trade_marks = nullptr;  // drawn on the price pane
};

// Draws the pane of `formula` into `bitmap` (background already painted) and reports its
// plot rectangle, spacing, cursor bar and value, and scale.
PaneReport DrawPane(Canvas& bitmap, PaneFormula& formula, const DrawPaneInput& input);

// True when the pane draws K-lines: DRAWK true, or no DRAWK and a price pane outside the
// time-sharing view.
bool PaneDrawsKLines(const PaneFormula& formula, const PaneFlags& flags);

// The title row text, e.g. "(日线)MACD(12_26_9)" for an indicator pane.
std::string PaneTitle(const PaneFormula& formula, const PaneFlags& flags);

class PanePainter {
 public:
  PanePainter(Canvas& canvas, PaneFormula& formula, const DrawPaneInput& input);
  PaneReport Draw();

 private:
  friend class OutputDrawer;
  // Frame, title and axes.
  void DrawTitle();
  void DrawSelectedHighlight();
  void DrawTimeSharingFrame();
  void DrawKLineFrame();
  void DrawTimeSharingPriceAxis();
  void DrawTimeSharingVolumeAxis();
  void DrawKLineAxis();
  void DrawDivisorBox();
  // Marks.
  void DrawPeriodTicks();
  void SetUpKLines();
  void DrawLastPrice();
  void DrawHighLowMarks();
  void DrawTradeMarks();
  void DrawDateAxis();
  void DrawCrosshair();
  void ResolveCursor();
  // Outputs.
  void DrawOutputs();
  void DrawKLines(const SeriesView& high, const SeriesView& open, const SeriesView& low,
                  const SeriesView& close);
  void DrawExRights();

  void SetPen(Colour colour, int width = 1, PenStyle style = PenStyle::kSolid);
  void SetBrush(Colour colour) { canvas_.SetBrush({colour, false}); }
  void SetHollow() { canvas_.SetBrush({0, true}); }
  void Line(int x1, int y1, int x2, int y2);
  std::string Number(double value) const;  // value in the axis format
  int TextWidth(const std::string& text) const { return canvas_.TextExtent(text).width; }

  Canvas& canvas_;
  PaneFormula& formula_;
  const DrawPaneInput& input_;
  const PaneFlags& flags_;
  PaneGeometry geo_;
  AxisNumberFormat format_;
  bool draws_klines_ = false;
  bool has_scale_ = false;
  bool keyboard_ = false;
  int cursor_x_ = -1;  // pixel after keyboard conversion
  int cursor_y_ = -1;
  int cursor_bar_ = 0;
  float cursor_value_ = static_cast<float>(kChartNoValue);
  int title_width_ = 0;
  std::unique_ptr<Canvas> red_stamp_;
  std::unique_ptr<Canvas> cyan_stamp_;
};

}  // namespace vorelin
