// The output list of a pane: attribute words, the legend in the title row and the drawing
// modes of output lines.
#include <algorithm>
#include <cmath>

#include "chart/background.h"
#include "chart/output_drawer.h"
#include "common/format.h"
#include "common/numbers.h"

namespace vorelin {

namespace {
constexpr Colour kRed = 0x0000FF;
constexpr Colour kCyan = 0xFFFF00;
constexpr Colour kWhite = 0xFFFFFF;
int T(double v) { return PaneGeometry::Trunc(v); }

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool TakesLegend(const std::string& command) {
  static const char* const kWithout[] = {"drawkline", "stickline", "drawband", "drawnumber",
                                         "drawbmp", "drawgbk", "drawrectrel", "drawicon",
                                         "drawnumber_fix", "drawtext_fix", "drawtext"};
  for (const char* name : kWithout) {
    if (command == name) return false;
  }
  return true;
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The drawing mode of an output line, by precedence.
std::string LineMode(const std::string& attributes) {
  for (const char* mode : {"pointdot", "circledot", "crossdot", "colorstick", "volstick", "linestick", "stick"}) {
    if (attributes.find(mode) != std::string::npos) return mode;
  }
  if (attributes.find("linedot") != std::string::npos) return "linedot";
  return "";
}
}  // namespace

double Operand::At(int i) const {
  if (is_constant) return constant;
  if (!series || i < 0 || i >= series.count) return kChartNoValue;
  return series[i];
}

void SmoothLine(Canvas& canvas, int x1, int y1, int x2, int y2, Colour colour) {
  if (x1 == x2) {
    canvas.SetPen({colour, 1, PenStyle::kSolid});
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
    return;
  }
  auto blend = [&](int x, int y, double weight) {
    const Colour old = canvas.GetPixel(x, y);
    auto channel = [weight](int was, int want) {
      return std::min(255, T(was * (1 - weight) + want * weight + 0.5));
    };
    canvas.SetPixel(x, y, Rgb(channel(RedOf(old), RedOf(colour)), channel(GreenOf(old), GreenOf(colour)),
                              channel(BlueOf(old), BlueOf(colour))));
  };
  const bool along_x = std::abs(x2 - x1) >= std::abs(y2 - y1);
  // Only the steps that can land on the canvas are taken.
  const int extent = along_x ? canvas.Width() : canvas.Height();
  const int from = std::max(along_x ? std::min(x1, x2) : std::min(y1, y2), 0);
  const int to = std::min(along_x ? std::max(x1, x2) : std::max(y1, y2), extent - 1);
  for (int s = from; s <= to; ++s) {
    const double m = along_x ? y1 + static_cast<double>(s - x1) * (y2 - y1) / (x2 - x1)
                             : x1 + static_cast<double>(s - y1) * (x2 - x1) / (y2 - y1);
    const double low = std::floor(m);
    const double high = std::ceil(m);
    if (low == high) {
      if (along_x) canvas.SetPixel(s, static_cast<int>(m), colour);
      else canvas.SetPixel(static_cast<int>(m), s, colour);
      continue;
    }
    if (along_x) {
      blend(s, static_cast<int>(low), high - m);
      blend(s, static_cast<int>(high), m - low);
    } else {
      blend(static_cast<int>(low), s, high - m);
      blend(static_cast<int>(high), s, m - low);
    }
  }
}

void PanePainter::DrawOutputs() {
  OutputDrawer drawer(*this);
  drawer.DrawAll();
}

OutputDrawer::OutputDrawer(PanePainter& painter)
    : painter_(painter), canvas_(painter.canvas_), formula_(painter.formula_), geo_(painter.geo_),
      flags_(painter.flags_) {}

Operand OutputDrawer::Resolve(const std::string& argument) {
  Operand op;
  op.series = formula_.ResolveSeries(argument);
  if (!op.series) op.is_constant = formula_.ResolveConstant(argument, &op.constant);
  return op;
}

Operand OutputDrawer::Arg(const OutputEntry& entry, size_t index) {
  if (index >= entry.arguments.size()) return {};
  return Resolve(entry.arguments[index]);
}

std::string OutputDrawer::Text(const OutputEntry& entry, size_t index) const {
  return index < entry.arguments.size() ? entry.arguments[index] : std::string();
}

double OutputDrawer::WholeNumber(const std::string& text) const { return std::trunc(ParseDecimalOr(text, 0)); }

void OutputDrawer::Segment(int x1, int y1, int x2, int y2, Colour colour) {
  if (flags_.high_definition) {
    SmoothLine(canvas_, x1, y1, x2, y2, colour);
    canvas_.SetPen(pen_);
    return;
  }
  canvas_.SetPen({colour, pen_.width, pen_.style});
  canvas_.MoveTo(x1, y1);
  canvas_.LineTo(x2, y2);
}

void OutputDrawer::EnsureStamps() {
  if (painter_.red_stamp_) return;
  painter_.red_stamp_ = MakeGradientStamp(canvas_, T(geo_.P), 2, kRed);
  painter_.cyan_stamp_ = MakeGradientStamp(canvas_, T(geo_.P), 2, kCyan);
}

void OutputDrawer::ApplyAttributes(const OutputEntry& entry) {
  pen_ = Pen{};
  canvas_.SetBrush({0, true});
  for (const std::string& word : entry.words) {
    if (StartsWith(word, "linedash")) pen_.style = PenStyle::kDash;
    if (StartsWith(word, "dotline") || StartsWith(word, "linedot")) pen_.style = PenStyle::kDot;
    if (StartsWith(word, "linedashdot")) pen_.style = PenStyle::kDashDot;
    if (StartsWith(word, "linedashdotdot")) pen_.style = PenStyle::kDashDotDot;
    if (StartsWith(word, "color")) pen_.colour = formula_.ColourOf(word);
    if (StartsWith(word, "linethick") && word.size() > 9 && word[9] >= '1' && word[9] <= '9') {
      pen_.width = word[9] - '0';
    }
  }
  canvas_.SetPen(pen_);
  canvas_.SetTextColour(pen_.colour);
  mode_ = LineMode(entry.attributes);
}

void OutputDrawer::Legend(const OutputEntry& entry) {
  if (!flags_.title || entry.arguments.empty()) return;
  const Operand op = Arg(entry, 0);
  if (!op.Exists()) return;
  int k = geo_.e - 1;
  const int cursor_x = painter_.cursor_x_;
  if (flags_.cursor && cursor_x >= 0 && geo_.u > 0) {
    const int bar = T((cursor_x - geo_.l) / geo_.u) + geo_.d;
    if (bar >= 0 && bar <= geo_.e - 1) k = bar;
  }
  const double value = op.At(k);
  std::string name = UpperAscii(entry.arguments[0]);
  if (!name.empty() && name[0] == '@') name.clear();
  const std::string text =
      name + ":" + (value == kChartNoValue ? std::string("-") : Format(painter_.format_.format.c_str(), value));
  canvas_.SetTextColour(pen_.colour);
  canvas_.SetTextBackground(false, 0);
  WriteNumber(canvas_, geo_.l + painter_.title_width_ + legend_offset_ + 2, 2, text);
  legend_offset_ += canvas_.TextExtent(text).width + 3;
}

void OutputDrawer::DrawAll() {
  // Commands may insert nothing while drawing, but copy anyway: a volstick error must not
  // disturb the list being walked.
  const std::vector<std::string> outputs = formula_.Outputs();
  for (const std::string& text : outputs) {
    const OutputEntry entry = ParseOutputEntry(text);
    ApplyAttributes(entry);
    if (TakesLegend(entry.command)) Legend(entry);
    const std::string& c = entry.command;
    if (c == "syline") {
      if (entry.arguments.empty() || entry.attributes.find("nodraw") != std::string::npos) continue;
      const Operand op = Arg(entry, 0);
      if (op.series) {
        DrawSeriesLine(entry, op.series);
      } else if (op.is_constant) {
        DrawConstantLine(entry, op.constant);
      }
    } else if (c == "drawkline") {
      const Operand high = Arg(entry, 0), open = Arg(entry, 1), low = Arg(entry, 2), close = Arg(entry, 3);
      if (high.series && open.series && low.series && close.series) {
        painter_.DrawKLines(high.series, open.series, low.series, close.series);
      }
    } else if (c == "btx") {
      DrawBtx(entry);
    } else if (c == "twr") {
      DrawTwr(entry);
    } else if (c == "stickline") {
      DrawStickline(entry);
    } else if (c == "stickbar") {
      DrawStickbar(entry);
    } else if (c == "partline") {
      DrawPartline(entry);
    } else if (c == "ployline") {
      DrawPloyline(entry);
    } else if (c == "drawband") {
      DrawBand(entry);
    } else if (c == "drawnumber") {
      DrawNumber(entry);
    } else if (c == "drawtext") {
      DrawText(entry);
    } else if (c == "drawicon") {
      DrawIcon(entry);
    } else if (c == "drawbmp") {
      DrawBmp(entry);
    } else if (c == "drawgbk") {
      DrawGbk(entry);
    } else if (c == "drawrectrel") {
      DrawRectRel(entry);
    } else if (c == "drawtext_fix") {
      DrawTextFix(entry);
    } else if (c == "drawnumber_fix") {
      DrawNumberFix(entry);
    }
  }
}

int OutputDrawer::ColorstickBase() const { return geo_.min >= 0 ? geo_.g - geo_.b : geo_.Y(0); }

void OutputDrawer::DrawMark(const std::string& mode, int c, int y) {
  canvas_.SetPen(pen_);
  const int half = T(geo_.P / 2);
  if (mode == "pointdot") {
    canvas_.MoveTo(c, y);
    canvas_.LineTo(c + 1, y);
  } else if (mode == "circledot") {
    canvas_.SetBrush({pen_.colour, false});
    canvas_.Ellipse(c - half, y - half, c + half, y + half);
  } else {
    const int r = half > 4 ? half - 2 : half;
    canvas_.MoveTo(c - r, y - r);
    canvas_.LineTo(c + r, y + r);
    canvas_.MoveTo(c - r, y + r);
    canvas_.LineTo(c + r, y - r);
  }
}

void OutputDrawer::DrawVolstick(const OutputEntry& entry, int i, int y) {
  const SeriesView open = formula_.ResolveSeries("open");
  const SeriesView close = formula_.ResolveSeries("close");
  if (!open || !close) return;
  (void)entry;
  const int base = ColorstickBase();
  if (y == base) y -= 1;
  const bool up = i < open.count && i < close.count && close[i] > open[i];
  const int x = geo_.X(i);
  if (geo_.u < 1) {
    canvas_.SetPen({up ? kRed : kCyan, 1, PenStyle::kSolid});
    canvas_.MoveTo(x, y);
    canvas_.LineTo(x, base);
    return;
  }
  canvas_.SetPen({up ? kRed : kCyan, 1, PenStyle::kSolid});
  canvas_.SetBrush(up ? Brush{painter_.input_.style.background, false} : Brush{kCyan, false});
  const int body = T(geo_.P);
  if (flags_.bar3d && geo_.P >= 2) {
    EnsureStamps();
    if (up) {
      canvas_.StretchDraw(x, y, x + body, base, *painter_.red_stamp_);
    } else if (y == base) {
      canvas_.MoveTo(x, y);
      canvas_.LineTo(x + body, y);
    } else {
      canvas_.StretchDraw(x, y, x + body, base, *painter_.cyan_stamp_);
    }
  } else if (flags_.time_sharing) {
    const int c = geo_.Centre(i);
    canvas_.MoveTo(c, y - 1);
    canvas_.LineTo(c, base - 1);
  } else {
    canvas_.Rectangle(x, y, x + body, base);
  }
}

void OutputDrawer::DrawSeriesLine(const OutputEntry& entry, const SeriesView& s) {
  const int end = std::min(geo_.e, s.count);
  if (mode_ == "volstick" && (!formula_.ResolveSeries("open") || !formula_.ResolveSeries("close"))) {
    formula_.AppendError(entry.arguments[0] + ":volstick输出需要开盘,收盘原始数据!");
    return;
  }
  bool have_previous = false;
  int px = 0, py = 0;
  for (int i = geo_.d; i < end; ++i) {
    const double v = s[i];
    if (v == kChartNoValue) {
      have_previous = false;
      continue;
    }
    const int y = geo_.Y(v);
    const int c = geo_.Centre(i);
    if (mode_ == "pointdot" || mode_ == "circledot" || mode_ == "crossdot") {
      DrawMark(mode_, c, y);
    } else if (mode_ == "colorstick") {
      const int base = ColorstickBase();
      const int x = geo_.X(i);
      if (flags_.bar3d && geo_.P >= 2) {
        EnsureStamps();
        if (v > 0) {
          canvas_.StretchDraw(x, y, x + T(geo_.u), base, *painter_.red_stamp_);
        } else if (y == base) {
          canvas_.SetPen({kWhite, 1, PenStyle::kSolid});
          canvas_.MoveTo(x, y);
          canvas_.LineTo(x + T(geo_.P), y);
        } else {
          canvas_.StretchDraw(x, y, x + T(geo_.u), base, *painter_.cyan_stamp_);
        }
      } else {
        canvas_.SetPen({v > 0 ? kRed : kCyan, 1, PenStyle::kSolid});
        canvas_.MoveTo(c, y);
        canvas_.LineTo(c, base);
      }
    } else if (mode_ == "volstick") {
      DrawVolstick(entry, i, y);
    } else if (mode_ == "linestick" || mode_ == "stick") {
      const bool line = mode_ == "linestick";
      const int base = geo_.min < (line ? 0.000001 : 0.0000001) ? geo_.Y(0) : geo_.g + geo_.h2 - geo_.b;
      canvas_.SetPen(pen_);
      canvas_.MoveTo(c, y == base ? y - 1 : y);
      canvas_.LineTo(c, base);
      if (line && have_previous) Segment(px, py, c, y, pen_.colour);
    } else {
      if (have_previous) Segment(px, py, c, y, pen_.colour);
    }
    have_previous = true;
    px = c;
    py = y;
  }
}

void OutputDrawer::DrawConstantLine(const OutputEntry& entry, double value) {
  ApplyAttributes(entry);
  const int y = geo_.Y(value);
  if (geo_.e <= geo_.d) return;
  const int last_centre = geo_.Centre(geo_.e - 1);
  if (mode_ == "pointdot" || mode_ == "circledot" || mode_ == "crossdot") {
    for (int i = geo_.d; i < geo_.e; ++i) DrawMark(mode_, geo_.Centre(i), y);
  } else if (mode_ == "colorstick") {
    const int base = geo_.min >= 0 ? geo_.g + geo_.h2 - geo_.b : geo_.Y(0);
    for (int i = geo_.d; i < geo_.e; ++i) {
      if (flags_.bar3d && geo_.P >= 2) {
        EnsureStamps();
        canvas_.StretchDraw(geo_.X(i), y, geo_.X(i) + T(geo_.P), base, *painter_.red_stamp_);
      } else {
        canvas_.MoveTo(geo_.Centre(i), y);
        canvas_.LineTo(geo_.Centre(i), base);
      }
    }
  } else if (mode_ == "volstick") {
    if (!formula_.ResolveSeries("open") || !formula_.ResolveSeries("close")) {
      formula_.AppendError(entry.arguments[0] + ":volstick输出需要开盘,收盘原始数据!");
      return;
    }
    for (int i = geo_.d; i < geo_.e; ++i) DrawVolstick(entry, i, y);
  } else if (mode_ == "linestick" || mode_ == "stick") {
    const bool line = mode_ == "linestick";
    const int base = geo_.min < (line ? 0.000001 : 0.0000001) ? geo_.Y(0) : geo_.g + geo_.h2 - geo_.b;
    for (int i = geo_.d; i < geo_.e; ++i) {
      canvas_.MoveTo(geo_.Centre(i), y == base ? y - 1 : y);
      canvas_.LineTo(geo_.Centre(i), base);
    }
    if (line) Segment(geo_.Centre(geo_.d), y, last_centre, y, pen_.colour);
  } else if (mode_ == "linedot") {
    for (int x = geo_.l; x <= geo_.w - geo_.r; ++x) {
      if (x % 2 == 0) canvas_.SetPixel(x, y, pen_.colour);
    }
  } else {
    canvas_.MoveTo(geo_.l, y);
    canvas_.LineTo(last_centre, y);
  }
}

}  // namespace vorelin
