// The pane drawing sequence, the title row, frames, grids and value axes.
#include "chart/pane_painter.h"

#include <algorithm>
#include <cmath>

#include "chart/figure_geometry.h"
#include "common/format.h"

namespace vorelin {

namespace {
constexpr Colour kRed = 0x0000FF;
constexpr Colour kDarkGreen = 0x008000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kYellow = 0x00FFFF;

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}
}  // namespace

bool PaneDrawsKLines(const PaneFormula& formula, const PaneFlags& flags) {
  const int drawk = formula.DrawK();
  if (drawk == 1) return true;
  return drawk == -1 && flags.price_pane && !flags.time_sharing;
}

std::string PaneTitle(const PaneFormula& formula, const PaneFlags& flags) {
  std::string text = flags.stock_name.empty() ? flags.stock_label : flags.stock_name;
  if (!flags.time_sharing) {
    if (!flags.period_label.empty()) {
      text += "(" + flags.period_label;
      if (flags.quan == TQuanStyle::qsBefore) text += ".前复权";
      if (flags.quan == TQuanStyle::qsBack) text += ".后复权";
      text += ")";
    }
    if (!flags.price_pane) text += UpperAscii(formula.ShortName());
  }
  if (!flags.price_pane) {
    std::string params = "(";
    const std::vector<double> values = formula.ParameterValues();
    for (size_t i = 0; i < values.size(); ++i) {
      if (i > 0) params += "_";
      params += Format("%d", PaneGeometry::Trunc(values[i]));
    }
    params += ")";
    if (params.size() > 2) text += params;
  }
  return text;
}

PaneReport DrawPane(Canvas& bitmap, PaneFormula& formula, const DrawPaneInput& input) {
  PanePainter painter(bitmap, formula, input);
  return painter.Draw();
}

PanePainter::PanePainter(Canvas& canvas, PaneFormula& formula, const DrawPaneInput& input)
    : canvas_(canvas), formula_(formula), input_(input), flags_(input.flags) {}

void PanePainter::SetPen(Colour colour, int width, PenStyle style) {
  canvas_.SetPen({colour, width, style});
}

void PanePainter::Line(int x1, int y1, int x2, int y2) {
  canvas_.MoveTo(x1, y1);
  canvas_.LineTo(x2, y2);
}

std::string PanePainter::Number(double value) const { return Format(format_.format.c_str(), value); }

PaneReport PanePainter::Draw() {
  canvas_.SetFont(input_.style.font);
  const int line_height = canvas_.TextExtent("H").height + 2;
  geo_ = LayoutPane(flags_, canvas_.Width(), canvas_.Height(), line_height, input_.first_bar,
                    input_.scale, formula_.BarCount());
  draws_klines_ = PaneDrawsKLines(formula_, flags_);
  keyboard_ = input_.cursor_y == -2;
  cursor_x_ = input_.cursor_x;
  cursor_y_ = input_.cursor_y;

  ResolveCursor();
  DrawTitle();
  DrawSelectedHighlight();
  if (flags_.time_sharing) {
    DrawTimeSharingFrame();
  } else {
    DrawKLineFrame();
  }
  has_scale_ = geo_.bar_count > 0 && geo_.PlotHeight() >= 5 && geo_.e > geo_.d;
  const int char_width = std::max(TextWidth("8"), 1);
  if (has_scale_) {
    ComputeScale(formula_, flags_, draws_klines_, geo_);
    format_ = AxisFormat(PaneGeometry::Trunc(50.0 / char_width - 1), geo_.max);
    canvas_.SetTextBackground(false, 0);
    if (flags_.time_sharing && flags_.price_pane) {
      DrawTimeSharingPriceAxis();
    } else if (flags_.time_sharing) {
      DrawTimeSharingVolumeAxis();
    } else {
      DrawKLineAxis();
    }
    DrawPeriodTicks();
    SetUpKLines();
    DrawLastPrice();
    DrawOutputs();
    DrawHighLowMarks();
    DrawTradeMarks();
    DrawDateAxis();
  } else {
    format_ = AxisFormat(PaneGeometry::Trunc(50.0 / char_width - 1), 0);
  }
  if (flags_.cursor || keyboard_) DrawCrosshair();
  if (has_scale_ && flags_.drawings_shown && input_.figures) DrawStoredFigures(canvas_, *input_.figures, geo_);

  PaneReport report;
  report.left = input_.origin_x + geo_.l;
  report.top = input_.origin_y + geo_.t;
  report.right = input_.origin_x + geo_.w - geo_.r + 1;
  report.bottom = input_.origin_y + geo_.g - geo_.b + 1;
  report.bar_spacing = static_cast<float>(geo_.u);
  report.first_bar = geo_.d;
  report.cursor_bar = cursor_bar_;
  report.cursor_value = cursor_value_;
  report.max = geo_.max;
  report.min = geo_.min;
  return report;
}

