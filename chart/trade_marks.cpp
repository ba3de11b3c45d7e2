#include "chart/trade_marks.h"

#include "chart/pane_painter.h"
#include "common/format.h"

namespace vorelin {
namespace {

constexpr Colour kBuyColour = 0x0000FF;   // red
constexpr Colour kSellColour = 0x00A000;  // green
constexpr int kHalfWidth = 5;
constexpr int kTriangleHeight = 8;
constexpr int kGap = 2;

long long Key(double date, double time) {
  return static_cast<long long>(date) * 10000 + static_cast<long long>(time);
}

}  // namespace

int BarOfTradeMark(const SeriesView& date, const SeriesView& time, const TradeMark& mark) {
  if (!date) return -1;
  const long long wanted = Key(mark.date, mark.time);
  for (int i = 0; i < date.count; ++i) {
    const double t = time && i < time.count ? time[i] : 0;
    if (Key(date[i], t) >= wanted) return i;
  }
  return -1;
}

std::vector<std::string> TradeMarkTexts(const std::vector<TradeMark>& marks, const SeriesView& date,
                                        const SeriesView& time, int bar) {
  std::vector<std::string> texts;
  for (const TradeMark& mark : marks)
    if (BarOfTradeMark(date, time, mark) == bar)
      texts.push_back((mark.buy ? "买入 " : "卖出 ") + Format("%.2f", mark.price));
  return texts;
}

void PanePainter::DrawTradeMarks() {
  if (!input_.trade_marks || input_.trade_marks->empty() || !flags_.price_pane ||
      flags_.time_sharing || !draws_klines_)
    return;
  const SeriesView date = formula_.FindSeries("date");
  const SeriesView time = formula_.FindSeries("time");
  const SeriesView high = formula_.FindSeries("high");
  const SeriesView low = formula_.FindSeries("low");
  if (!high || !low) return;
  const PaneGeometry& p = geo_;
  const Font saved = canvas_.CurrentFont();
  Font letter = saved;
  letter.height = 11;
  letter.bold = true;
  canvas_.SetFont(letter);
  canvas_.SetTextBackground(false, 0);
  const int top = p.t, bottom = p.g - p.b;
  for (const TradeMark& mark : *input_.trade_marks) {
    const int i = BarOfTradeMark(date, time, mark);
    if (i < p.d || i >= p.e || i >= high.count || i >= low.count) continue;
    const int c = p.X(i) + PaneGeometry::Trunc(p.P / 2);
    const Colour colour = mark.buy ? kBuyColour : kSellColour;
    const std::string text = mark.buy ? "B" : "S";
    const Size size = canvas_.TextExtent(text);
    SetPen(colour);
    SetBrush(colour);
    canvas_.SetTextColour(colour);
    if (mark.buy) {
      // Under the low, kept inside the plot.
      const int apex = std::min(p.Y(low[i]) + kGap, bottom - kTriangleHeight - size.height);
      canvas_.Polygon({{c, apex}, {c - kHalfWidth, apex + kTriangleHeight}, {c + kHalfWidth, apex + kTriangleHeight}});
      canvas_.TextOut(c - size.width / 2, apex + kTriangleHeight + 1, text);
    } else {
      const int apex = std::max(p.Y(high[i]) - kGap, top + kTriangleHeight + size.height);
      canvas_.Polygon({{c, apex}, {c - kHalfWidth, apex - kTriangleHeight}, {c + kHalfWidth, apex - kTriangleHeight}});
      canvas_.TextOut(c - size.width / 2, apex - kTriangleHeight - size.height - 1, text);
    }
  }
  canvas_.SetFont(saved);
}

}  // namespace vorelin
