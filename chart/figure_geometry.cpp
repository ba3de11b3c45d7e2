// Figure drawing: one function per figure kind, sharing the clipping of lines and rays and
// the labelled price levels.
#include "chart/figure_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "chart/icons.h"
#include "common/format.h"

namespace vorelin {

namespace {

// Truncation toward zero, held inside the int range for lines of almost no slope.
int Trunc(double v) { return static_cast<int>(std::clamp(v, -1e9, 1e9)); }

constexpr double kExtensionLevels[] = {0.191, 0.382, 0.5, 0.618, 0.809, 1.0};
constexpr double kGoldenLevels[] = {0.236, 0.382, 0.5, 0.618, 0.809, 1.382, 1.618, 2.0, 2.382, 2.618};
constexpr double kQuarterLevels[] = {0.25, 0.333, 0.5};
constexpr int kCycleTable[] = {1, 5, 9, 11, 14, 17, 21, 23, 25, 32, 37, 41, 45, 50, 57, 59, 61, 65, 68, 71, 73, 77, 81};

// A line of slope k and intercept c in single precision, as the figures compute them.
struct Slope {
  float k = 0;
  float c = 0;
};

class FigurePainter {
 public:
  FigurePainter(Canvas& canvas, const XXLine& figure, const std::array<Point, 3>& p, const FigureFrame& f)
      : canvas_(canvas), figure_(figure), f_(f), p1_(p[0]), p2_(p[1]), p3_(p[2]) {}

  void Draw() {
    UsePen(figure_.pen_style);
    canvas_.SetBrush({0, true});
    canvas_.SetTextColour(figure_.colour);
    canvas_.SetTextBackground(false, 0);
    switch (figure_.tool) {
      case 1: Line(p1_, p2_); break;
      case 2: LineAcross(); break;
      case 3: Arrow(); break;
      case 4: RayOrVertical(); break;
      case 5: Channel(true); break;
      case 6: Channel(false); break;
      case 7: HalfEllipse(); break;
      case 8: PercentBand(); break;
      case 9: Extension(); break;
      case 10: RatioLevels(kGoldenLevels, true); break;
      case 11: RatioLevels(kQuarterLevels, false); break;
      case 12: Octaves(); break;
      case 16: EqualCycles(); break;
      case 17: FibonacciZones(); break;
      case 18: CycleTable(); break;
      case 19: SpeedLines(); break;
      case 20: Fan(); break;
      case 21: Box(); break;
      case 22: Icon("IC1"); break;
      case 23: Icon("IC2"); break;
      case 24: canvas_.TextOut(p1_.x, p1_.y, figure_.text); break;
      default: break;
    }
  }

 private:
  void UsePen(PenStyle style) { canvas_.SetPen({figure_.colour, figure_.pen_width, style}); }
  void Line(Point a, Point b) { Line(a.x, a.y, b.x, b.y); }
  void Line(int x1, int y1, int x2, int y2) {
    canvas_.MoveTo(x1, y1);
    canvas_.LineTo(x2, y2);
  }
  void Across(int y) { Line(f_.left, y, f_.right, y); }
  void Vertical(int x) { Line(x, f_.top, x, f_.bottom); }
  void Label(int x, int y, const std::string& text) {
    canvas_.TextOut(x, y - canvas_.TextExtent(text).height - 1, text);
  }

  // The line y = k·x + c from the plot's top to its bottom, each end held inside the
  // plot's columns.
  void Clipped(Slope s) {
    auto end = [&](int row) {
      int x = Trunc((row - s.c) / s.k);
      int y = row;
      if (x < f_.left || x > f_.right) {
        x = std::clamp(x, f_.left, f_.right);
        y = Trunc(static_cast<float>(x) * s.k + s.c);
      }
      return Point{x, y};
    };
    Line(end(f_.top), end(f_.bottom));
  }
  // A first line with no slope is drawn as a row across the plot, its parallels likewise.
  void ClippedOrFlat(Slope s) {
    if (s.k == 0) {
      Across(Trunc(s.c));
    } else {
      Clipped(s);
    }
  }
  Slope Through(Point at, float k) const { return {k, static_cast<float>(at.y) - k * static_cast<float>(at.x)}; }
  float SlopeOf(Point a, Point b) const {
    return static_cast<float>(b.y - a.y) / static_cast<float>(b.x - a.x);
  }

