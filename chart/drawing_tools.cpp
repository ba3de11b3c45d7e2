// The drawing tools' point counts and the placing of points.
#include "chart/drawing_tools.h"

namespace vorelin {

int PointsNeeded(int tool) {
  switch (tool) {
    case 5: case 6: case 9:
      return 3;
    case 17: case 18: case 22: case 23: case 24:
      return 1;
    default:
      return tool >= 1 && tool <= kLastFigureTool ? 2 : 0;
  }
}

void DrawingTool::Start(int tool, const std::string& name) {
  placed_ = 0;
  active_ = PointsNeeded(tool) > 0;
  if (!active_) return;
  style_ = XXLine{};
  style_.tool = tool;
  style_.name = name;
  style_.point_count = PointsNeeded(tool);
}

void DrawingTool::SetText(const std::string& text, Colour colour, int font_size) {
  style_.text = text;
  style_.colour = colour;
  style_.font_size = font_size;
}

void DrawingTool::Follow(Point at) {
  for (int i = placed_; i < static_cast<int>(points_.size()); ++i) points_[static_cast<size_t>(i)] = at;
}

bool DrawingTool::Press(Point at) {
  if (!active_ || placed_ != 0) return false;
  Follow(at);
  placed_ = 1;
  return true;
}

bool DrawingTool::Move(Point at) {
  if (!active_ || placed_ == 0) return false;
  Follow(at);
  return true;
}

bool DrawingTool::Release(Point at) {
  if (!active_ || placed_ == 0) return false;
  Follow(at);
  ++placed_;
  if (placed_ < style_.point_count) return false;
  Stop();
  return true;
}

}  // namespace vorelin
