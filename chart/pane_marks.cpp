// Period ticks, the last-price marker, high and low marks, the date axis and the crosshair.
#include <algorithm>
#include <cmath>

#include "chart/pane_painter.h"
#include "common/format.h"

namespace vorelin {

namespace {
constexpr Colour kRed = 0x0000FF;
constexpr Colour kDarkGreen = 0x008000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kYellow = 0x00FFFF;
constexpr Colour kCyan = 0xFFFF00;
constexpr Colour kOrange = 0x0080FF;
constexpr Colour kBlue = 0xFF0000;
constexpr Colour kGrey = 0x808080;
constexpr const char* kKLineEntry = "drawkline=high,open,low,close";

int T(double v) { return PaneGeometry::Trunc(v); }
}  // namespace

void PanePainter::DrawPeriodTicks() {
  if (!draws_klines_) return;
  const PaneGeometry& p = geo_;
  canvas_.SetTextColour(kRed);
  if (flags_.period == TWeekStyle::wsFenBi) {
    const SeriesView time = formula_.FindSeries("time");
    if (!time) return;
    for (int i = std::max(p.d, 1); i < std::min(p.e, time.count); ++i) {
      if (T(time[i]) / 100 != T(time[i - 1]) / 100 + 1) continue;
      SetPen(kRed, 1, PenStyle::kDot);
      Line(p.X(i), p.t, p.X(i), p.g - p.b);
      if (flags_.bottom_axis) {
        const int hhmm = T(time[i]);
        const std::string label = Format("%.02d:%.02d", hhmm / 100, hhmm % 100);
        canvas_.TextOut(std::max(p.X(i) - TextWidth(label), p.l), p.g - p.b + 2, label);
      }
    }
  } else if (flags_.period == TWeekStyle::wsmin1) {
    const SeriesView date = formula_.FindSeries("date");
    if (!date) return;
    for (int i = std::max(p.d, 2); i < std::min(p.e, date.count); ++i) {
      if (date[i] == date[i - 1] && i != date.count - 1) continue;
      SetPen(kRed, 1, PenStyle::kDot);
      Line(p.X(i), p.t, p.X(i), p.g - p.b);
      if (flags_.bottom_axis && !flags_.hide_dates) {
        const std::string label = Format("%.04d", T(date[i]) % 10000);
        canvas_.TextOut(std::max(p.X(i) - TextWidth(label), p.l), p.g - p.b + 2, label);
      }
    }
  }
}

void PanePainter::SetUpKLines() {
  if (!draws_klines_) return;
  const bool full = formula_.FindSeries("high") && formula_.FindSeries("low") &&
                    formula_.FindSeries("open") && formula_.FindSeries("close");
  std::vector<std::string>& outputs = formula_.Outputs();
  if (full) {
    if (outputs.empty() || outputs.front() != kKLineEntry) outputs.insert(outputs.begin(), kKLineEntry);
    return;
  }
  const SeriesView close = formula_.FindSeries("close");
  if (!close || geo_.P <= 1) return;
  const PaneGeometry& p = geo_;
  const int half = T(p.P / 2);
  for (int i = p.d; i < std::min(p.e, close.count); ++i) {
    if (close[i] == kChartNoValue) continue;
    const Colour colour = i > 0 && close[i] > close[i - 1] ? kRed : kCyan;
    SetPen(colour);
    SetBrush(colour);
    const int y = p.Y(close[i]);
    canvas_.Ellipse(p.X(i), y - half, p.X(i) + T(p.P), y + half);
  }
}

void PanePainter::DrawLastPrice() {
  if (!flags_.price_pane || !flags_.left_axis) return;
  const SeriesView close = formula_.FindSeries("close");
  const PaneGeometry& p = geo_;
  if (!close || p.e - 1 >= close.count || p.e < 1) return;
  const double c = close[p.e - 1];
  if (c < p.min || c > p.max) return;
  int y = p.Y(c);
  if (y - 7 < p.t) y = p.t + 7;
  if (y + p.h - 4 > p.g) y = p.g - p.h + 4;
  SetPen(kRed);
  SetBrush(kGrey);
  canvas_.Rectangle(1, y - 7, p.l - 1, y + p.h - 4);
  const std::string text = Number(c / format_.divisor);
  canvas_.SetTextColour(kWhite);
  canvas_.SetTextBackground(false, 0);
  WriteNumber(canvas_, p.l - TextWidth(text) - 2, y - 4, text);
}

void PanePainter::DrawHighLowMarks() {
  if (flags_.time_sharing || !draws_klines_ || !flags_.high_low) return;
  SeriesView high = formula_.FindSeries("high");
  SeriesView low = formula_.FindSeries("low");
  if (!high || !low) high = low = formula_.FindSeries("close");
  if (!high) return;
  const PaneGeometry& p = geo_;
  const int end = std::min({p.e, high.count, low.count});
  const int n = p.e - p.d;
  const int k = std::max(n / 20, 10);
  const Font saved = canvas_.CurrentFont();
  Font mark_font = saved;
  mark_font.height = 12;
  canvas_.SetFont(mark_font);
  canvas_.SetTextBackground(false, 0);
  for (int i = p.d; i < end; ++i) {
    const int from = std::max(p.d, i - k);
    const int to = std::min(end - 1, i + k);
    double window_high = kChartNoValue;
    double window_low = -kChartNoValue;
    for (int j = from; j <= to; ++j) {
      if (high[j] != kChartNoValue) window_high = std::max(window_high, high[j]);
      if (low[j] != kChartNoValue) window_low = std::min(window_low, low[j]);
    }
    bool is_high = high[i] != kChartNoValue && high[i] == window_high;
    bool is_low = !is_high && low[i] != kChartNoValue && low[i] == window_low;
    if (!is_high && !is_low) continue;
    const double value = is_high ? high[i] : low[i];
    const std::string text = Format("%.2f", value);
    const Size size = canvas_.TextExtent(text);
    auto clamp_x = [&](int x) { return std::max(p.l + 2, std::min(x, p.w - p.r - size.width - 2)); };
    int x = clamp_x(T(p.u * (i - p.d + 0.5)) + p.l - size.width / 2);
    const int bar_y = p.Y(value);
    int y = is_high ? bar_y - size.height - 2 : bar_y + 2;
    const int limit = is_high ? p.t : p.g - p.b - size.height - 2;
    const bool clamped = is_high ? y < limit : y > limit;
    canvas_.SetTextColour(is_high ? kOrange : kDarkGreen);
    if (clamped) {
      y = limit;
      const int before = x;
      x = clamp_x(x + T(p.u / 2) + size.width / 2 + 2);
      SetPen(kYellow);
      Line(before + size.width / 2, bar_y, x, y + size.height / 2);
    }
    canvas_.TextOut(x, y, text);
  }
  canvas_.SetFont(saved);
}

void PanePainter::DrawDateAxis() {
  if (flags_.time_sharing || !flags_.bottom_axis) return;
  const PaneGeometry& p = geo_;
  const int axis_y = p.g + p.h2 - p.b;
  SetPen(flags_.frame_colour);
  Line(0, axis_y, p.w - p.r, axis_y);
  if (flags_.period != TWeekStyle::wsDay || flags_.hide_dates) return;
  const SeriesView date = formula_.FindSeries("date");
  if (!date || p.d >= date.count) return;
  canvas_.SetTextColour(flags_.frame_colour);
  canvas_.SetTextBackground(false, 0);
  canvas_.TextOut(p.X(p.d), axis_y + 4, Format("%d年", T(date[p.d]) / 10000));
  for (int i = p.d + 1; i < std::min(p.e, date.count); ++i) {
    const int month = T(date[i]) % 10000 / 100;
    if (month == T(date[i - 1]) % 10000 / 100) continue;
    SetPen(flags_.frame_colour);
    Line(p.X(i), axis_y, p.X(i), p.g);
    canvas_.TextOut(p.X(i) + 2, axis_y + 4, Format("%d", month));
  }
}

void PanePainter::ResolveCursor() {
  const PaneGeometry& p = geo_;
  if (keyboard_) {
    int i = input_.cursor_x;
    if (flags_.time_sharing) {
      cursor_x_ = T(p.u * i) + p.l;
    } else {
      if (i < p.d) i = p.d;
      if (i >= p.e) i = p.e - 1;
      cursor_x_ = T(p.u * (i - p.d)) + p.l + T(p.u / 2);
      if (p.u > 8) cursor_x_ -= 1;
    }
    cursor_bar_ = i;
    return;
  }
  if (cursor_x_ < 0 && input_.cursor_x == -1) {
    cursor_bar_ = p.d;
    return;
  }
  if (p.u <= 0) return;
  int bar = T((cursor_x_ - p.l) / p.u);
  if (flags_.time_sharing) {
    if (bar < 0) bar = 0;
  } else {
    bar += p.d;
    if (bar < p.d) bar = p.d;
  }
  if (bar >= p.bar_count) bar = p.bar_count - 1;
  cursor_bar_ = bar;
}

void PanePainter::DrawCrosshair() {
  const PaneGeometry& p = geo_;
  int y = cursor_y_;
  const int x = cursor_x_;
  if (keyboard_) {
    y = -1;
    if (flags_.price_pane && has_scale_) {
      const SeriesView close = formula_.FindSeries("close");
      if (close && cursor_bar_ >= 0 && cursor_bar_ < close.count && close[cursor_bar_] != kChartNoValue) {
        y = p.Y(close[cursor_bar_]);
      }
    }
  }
  const Colour ink = InvertColour(input_.style.background);
  canvas_.SetTextBackground(false, 0);
  if (has_scale_ && y > p.t && y < p.g - p.b) {
    SetPen(ink);
    Line(p.l, y, p.w - p.r, y);
    const double v = p.ValueAt(y);
    cursor_value_ = static_cast<float>(v);
    int box = y;
    if (y + p.h - 4 > p.g) box = p.g - p.h + 3;
    if (box < 7) box = 7;
    const std::string text = Number(std::fabs(v) / format_.divisor);
    canvas_.SetTextColour(kWhite);
    SetPen(kRed);
    SetBrush(kBlue);
    if (flags_.left_axis) {
      canvas_.Rectangle(1, box - 7, p.l, box + p.h - 4);
      WriteNumber(canvas_, p.l - TextWidth(text) - 2, box - 4, text);
    }
    if (flags_.right_axis) {
      canvas_.Rectangle(p.w - p.r + 1, box - 7, p.w, box + p.h - 4);
      WriteNumber(canvas_, p.w - p.r + 2, box - 4, text);
      const double prev = flags_.prev_close;
      if (flags_.time_sharing && flags_.price_pane && prev != kChartNoValue && std::fabs(prev) > 0.001) {
        const double change = std::fabs(v - prev) * 100 / prev;
        if ((p.min < prev && prev < p.max) || change < 30) {
          SetPen(kRed);
          SetBrush(kBlue);
          canvas_.Rectangle(p.w - p.r + 1, box - 7, p.w, box + p.h - 4);
          const char* fmt = change > 100 ? "%.1f%%" : change >= 10 ? "%.2f%%" : "%.3f%%";
          canvas_.SetTextColour(v >= prev ? kRed : kDarkGreen);
          canvas_.TextOut(p.w - p.r + 3, box - 4, Format(fmt, change));
        }
      }
    }
  }
  if (x >= p.l) {
    SetPen(ink);
    Line(x, p.t, x, p.g);
  }
  if (x < p.l || p.u <= 0) return;
  canvas_.SetTextColour(kWhite);
  if (flags_.time_sharing) {
    const int k = T((x - p.l) / p.u);
    if (p.b < p.h || k >= 241) return;
    const int c = T(TextWidth("88:88") / 2.0) + 3;
    const int centre = std::max(p.l + c, x);
    SetPen(kRed);
    SetBrush(kBlue);
    canvas_.Rectangle(centre - c, p.g + p.h2 - p.b, centre + c, p.g);
    const int clock = MinuteIndexToClock(k);
    canvas_.TextOut(std::max(p.l + 1, x - c + 3), p.g + p.h2 - p.b + 2,
                    Format("%.02d:%.02d", clock / 60, clock % 60));
    return;
  }
  const int j = T((x - p.l) / p.u) + p.d;
  const SeriesView date = formula_.FindSeries("date");
  if (j >= p.bar_count || !date || j >= date.count || j < 0) return;
  std::string label = flags_.hide_dates ? std::string() : Format("%08d", T(date[j]));
  const SeriesView time = formula_.FindSeries("time");
  if (time && j < time.count && (!flags_.hide_dates || T(time[j]) != 0)) {
    const int hhmm = T(time[j]);
    label += (label.empty() ? "" : " ") + Format("%.02d:%.02d", hhmm / 100, hhmm % 100);
  }
  if (label.empty()) return;
  const int width = TextWidth(label);
  const int c = T(width / 2.0) + 3;
  int centre = x;
  if (x + T(width / 2.0) + 6 > p.w - p.r) {
    centre = p.w - p.r - T(width / 2.0) - 5;
  } else if (x - c < p.l) {
    centre = p.l + c + 1;
  }
  if (p.b >= p.h && j < p.e) {
    SetPen(kRed);
    SetBrush(kBlue);
    canvas_.Rectangle(centre - c, p.g + p.h2 - p.b, centre + c, p.g);
    canvas_.TextOut(centre - c + 3, p.g + p.h2 - p.b + 2, label);
  }
}

}  // namespace vorelin