  void LineAcross() {
    if (p1_.x == p2_.x) {
      Vertical(p1_.x);
      return;
    }
    ClippedOrFlat(Through(p1_, SlopeOf(p1_, p2_)));
  }

  // Tool 6 is the line and its parallel through point 3; tool 5 adds the mirror of that
  // parallel across the line.
  void Channel(bool mirror) {
    if (p1_.x == p2_.x) {
      Vertical(p1_.x);
      Vertical(p3_.x);
      if (mirror) Vertical(2 * p1_.x - p3_.x);
      return;
    }
    const float k = SlopeOf(p1_, p2_);
    const Slope line = Through(p1_, k);
    const Slope parallel = Through(p3_, k);
    ClippedOrFlat(line);
    ClippedOrFlat(parallel);
    if (mirror) ClippedOrFlat({k, line.c - (parallel.c - line.c)});
  }

  void Arrow() {
    Line(p1_, p2_);
    const double dx = p1_.x - p2_.x;
    const double dy = p1_.y - p2_.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0) return;
    Line(p2_.x, p2_.y, Trunc((dx + dy / 2) * 8 / length + p2_.x), Trunc((dy - dx / 2) * 8 / length + p2_.y));
    Line(p2_.x, p2_.y, Trunc((dx - dy / 2) * 8 / length + p2_.x), Trunc((dy + dx / 2) * 8 / length + p2_.y));
  }

  void Ray(Point from, Point through) {
    Point end;
    if (ExtendToEdge(from, through, f_, &end)) Line(from, end);
  }

  void RayOrVertical() {
    if (p1_.x == p2_.x) {
      Line(p1_.x, p1_.y, p1_.x, p2_.y < p1_.y ? f_.top : f_.bottom);
      return;
    }
    Ray(p1_, p2_);
  }

  // Counter-clockwise from point 1 round through point 2 to point 1's mirror.
  void HalfEllipse() {
    const int a = std::abs(p2_.x - p1_.x);
    const int b = std::abs(p2_.y - p1_.y);
    Point centre;
    Point end;
    if (p1_.y < p2_.y && p2_.x < p1_.x) {
      centre = {p1_.x, p2_.y};
      end = {p1_.x, p1_.y + 2 * b};
    } else if (p1_.y < p2_.y) {
      centre = {p2_.x, p1_.y};
      end = {p1_.x + 2 * a, p1_.y};
    } else if (p2_.x < p1_.x) {
      centre = {p2_.x, p1_.y};
      end = {p1_.x - 2 * a, p1_.y};
    } else {
      centre = {p1_.x, p2_.y};
      end = {p1_.x, p1_.y - 2 * b};
    }
    canvas_.Arc(centre.x - a, centre.y - b, centre.x + a, centre.y + b, p1_.x, p1_.y, end.x, end.y);
  }

  void Base(int y, double price) {
    Across(y);
    Label(f_.left + 2, y, Format("  Base %6.3f", price));
  }
  // A dotted level across the plot, drawn only when its row lies inside the plot.
  void Level(double price, double percent) {
    const int row = f_.RowOf(price);
    if (row <= f_.top || row >= f_.bottom) return;
    Across(row);
    Label(f_.left + 2, row, Format("%5.1f%% %6.3f", percent, price));
  }

  void PercentBand() {
    const double base = f_.ValueAt(p2_.y);
    Base(p2_.y, base);
    UsePen(PenStyle::kDot);
    for (double r : kExtensionLevels) {
      Level((1 + r) * base, (1 + r) * 100);
      Level((1 - r) * base, (1 - r) * 100);
    }
    UsePen(PenStyle::kSolid);
  }

