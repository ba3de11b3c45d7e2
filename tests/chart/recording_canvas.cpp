// The recording canvas: text lines per call, pixels kept for fills and pixel access.
#include "tests/chart/recording_canvas.h"

#include <algorithm>

#include "common/format.h"

namespace vorelin::testing {

std::string Hex(Colour c) { return Format("0x%06X", c & 0xFFFFFF); }

namespace {
const char* StyleName(PenStyle style) {
  switch (style) {
    case PenStyle::kDash: return "dash";
    case PenStyle::kDot: return "dot";
    case PenStyle::kDashDot: return "dashdot";
    case PenStyle::kDashDotDot: return "dashdotdot";
    case PenStyle::kSolid: break;
  }
  return "solid";
}
}  // namespace

RecordingCanvas::RecordingCanvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(std::max(width, 0)) * std::max(height, 0), 0) {}

std::string RecordingCanvas::PenText() const {
  return Format("pen=%s w%d %s", Hex(pen_.colour).c_str(), pen_.width, StyleName(pen_.style));
}

std::string RecordingCanvas::BrushText() const {
  return brush_.hollow ? "brush=hollow" : "brush=" + Hex(brush_.colour);
}

void RecordingCanvas::LineTo(int x, int y) {
  log_.push_back(Format("line %d,%d -> %d,%d ", position_.x, position_.y, x, y) + PenText());
  position_ = {x, y};
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom) {
  log_.push_back(Format("rect %d,%d,%d,%d ", left, top, right, bottom) + PenText() + " " + BrushText());
}

void RecordingCanvas::FillRect(int left, int top, int right, int bottom, Colour colour) {
  if (!filled_) first_fill = colour;
  filled_ = true;
  log_.push_back(Format("fill %d,%d,%d,%d ", left, top, right, bottom) + Hex(colour));
  for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y) {
    for (int x = std::max(left, 0); x < std::min(right, width_); ++x) {
      pixels_[static_cast<size_t>(y) * width_ + x] = colour;
    }
  }
}

void RecordingCanvas::Ellipse(int left, int top, int right, int bottom) {
  log_.push_back(Format("ellipse %d,%d,%d,%d ", left, top, right, bottom) + PenText() + " " + BrushText());
}

void RecordingCanvas::Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
  log_.push_back(Format("arc %d,%d,%d,%d %d,%d %d,%d ", left, top, right, bottom, x1, y1, x2, y2) + PenText());
}

void RecordingCanvas::Polygon(const std::vector<Point>& points) {
  std::string text = "polygon";
  for (const Point& p : points) text += Format(" %d,%d", p.x, p.y);
  log_.push_back(text + " " + PenText() + " " + BrushText());
}

void RecordingCanvas::SetPixel(int x, int y, Colour colour) {
  log_.push_back(Format("pixel %d,%d ", x, y) + Hex(colour));
  if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<size_t>(y) * width_ + x] = colour;
}

Colour RecordingCanvas::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

std::vector<std::string>* RecordingCanvas::text_sink = nullptr;

void RecordingCanvas::TextOut(int x, int y, const std::string& utf8) {
  if (text_sink != nullptr) text_sink->push_back(utf8);
  log_.push_back(Format("text %d,%d '%s' %s%s size%d%s", x, y, utf8.c_str(), Hex(text_colour_).c_str(),
                        opaque_ ? (" on " + Hex(text_background_)).c_str() : "", font_.height,
                        font_.underline ? " underline" : ""));
}

Size RecordingCanvas::TextExtent(const std::string& utf8) const {
  int width = 0;
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      width += 6;
      ++i;
    } else {
      width += 12;
      i += c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    }
  }
  return {width, font_.height};
}

std::unique_ptr<Canvas> RecordingCanvas::CreateBitmap(int width, int height, bool) const {
  auto bitmap = std::make_unique<RecordingCanvas>(width, height);
  bitmap->SetFont(font_);
  return bitmap;
}

void RecordingCanvas::Draw(int x, int y, const Canvas& source) {
  log_.push_back(Format("draw %d,%d bitmap %dx%d", x, y, source.Width(), source.Height()));
  const auto* recorded = dynamic_cast<const RecordingCanvas*>(&source);
  drawn_.push_back(recorded != nullptr ? recorded->Log() : std::vector<std::string>{});
}

void RecordingCanvas::StretchDraw(int left, int top, int right, int bottom, const Canvas& source) {
  const auto* recorded = dynamic_cast<const RecordingCanvas*>(&source);
  log_.push_back(Format("stretch %d,%d,%d,%d bitmap %dx%d from %s", left, top, right, bottom,
                        source.Width(), source.Height(),
                        Hex(recorded != nullptr ? recorded->first_fill : 0).c_str()));
}

RgbImage RecordingCanvas::ReadPixels() const {
  RgbImage image{width_, height_, {}};
  for (Colour c : pixels_) {
    image.bgr.push_back(static_cast<uint8_t>(BlueOf(c)));
    image.bgr.push_back(static_cast<uint8_t>(GreenOf(c)));
    image.bgr.push_back(static_cast<uint8_t>(RedOf(c)));
  }
  return image;
}

std::vector<std::string> RecordingCanvas::Lines(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& line : log_) {
    if (line.rfind(prefix, 0) == 0) out.push_back(line);
  }
  return out;
}

bool RecordingCanvas::Has(const std::string& line) const {
  return std::find(log_.begin(), log_.end(), line) != log_.end();
}

std::string RecordingCanvas::Dump() const {
  std::string out;
  for (const std::string& line : log_) out += line + "\n";
  return out;
}

}  // namespace vorelin::testing
