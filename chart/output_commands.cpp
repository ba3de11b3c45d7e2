// The drawing commands of formulas: tower lines, sticks, polylines, bands, texts, numbers,
// icons, pictures and relative rectangles.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "chart/background.h"
#include "chart/icons.h"
#include "chart/image_files.h"
#include "chart/output_drawer.h"
#include "common/format.h"
#include "common/numbers.h"

namespace vorelin {

namespace {
constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kWhite = 0xFFFFFF;
int T(double v) { return PaneGeometry::Trunc(v); }
bool Valid(double v) { return v != kChartNoValue; }
}  // namespace

void OutputDrawer::Box(int i, double from, double to, Colour colour) {
  int top = geo_.Y(from);
  int bottom = geo_.Y(to);
  if (top > bottom) std::swap(top, bottom);
  if (top == bottom) bottom = top + 1;
  DrawBar3d(canvas_, geo_.X(i), top, geo_.X(i) + T(geo_.P), bottom, colour, flags_.bar3d);
}

void OutputDrawer::DrawBtx(const OutputEntry& entry) {
  const Operand x = Arg(entry, 0);
  if (!x.series) return;
  const int end = std::min(geo_.e, x.series.count);
  for (int i = std::max(geo_.d, 4); i < end; ++i) {
    const double v = x.At(i), p1 = x.At(i - 1), p2 = x.At(i - 2), p3 = x.At(i - 3), p4 = x.At(i - 4);
    if (!Valid(v) || !Valid(p1) || !Valid(p2) || !Valid(p3) || !Valid(p4)) continue;
    const double hi = std::max({v, p1, p2, p3});
    const double lo = std::min({v, p1, p2, p3});
    if ((v == hi && (p1 >= p2 || p1 >= p3)) || (p1 == hi && (p2 == lo || p3 == lo) && v >= p2) ||
        (p2 == hi && p3 == lo && v >= p1) || (p3 == hi && v >= p1 && v >= p2)) {
      Box(i, p1, v, 0x0221F7);
    }
    if (p1 == hi && v == lo) Box(i, p2, v, 0x009900);
    if (v == hi && p1 == lo) Box(i, p2, v, 0xEE00EE);
    if ((v == lo && (p1 < p2 || p1 < p3)) || (p1 == lo && (p2 == lo || p3 == lo) && v < p2) ||
        (p2 == lo && p3 == lo && v < p1) || (p3 == lo && v < p1 && v < p2)) {
      Box(i, p1, v, 0x03F163);
    }
    if ((p1 == lo && v >= p2) ||
        (((p2 == lo && p1 <= p3) || (p3 == lo && p1 <= p2)) && p2 < p4 && p1 <= v)) {
      Box(i, p1, p2, 0xFCFCFC);
    }
    if ((p1 == hi && v < p2) ||
        (((p2 == hi && p1 > p3) || (p3 == hi && p1 > p2)) && p2 >= p4 && p1 > v)) {
      Box(i, p1, p2, 0x00FFFF);
    }
  }
}

void OutputDrawer::DrawTwr(const OutputEntry& entry) {
  const Operand x = Arg(entry, 0);
  if (!x.series) return;
  const int end = std::min(geo_.e, x.series.count);
  for (int i = std::max(geo_.d, 1); i < end; ++i) {
    const double v = x.At(i), p1 = x.At(i - 1);
    if (!Valid(v) || !Valid(p1)) continue;
    if (i > geo_.d) Box(i, p1, v, v >= p1 ? kRed : kGreen);
    const double p2 = x.At(i - 2);
    if (i - geo_.d > 2 && Valid(p2)) {
      const double top = std::max(v, p2);
      if (p1 >= p2 && p1 > v) Box(i, p1, top, kRed);
      if (p1 < p2 && p1 <= v) Box(i, p1, top, kGreen);
    }
  }
}

void OutputDrawer::DrawStickline(const OutputEntry& entry) {
  const Operand cond = Arg(entry, 0), price1 = Arg(entry, 1), price2 = Arg(entry, 2);
  if (!cond.Exists() || !price1.Exists() || !price2.Exists()) return;
  const double width = ParseDecimalOr(Text(entry, 3), 0);
  const double empty = ParseDecimalOr(Text(entry, 4), 0);
  const int k = T(geo_.P * width / 6);
  const Colour background = painter_.input_.style.background;
  if (empty == 0) {
    canvas_.SetBrush({pen_.colour, false});
  } else {
    canvas_.SetBrush({background, false});
  }
  if (empty == -1) canvas_.SetPen({pen_.colour, 1, PenStyle::kDot});
  for (int i = geo_.d; i < geo_.e; ++i) {
    const double c_value = cond.At(i);
    if (!Valid(c_value) || c_value <= 0) continue;
    const double v1 = price1.At(i), v2 = price2.At(i);
    if (!Valid(v1) || !Valid(v2)) continue;
    const int y1 = geo_.Y(v1);
    int y2 = geo_.Y(v2);
    const int c = geo_.Centre(i);
    if (k < 1) {
      canvas_.MoveTo(c, y1);
      canvas_.LineTo(c, y2);
    } else {
      if (y1 == y2) y2 -= 1;
      canvas_.Rectangle(c - k, y1, c + k, y2);
    }
  }
}

void OutputDrawer::DrawStickbar(const OutputEntry& entry) {
  const Operand v1 = Arg(entry, 0), v2 = Arg(entry, 1);
  if (!v1.series || !v2.series) return;
  const Colour up = formula_.ColourOf(Text(entry, 2));
  const Colour down = formula_.ColourOf(Text(entry, 3));
  for (int i = geo_.d; i < geo_.e; ++i) {
    const double a = v1.At(i), b = v2.At(i);
    if (!Valid(a) || !Valid(b)) continue;
    canvas_.SetPen({a > b ? up : down, pen_.width, pen_.style});
    canvas_.MoveTo(geo_.Centre(i), geo_.Y(a));
    canvas_.LineTo(geo_.Centre(i), geo_.Y(b));
  }
}

void OutputDrawer::DrawPartline(const OutputEntry& entry) {
  const Operand x = Arg(entry, 0);
  if (!x.series) return;
  const Colour up = formula_.ColourOf(Text(entry, 1));
  const Colour down = formula_.ColourOf(Text(entry, 2));
  bool started = false;
  int px = 0, py = 0;
  double previous = 0;
  for (int i = geo_.d; i < geo_.e; ++i) {
    const double v = x.At(i);
    if (!Valid(v)) continue;
    const int c = geo_.Centre(i), y = geo_.Y(v);
    if (started) Segment(px, py, c, y, v > previous ? up : down);
    started = true;
    px = c;
    py = y;
    previous = v;
  }
}

void OutputDrawer::DrawPloyline(const OutputEntry& entry) {
  const Operand cond = Arg(entry, 0), price = Arg(entry, 1);
  if (!cond.series || !price.series) return;
  bool started = false;
  int px = 0, py = 0;
  for (int i = std::min(geo_.d, price.series.count) - 1; i >= 0; --i) {
    if (Valid(price.At(i)) && cond.At(i) != 0) {
      started = true;
      px = geo_.Centre(i);
      py = geo_.Y(price.At(i));
      break;
    }
  }
  for (int i = geo_.d; i < geo_.e; ++i) {
    if (cond.At(i) == 0 || !Valid(price.At(i))) continue;
    const int c = geo_.Centre(i), y = geo_.Y(price.At(i));
    if (started) Segment(px, py, c, y, pen_.colour);
    started = true;
    px = c;
    py = y;
  }
}

void OutputDrawer::DrawBand(const OutputEntry& entry) {
  Operand v1 = Arg(entry, 0), v2 = Arg(entry, 2);
  if (!v1.Exists() || !v2.Exists()) return;
  if (v1.is_constant) v1.constant = std::trunc(v1.constant);
  if (v2.is_constant) v2.constant = std::trunc(v2.constant);
  auto colour_of = [&](size_t index) {
    double value = 0;
    return formula_.ResolveConstant(Text(entry, index), &value) ? static_cast<Colour>(T(value)) : 0u;
  };
  const Colour colour1 = colour_of(1), colour2 = colour_of(3);
  std::vector<Point> upper, lower;
  int state = 0;
  auto fill = [&](const std::vector<Point>& up, const std::vector<Point>& down, int which) {
    std::vector<Point> polygon = up;
    polygon.insert(polygon.end(), down.rbegin(), down.rend());
    polygon.push_back(up.front());
    const Colour colour = which == 1 ? colour1 : colour2;
    canvas_.SetPen({colour, 1, PenStyle::kSolid});
    canvas_.SetBrush({colour, false});
    canvas_.Polygon(polygon);
  };
  for (int i = geo_.d; i < geo_.e; ++i) {
    const double a = v1.At(i), b = v2.At(i);
    if (!Valid(a) || !Valid(b)) continue;
    const Point up{geo_.Centre(i), geo_.Y(a)};
    const Point down{geo_.Centre(i), geo_.Y(b)};
    const int now = a > b ? 1 : 2;
    if (upper.empty()) {
      upper.push_back({geo_.X(i), up.y});
      lower.push_back({geo_.X(i), down.y});
    } else if (now != state) {
      // Where the two segments from the previous points to these cross.
      const Point pu = upper.back(), pd = lower.back();
      const double d1 = (up.y - pu.y) - (down.y - pd.y);
      if (d1 != 0 && up.x != pu.x) {
        const double s = static_cast<double>(pd.y - pu.y) / d1;
        const Point cross{T(pu.x + s * (up.x - pu.x)), T(pu.y + s * (up.y - pu.y))};
        std::vector<Point> closing_up = upper, closing_down = lower;
        closing_up.push_back(cross);
        fill(closing_up, closing_down, state);
        upper.assign(1, cross);
        lower.assign(1, cross);
      }
    }
    upper.push_back(up);
    lower.push_back(down);
    state = now;
  }
  if (upper.size() > 2) fill(upper, lower, state);
}

void OutputDrawer::DrawNumber(const OutputEntry& entry) {
  const Operand cond = Arg(entry, 0);
  Operand price = Arg(entry, 1), number = Arg(entry, 2);
  if (!cond.series || !price.Exists() || !number.Exists()) return;
  if (price.is_constant) price.constant = std::trunc(price.constant);
  if (number.is_constant) number.constant = std::trunc(number.constant);
  canvas_.SetTextBackground(false, 0);
  for (int i = geo_.d; i < geo_.e; ++i) {
    if (cond.At(i) != 1 || !Valid(price.At(i)) || !Valid(number.At(i))) continue;
    canvas_.TextOut(geo_.X(i), geo_.Y(price.At(i)), Format("%.3f", number.At(i)));
  }
}

void OutputDrawer::DrawText(const OutputEntry& entry) {
  const Operand cond = Arg(entry, 0), price = Arg(entry, 1);
  if (!cond.series || !price.Exists()) return;
  const std::string text = WithoutQuotes(Text(entry, 2));
  canvas_.SetTextBackground(false, 0);
  for (int i = geo_.d; i < geo_.e; ++i) {
    if (cond.At(i) != 1 || !Valid(price.At(i))) continue;
    canvas_.TextOut(geo_.X(i), geo_.Y(price.At(i)) - geo_.h / 2, text);
  }
}

void OutputDrawer::DrawIcon(const OutputEntry& entry) {
  const Operand cond = Arg(entry, 0), price = Arg(entry, 1);
  if (!cond.series || !price.Exists()) return;
  const auto icon = MakeIcon(canvas_, "IC" + WithoutQuotes(Text(entry, 2)));
  if (!icon) return;
  for (int i = geo_.d; i < geo_.e; ++i) {
    if (cond.At(i) != 1 || !Valid(price.At(i))) continue;
    canvas_.Draw(geo_.Centre(i) - icon->Width() / 2, geo_.Y(price.At(i)) - icon->Height(), *icon);
  }
}

void OutputDrawer::DrawBmp(const OutputEntry& entry) {
  const Operand cond = Arg(entry, 0);
  Operand price = Arg(entry, 1);
  if (!cond.series || !price.Exists()) return;
  if (price.is_constant) price.constant = std::trunc(price.constant);
  const std::filesystem::path file =
      std::filesystem::path(painter_.input_.program_folder) / "signals" / (WithoutQuotes(Text(entry, 2)) + ".bmp");
  std::unique_ptr<Canvas> picture;
  for (int i = geo_.d; i < geo_.e; ++i) {
    if (cond.At(i) != 1 || !Valid(price.At(i))) continue;
    if (!picture) {
      picture = LoadBmpBitmap(canvas_, file.string());
      if (!picture) return;
    }
    canvas_.Draw(geo_.X(i), geo_.Y(price.At(i)), *picture);
  }
}

void OutputDrawer::DrawGbk(const OutputEntry& entry) {
  const Operand cond = Arg(entry, 0);
  if (!cond.series) return;
  bool any = false;
  for (int i = geo_.d; i < geo_.e && !any; ++i) any = cond.At(i) == 1;
  if (!any) return;
  const Colour colour1 = static_cast<Colour>(ParseIntOr(Text(entry, 1), 0));
  const Colour colour2 = static_cast<Colour>(ParseIntOr(Text(entry, 2), 0));
  const int type = ParseIntOr(Text(entry, 3), 0);
  if (colour1 != 0 && colour2 != 0) {
    auto area = canvas_.CreateBitmap(geo_.PlotWidth(), geo_.PlotHeight());
    FillBackground(*area, colour1, colour2, type == 1 ? BackStyle::wLeft : BackStyle::wTop);
    canvas_.Draw(geo_.l, geo_.t, *area);
    return;
  }
  const std::filesystem::path file =
      std::filesystem::path(painter_.input_.program_folder) / (WithoutQuotes(Text(entry, 4)) + ".bmp");
  if (auto picture = LoadBmpBitmap(canvas_, file.string())) canvas_.Draw(geo_.l, geo_.t, *picture);
}

void OutputDrawer::DrawRectRel(const OutputEntry& entry) {
  auto coordinate = [&](size_t index) {
    double value = -1;
    if (index < entry.arguments.size() && !entry.arguments[index].empty()) {
      if (!formula_.ResolveConstant(entry.arguments[index], &value)) value = -1;
    }
    return value;
  };
  const int x1 = T(geo_.PlotWidth() * coordinate(0) / 1000) + geo_.l;
  int y1 = T((geo_.g - geo_.b - geo_.t) * coordinate(1) / 1000) + geo_.t + 1;
  const int x2 = T(geo_.PlotWidth() * coordinate(2) / 1000) + geo_.l;
  int y2 = T((geo_.g - geo_.b - geo_.t) * coordinate(3) / 1000) + geo_.t + 1;
  if (y2 < y1) std::swap(y1, y2);
  std::string colour_text = Text(entry, 4);
  double named = 0;
  if (formula_.ResolveConstant(colour_text, &named)) colour_text = Format("%d", T(named));
  const Colour colour = static_cast<Colour>(ParseIntOr(colour_text, 255));
  if (colour != 0) {
    canvas_.SetPen({colour, 1, PenStyle::kSolid});
    canvas_.SetBrush({colour, false});
  } else {
    canvas_.SetPen({kWhite, 1, PenStyle::kSolid});
    canvas_.SetBrush({0, true});
  }
  if (x1 == x2 || y1 == y2) {
    canvas_.MoveTo(x1, y1);
    canvas_.LineTo(x2, y2);
  } else {
    canvas_.Rectangle(x1, y1, x2, y2);
  }
}

void OutputDrawer::DrawTextFix(const OutputEntry& entry) {
  const Operand cond = Arg(entry, 0);
  if (!cond.Exists()) return;
  const std::string text = WithoutQuotes(Text(entry, 4));
  int x = T(geo_.PlotWidth() * ParseDecimalOr(Text(entry, 1), 0)) + geo_.l;
  const int y = T((geo_.g - geo_.b - geo_.t) * ParseDecimalOr(Text(entry, 2), 0)) + geo_.t;
  if (ParseDecimalOr(Text(entry, 3), 0) == 1) x -= canvas_.TextExtent(text).width;
  bool show = false;
  if (cond.is_constant) {
    show = cond.constant == 1;
  } else {
    for (int i = geo_.d; i < geo_.e && !show; ++i) show = cond.At(i) == 1;
  }
  if (!show) return;
  canvas_.SetTextBackground(false, 0);
  canvas_.TextOut(x, y - geo_.h / 2, text);
}

void OutputDrawer::DrawNumberFix(const OutputEntry& entry) {
  const Operand cond = Arg(entry, 0);
  if (!cond.Exists()) {
    formula_.SetError("DRAWNUMBER_FIX(COND,X,Y,TYPE,NUMBER)中COND错误!");
    return;
  }
  const Operand number = Arg(entry, 4);
  if (!number.Exists()) {
    formula_.SetError("DRAWNUMBER_FIX(COND,X,Y,TYPE,NUMBER)中NUMBER错误!");
    return;
  }
  const int anchor_x = T(geo_.PlotWidth() * ParseDecimalOr(Text(entry, 1), 0)) + geo_.l;
  const int y = T((geo_.g - geo_.b - geo_.t) * ParseDecimalOr(Text(entry, 2), 0)) + geo_.t;
  const bool ends_at_anchor = ParseDecimalOr(Text(entry, 3), 0) == 1;
  canvas_.SetTextBackground(false, 0);
  auto write = [&](double value) {
    const std::string text = Valid(value) ? Format("%.3f", value) : std::string("-");
    canvas_.TextOut(ends_at_anchor ? anchor_x - canvas_.TextExtent(text).width : anchor_x, y, text);
  };
  if (cond.is_constant) {
    if (cond.constant != 1) return;
    write(number.is_constant ? number.constant : number.At(number.series.count - 1));
    return;
  }
  for (int i = geo_.d; i < geo_.e; ++i) {
    if (cond.At(i) != 1) continue;
    write(number.At(i));
    if (number.is_constant) return;
  }
}

}  // namespace vorelin