  void Extension() {
    Line(p1_, p2_);
    Line(p2_, p3_);
    const double range = f_.ValueAt(p2_.y) - f_.ValueAt(p1_.y);
    const double base = f_.ValueAt(p3_.y);
    Base(p3_.y, base);
    UsePen(PenStyle::kDot);
    for (double r : kExtensionLevels) Level(base + r * range, r * 100);
    UsePen(PenStyle::kSolid);
  }

  void Ends(bool lines_first) {
    const double low = f_.ValueAt(p1_.y);
    const double high = f_.ValueAt(p2_.y);
    if (lines_first) {
      Across(p1_.y);
      Across(p2_.y);
    } else {
      Across(p1_.y);
    }
    Label(f_.left + 2, p1_.y, Format("  Base %6.3f", low));
    if (!lines_first) Across(p2_.y);
    Label(f_.left + 2, p2_.y, Format("100.0%% %6.3f", high));
  }

  template <size_t N>
  void RatioLevels(const double (&levels)[N], bool lines_first) {
    Ends(lines_first);
    const double low = f_.ValueAt(p1_.y);
    const double high = f_.ValueAt(p2_.y);
    UsePen(PenStyle::kDot);
    for (double r : levels) Level(low + r * (high - low), r * 100);
    UsePen(PenStyle::kSolid);
  }

  void Octaves() {
    Ends(false);
    const double low = f_.ValueAt(p1_.y);
    const double high = f_.ValueAt(p2_.y);
    UsePen(PenStyle::kDot);
    for (int i = 1; i <= 7; ++i) {
      const double r = i / 8.0;
      Level(low + r * (high - low), r * 100);
    }
    UsePen(PenStyle::kSolid);
  }

  void Cycle(int x, int number) {
    Vertical(x);
    canvas_.TextOut(x + 2, f_.top, std::to_string(number));
  }

  void EqualCycles() {
    const int s1 = f_.SnapToBar(p1_.x);
    const int s2 = f_.SnapToBar(p2_.x);
    const int step = std::abs(s2 - s1);
    if (step <= 0) return;
    int x = std::min(s1, s2);
    for (int n = 0; x < f_.right; ++n, x += step) Cycle(x, n);
    Vertical(x);
  }

  void FibonacciZones() {
    const int x0 = f_.SnapToBar(p2_.x);
    const int step = Trunc(f_.u);
    long long previous = 0;
    long long fib = 1;
    for (;;) {
      const long long x = x0 + (fib - 1) * step;
      if (x >= f_.right) break;
      Cycle(static_cast<int>(x), static_cast<int>(fib));
      const long long next = previous + fib;
      previous = fib;
      fib = next;
      if (step <= 0 && fib > 1) break;  // no spacing: every zone would fall on one column
    }
  }

  void CycleTable() {
    const int x0 = f_.SnapToBar(p2_.x);
    const int step = Trunc(f_.u);
    for (int k = 0; k < static_cast<int>(std::size(kCycleTable)); ++k) {
      const int x = k == 0 ? x0 : x0 + kCycleTable[k - 1] * step;
      if (x > f_.right) break;
      Cycle(x, kCycleTable[k]);
    }
  }

  void LabelledRay(Point through, const char* label) {
    Ray(p1_, through);
    canvas_.TextOut(through.x, through.y, label);
  }

  void SpeedLines() {
    if (p1_.x >= p2_.x) return;
    const int dy = p2_.y - p1_.y;
    UsePen(PenStyle::kDot);
    LabelledRay({p2_.x, p1_.y + dy / 3}, "3:1");
    LabelledRay({p2_.x, p1_.y + dy / 3 * 2}, "3:2");
    UsePen(PenStyle::kSolid);
    Ray(p1_, p2_);
  }

