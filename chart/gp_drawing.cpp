// The chart control's drawing tools: picking a tool, placing its points in a pane with the
// mouse, the rubber band while placing, and storing the figure in bar and price terms.
#include <algorithm>

#include "chart/figure_geometry.h"
#include "chart/gp.h"

namespace vorelin {

namespace {

constexpr int kFirstFsDrawingPane = kPaneCount;

double BodyWidth(double u) { return u > 8 ? u - 2 : u > 2 ? u - 1 : u; }

}  // namespace

void TGP::StartDrawingTool(int tool, const std::string& name, bool button_down) {
  if (tool == kToolClearFigures) {
    ClearDrawings();
    return;
  }
  if (tool == kToolShowFigures) {
    SetDrawingsVisible(!button_down);
    return;
  }
  drawing_tool_.Start(tool, name);
  host_->SetPointer(drawing_tool_.Active() ? PointerShape::kDrawing : PointerShape::kDefault);
  MarkDirty();
}

void TGP::ClearDrawings() {
  figures_.ClearSelectedSet();
  MarkDirty();
}

void TGP::SetDrawingsVisible(bool shown) {
  ForAllFlags([shown](PaneFlags& flags) { flags.drawings_shown = shown; });
  MarkDirty();
}

void TGP::SelectFigureSet(const std::string& key) {
  if (key == figures_.SelectedSet()) return;
  figures_.SelectSet(key);
  MarkDirty();
}

void TGP::SelectFigureDay(int date) {
  if (date == figures_.SelectedDay()) return;
  figures_.SelectDay(date);
  MarkDirty();
}

bool TGP::IsTimeSharingPane(const PaneFormula& pane) const {
  return &pane == fs_panes_[0].get() || &pane == fs_panes_[1].get();
}

std::vector<XXLine> TGP::FiguresOf(const PaneFormula& pane) const {
  const std::vector<XXLine>* figures = figures_.Find(&pane, IsTimeSharingPane(pane));
  return figures ? *figures : std::vector<XXLine>{};
}

const PaneReport& TGP::DrawingReport() const {
  return drawing_pane_ >= kFirstFsDrawingPane ? fs_reports_[static_cast<size_t>(drawing_pane_ - kFirstFsDrawingPane)]
                                              : kline_reports_[static_cast<size_t>(drawing_pane_)];
}

PaneFormula& TGP::DrawingFormula() {
  return drawing_pane_ >= kFirstFsDrawingPane ? *fs_panes_[static_cast<size_t>(drawing_pane_ - kFirstFsDrawingPane)]
                                              : *panes_[static_cast<size_t>(drawing_pane_)];
}

// The points stay on the plot of the pane they started in, as if the mouse were held there.
Point TGP::ClampToDrawingPlot(int x, int y) const {
  const PaneReport& plot = DrawingReport();
  return {std::clamp(x, plot.left, std::max(plot.left, plot.right - 1)),
          std::clamp(y, plot.top, std::max(plot.top, plot.bottom - 1))};
}

void TGP::DrawingPress(int x, int y) {
  if (drawing_tool_.Placed() != 0) return;
  HitTest(x, y);
  if (hit_pane_ == nullptr) return;
  for (int i = 0; i < kPaneCount; ++i) {
    if (panes_[static_cast<size_t>(i)].get() == hit_pane_) drawing_pane_ = i;
  }
  for (int i = 0; i < 2; ++i) {
    if (fs_panes_[static_cast<size_t>(i)].get() == hit_pane_) drawing_pane_ = kFirstFsDrawingPane + i;
  }
  if (drawing_tool_.Press(ClampToDrawingPlot(x, y))) MarkDirty();
}

void TGP::DrawingMove(int x, int y) {
  if (drawing_tool_.Move(ClampToDrawingPlot(x, y))) MarkDirty();
}

void TGP::DrawingRelease(int x, int y) {
  if (drawing_tool_.Placed() == 0) return;
  const bool complete = drawing_tool_.Release(ClampToDrawingPlot(x, y));
  if (complete) {
    StoreFigure();
    host_->SetPointer(PointerShape::kDefault);
  }
  MarkDirty();
}

void TGP::StoreFigure() {
  XXLine figure = drawing_tool_.Style();
  if (figure.tool == kLastFigureTool) {
    FigureText text{figure.text, figure.colour, figure.font_size};
    if (host_->AskFigureText(&text)) {
      figure.text = text.text;
      figure.colour = text.colour;
      figure.font_size = text.size;
    }
  }
  const PaneReport& plot = DrawingReport();
  const bool time_sharing = drawing_pane_ >= kFirstFsDrawingPane;
  const int height = std::max(plot.bottom - plot.top, 1);
  for (size_t i = 0; i < 3; ++i) {
    const Point at = drawing_tool_.Points()[i];
    // The time-sharing pane maps by its own spacing, so a figure stays where it was drawn
    // also when the pane spreads its minutes over the full width.
    const double spacing = time_sharing ? plot.bar_spacing : scale_;
    const int slot = spacing > 0 ? static_cast<int>((at.x - plot.left) / spacing) : 0;
    figure.bar[i] = time_sharing ? slot : slot + left_bar_;
    figure.price[i] = static_cast<float>(plot.max - (at.y - plot.top) * (plot.max - plot.min) / height);
  }
  figures_.Of(&DrawingFormula(), time_sharing).push_back(figure);
}

void TGP::DrawRubberBand() {
  const PaneReport& plot = DrawingReport();
  const XXLine& style = drawing_tool_.Style();
  back_buffer_->SetPen({style.colour, style.pen_width, PenStyle::kSolid});
  back_buffer_->SetBrush({0, true});
  back_buffer_->Rectangle(plot.left, plot.top, plot.right, plot.bottom);
  FigureFrame frame;
  frame.left = plot.left;
  frame.top = plot.top;
  frame.right = plot.right;
  frame.bottom = plot.bottom - 1;
  frame.max = plot.max;
  frame.min = plot.min;
  frame.u = plot.bar_spacing;
  frame.first_bar = plot.first_bar;
  frame.body = BodyWidth(plot.bar_spacing);
  DrawFigure(*back_buffer_, style, drawing_tool_.Points(), frame);
}

}  // namespace vorelin