void PanePainter::DrawTitle() {
  if (!flags_.title) return;
  const std::string text = PaneTitle(formula_, flags_);
  canvas_.SetTextColour(InvertColour(input_.style.background));
  canvas_.SetTextBackground(flags_.focused, 0x800040);
  canvas_.TextOut(geo_.l + 2, 2, text);
  canvas_.SetTextBackground(false, 0);
  title_width_ = TextWidth(text);
}

void PanePainter::DrawSelectedHighlight() {
  if (!(flags_.highlight_selected && flags_.selected && flags_.left_axis)) return;
  SetPen(flags_.frame_colour);
  SetBrush(0x181818);
  canvas_.Rectangle(0, 0, geo_.l + 1, geo_.g - geo_.b + geo_.h2);
}

void PanePainter::DrawTimeSharingFrame() {
  const PaneGeometry& p = geo_;
  SetPen(flags_.frame_colour);
  Line(0, 0, p.w, 0);
  Line(p.l, p.t, p.w - p.r, p.t);
  Line(p.w - 1, 0, p.w - 1, p.g);
  const int bottom = p.g + p.h2 - p.b;
  Line(0, bottom, p.w - p.r + p.l, bottom);
  const int step = flags_.fs_row > 0 ? 240 / flags_.fs_row : 240;
  const double per_minute = (p.w - p.r - p.l) / 240.0;
  canvas_.SetTextBackground(false, 0);
  for (int k = 0; k <= 240 && step > 0; k += step) {
    const int x = PaneGeometry::Trunc(k * per_minute) + p.l;
    SetPen(flags_.frame_colour);
    Line(x, p.t, x, bottom);
    if (p.b > p.h && k % 60 == 0) {
      const int clock = MinuteIndexToClock(k);
      const std::string label = Format("%.02d:%.02d", clock / 60, clock % 60);
      canvas_.SetTextColour(kRed);
      canvas_.TextOut(PaneGeometry::Trunc(k * per_minute - TextWidth(label) / 2.0) + p.l, bottom + 1, label);
    }
  }
}

void PanePainter::DrawKLineFrame() {
  const PaneGeometry& p = geo_;
  SetPen(flags_.frame_colour);
  Line(0, 0, p.w - p.r, 0);
  Line(p.l, 0, p.l, p.g);
  if (flags_.bottom_axis) Line(p.l, p.g - 18, p.w - p.r, p.g - 18);
  Line(p.w - p.r - 1, 0, p.w - p.r - 1, p.g);
  if (p.r > 0) Line(p.w - 1, 0, p.w - 1, p.g);
  if (p.t + p.b + 2 * p.h2 < p.g) {
    const int n = std::min(PaneGeometry::Trunc(static_cast<double>(p.g - p.t - p.b) / (p.h + 6)) + 1, 4);
    const double c = static_cast<double>(p.g - p.t - p.b) / n;
    SetPen(flags_.frame_colour, 1, PenStyle::kDot);
    for (int i = 0; i <= n; ++i) {
      const int y = PaneGeometry::Trunc(i * c) + p.t;
      Line(p.l, y, p.w - p.r, y);
    }
  }
}

