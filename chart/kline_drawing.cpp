// K-lines in candle and American style, 3-D bodies from gradient stamps, ex-rights marks.
#include <algorithm>

#include "chart/background.h"
#include "chart/icons.h"
#include "chart/pane_painter.h"

namespace vorelin {

namespace {
constexpr Colour kUpPen = 0x2C24DA;
constexpr Colour kCyan = 0xFFFF00;
constexpr Colour kAmericanUp = 0xFF0000;
constexpr Colour kAmericanDown = 0x804000;
int T(double v) { return PaneGeometry::Trunc(v); }
}  // namespace

void PanePainter::DrawKLines(const SeriesView& high, const SeriesView& open, const SeriesView& low,
                             const SeriesView& close) {
  const PaneGeometry& p = geo_;
  const bool american = flags_.kstyle == TKStyple::ksAmericia;
  const bool stamped = p.P >= 2 && flags_.bar3d;
  if (stamped && !red_stamp_) {
    red_stamp_ = MakeGradientStamp(canvas_, T(p.P), 2, 0x0000FF);
    cyan_stamp_ = MakeGradientStamp(canvas_, T(p.P), 2, kCyan);
  }
  const int end = std::min({p.e, high.count, open.count, low.count, close.count});
  const int body = T(p.P);
  for (int i = p.d; i < end; ++i) {
    if (high[i] == kChartNoValue || open[i] == kChartNoValue || low[i] == kChartNoValue ||
        close[i] == kChartNoValue) {
      continue;
    }
    const int x = p.X(i);
    const int c = x + T(p.P / 2);
    const bool up = close[i] > open[i];
    if (up) {
      SetPen(american ? kAmericanUp : kUpPen);
      SetBrush(input_.style.background);
    } else {
      SetPen(american ? kAmericanDown : kCyan);
      SetBrush(kCyan);
    }
    const int y_open = p.Y(open[i]);
    const int y_close = p.Y(close[i]);
    Line(c, p.Y(high[i]), c, p.Y(low[i]));
    if (american) {
      Line(x, y_close, c, y_close);
      Line(c, y_open, x + body, y_open);
    } else if (stamped) {
      if (up) {
        canvas_.StretchDraw(x, y_open, x + body, y_close, *red_stamp_);
      } else if (y_open == y_close) {
        Line(x, y_open, x + body, y_open);
      } else {
        canvas_.StretchDraw(x, y_open, x + body, y_close, *cyan_stamp_);
      }
    } else {
      canvas_.Rectangle(x, y_open, x + body, y_open == y_close ? y_close + 1 : y_close);
    }
  }
  DrawExRights();
}

void PanePainter::DrawExRights() {
  const std::vector<int> dates = formula_.ExRightsDates();
  const SeriesView date = formula_.FindSeries("date");
  if (dates.empty() || !date || date.count == 0) return;
  auto icon = MakeIcon(canvas_, "IC100");
  if (!icon || icon->Width() == 0) return;
  const PaneGeometry& p = geo_;
  for (size_t k = 0; k < dates.size() && k < 41; ++k) {
    const double* begin = date.values;
    const double* found = std::lower_bound(begin, begin + date.count, static_cast<double>(dates[k]));
    if (found == begin + date.count || *found != dates[k]) continue;
    const int index = static_cast<int>(found - begin);
    if (index < p.d || index >= p.e) continue;
    canvas_.Draw(p.X(index) + T(p.P / 2) - 8, p.g - 16, *icon);
  }
}

}  // namespace vorelin