  void Fan() {
    if (p1_.x >= p2_.x) return;
    Line(p1_.x, p1_.y, p1_.x, p2_.y < p1_.y ? f_.top : f_.bottom);
    Line(p1_.x, p1_.y, f_.right, p1_.y);
    Ray(p1_, p2_);
    static const int kParts[] = {2, 3, 4, 8};
    static const char* const kLabels[] = {"2:1", "3:1", "4:1", "8:1"};
    UsePen(PenStyle::kDot);
    for (size_t i = 0; i < std::size(kParts); ++i)
      LabelledRay({p2_.x, p1_.y + (p2_.y - p1_.y) / kParts[i]}, kLabels[i]);
    for (size_t i = 0; i < std::size(kParts); ++i)
      LabelledRay({p1_.x + (p2_.x - p1_.x) / kParts[i], p2_.y}, kLabels[i]);
    UsePen(PenStyle::kSolid);
  }

  void Box() {
    canvas_.Rectangle(std::min(p1_.x, p2_.x), std::min(p1_.y, p2_.y), std::max(p1_.x, p2_.x),
                      std::max(p1_.y, p2_.y));
  }

  void Icon(const char* name) {
    const std::unique_ptr<Canvas> icon = MakeIcon(canvas_, name);
    if (icon) canvas_.Draw(p1_.x - 8, p1_.y, *icon);
  }

  Canvas& canvas_;
  const XXLine& figure_;
  const FigureFrame& f_;
  Point p1_, p2_, p3_;
};

}  // namespace

double FigureFrame::ValueAt(int y) const {
  if (bottom == top) return max;
  return max - (y - top) * (max - min) / (bottom - top);
}

int FigureFrame::RowOf(double value) const {
  if (max == min) return bottom;
  return bottom - Trunc((value - min) * (bottom - top) / (max - min));
}

int FigureFrame::XOfBar(int bar) const { return Trunc(u * (bar - first_bar) + body / 2) + left; }

int FigureFrame::SnapToBar(int x) const {
  if (u <= 0) return x;
  return Trunc(Trunc((x - left) / u) * u + u / 2) + left - 1;
}

bool ExtendToEdge(Point a, Point b, const FigureFrame& frame, Point* end) {
  if (a.x == b.x || a.y == b.y) return false;
  const float k = static_cast<float>(b.y - a.y) / static_cast<float>(b.x - a.x);
  const float c = static_cast<float>(a.y) - k * static_cast<float>(a.x);
  int y = b.y < a.y ? frame.top : frame.bottom;
  int x = Trunc((static_cast<float>(y) - c) / k);
  if (x < frame.left || x > frame.right) {
    x = x < frame.left ? frame.left : frame.right;
    y = Trunc(static_cast<float>(x) * k + c);
  }
  *end = {x, y};
  return true;
}

void DrawFigure(Canvas& canvas, const XXLine& figure, const std::array<Point, 3>& points,
                const FigureFrame& frame) {
  FigurePainter(canvas, figure, points, frame).Draw();
}

void DrawStoredFigures(Canvas& canvas, const std::vector<XXLine>& figures, const PaneGeometry& geo) {
  FigureFrame frame;
  frame.left = geo.l;
  frame.top = geo.t;
  frame.right = geo.w - geo.r + 1;
  frame.bottom = geo.g - geo.b;
  frame.max = geo.max;
  frame.min = geo.min;
  frame.u = geo.u;
  frame.first_bar = geo.d;
  frame.body = geo.P;
  for (const XXLine& figure : figures) {
    // A one-point tool keeps its release point as point 2, which some figures use.
    const int used = std::clamp(figure.point_count, 2, 3);
    std::array<Point, 3> points{};
    bool revealed = true;
    for (int i = 0; i < 3; ++i) {
      const auto k = static_cast<size_t>(i);
      if (i < used && figure.bar[k] >= geo.bar_count) revealed = false;
      points[k] = {frame.XOfBar(figure.bar[k]), geo.Y(figure.price[k])};
    }
    if (revealed) DrawFigure(canvas, figure, points, frame);
  }
}

}  // namespace vorelin