void PanePainter::DrawTimeSharingPriceAxis() {
  const PaneGeometry& p = geo_;
  const int n = std::min(PaneGeometry::Trunc(static_cast<double>(p.g - p.t - p.b) / p.h) + 1, flags_.fs_col);
  if (n <= 0) return;
  const double c = static_cast<double>(p.g - p.t - p.b) / n;
  const double prev = flags_.prev_close;
  const bool has_prev = prev != kChartNoValue;
  for (int i = 0; i < n; ++i) {
    const int y = PaneGeometry::Trunc(i * c) + p.t;
    const double v = (p.max - i * c / p.M) / format_.divisor;
    SetPen(flags_.frame_colour);
    Line(p.l, y, p.w - p.r, y);
    Colour colour = kWhite;
    if (has_prev && prev != 0) {
      const int k = PaneGeometry::Trunc((v - prev) * 10000 / prev);
      colour = k > 0 ? kRed : k < 0 ? kDarkGreen : kWhite;
    }
    canvas_.SetTextColour(colour);
    if (flags_.left_axis) {
      const std::string text = Number(v);
      WriteNumber(canvas_, p.l - TextWidth(text) - 1, y - 6, text);
    }
    if (flags_.right_axis && has_prev && prev != 0) {
      const double change = std::fabs(v - prev) * 100 / prev;
      canvas_.TextOut(p.w - p.r + 4, y - 6, Format(change > 100 ? "%.1f%%" : "%.2f%%", change));
    }
  }
}

void PanePainter::DrawTimeSharingVolumeAxis() {
  const PaneGeometry& p = geo_;
  const int n = std::min(PaneGeometry::Trunc(static_cast<double>(p.g - p.t - p.b) / (p.h + 6)) + 1, 7);
  const double c = static_cast<double>(p.g - p.t - p.b) / n;
  canvas_.SetTextColour(kYellow);
  for (int i = 1; i < n; ++i) {
    const int y = PaneGeometry::Trunc(i * c) + p.t;
    SetPen(flags_.frame_colour, 1, PenStyle::kDot);
    Line(p.l, y, p.w - p.r, y);
    const std::string text = Number(std::fabs(p.max - i * c / p.M) / format_.divisor);
    const int label_y = std::max(y - 6, 0);
    if (flags_.left_axis) WriteNumber(canvas_, p.l - TextWidth(text) - 2, label_y, text);
    if (flags_.right_axis) WriteNumber(canvas_, p.w - p.r, label_y, text);
  }
}

void PanePainter::DrawKLineAxis() {
  const PaneGeometry& p = geo_;
  const int n = std::min(PaneGeometry::Trunc(static_cast<double>(p.g - p.t - p.b) / (p.h + 6)) + 1, 4);
  const double c = static_cast<double>(p.g - p.t - p.b) / n;
  for (int i = 0; i <= n; ++i) {
    double v = (p.max - i * c / p.M) / format_.divisor;
    if (i == 0) v = p.max / format_.divisor;
    if (i == n) v = p.min / format_.divisor;
    canvas_.SetTextColour(v > 0 ? kRed : v < 0 ? kDarkGreen : kWhite);
    const std::string text = Number(std::fabs(v));
    const int y = std::max(PaneGeometry::Trunc(i * c) + p.t - 6, 0);
    if (flags_.left_axis) WriteNumber(canvas_, p.l - TextWidth(text) - 2, y, text);
    if (flags_.right_axis) WriteNumber(canvas_, p.w - p.r + 2, y, text);
  }
  DrawDivisorBox();
}

void PanePainter::DrawDivisorBox() {
  if (format_.divisor <= 1) return;
  const PaneGeometry& p = geo_;
  const std::string text = DivisorText(format_.divisor);
  SetPen(kRed);
  SetHollow();
  canvas_.SetTextColour(kRed);
  if (flags_.left_axis) {
    canvas_.Rectangle(1, p.g - p.h - 2, p.l, p.g - 1);
    canvas_.TextOut((p.l - TextWidth(text)) / 2, p.g - p.h, text);
  }
  if (flags_.right_axis) {
    canvas_.Rectangle(p.w - p.r + 1, p.g - p.h - 2, p.w - 1, p.g - 1);
    canvas_.TextOut(p.w - p.r + 2, p.g - p.h, text);
  }
}

}  // namespace vorelin
