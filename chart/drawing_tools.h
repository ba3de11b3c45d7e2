// The drawing-tool state of the chart: which tool is picked, its style, and the points
// placed with the mouse so far (control coordinates), from the first press to the
// release that completes the figure.
#pragma once

#include <array>
#include <string>

#include "chart/figures.h"

namespace vorelin {

inline constexpr int kToolOff = 0;
inline constexpr int kLastFigureTool = 24;
inline constexpr int kToolClearFigures = 25;
inline constexpr int kToolShowFigures = 26;

// Points a figure tool needs (1 … 3); 0 for numbers that are no figure tool.
int PointsNeeded(int tool);

class DrawingTool {
 public:
  // Tools 1 … 24 become active with no point placed and the default style (yellow, solid,
  // width 1, font size 8, no text); any other number switches drawing off.
  void Start(int tool, const std::string& name);
  bool Active() const { return active_; }
  int Placed() const { return placed_; }
  // The tool number, name and style a figure of this tool is stored with.
  const XXLine& Style() const { return style_; }
  void SetText(const std::string& text, Colour colour, int font_size);
  const std::array<Point, 3>& Points() const { return points_; }

  // Each returns true when it changed the points. A press places point 1 only when no
  // point is placed yet; a move drags the next point while points are placed.
  bool Press(Point at);
  bool Move(Point at);
  // Places the next point; true when that completes the figure, and the tool is off then.
  // A release with no point placed (its press missed every pane) places nothing.
  bool Release(Point at);

 private:
  void Stop() {
    active_ = false;
    placed_ = 0;
  }
  // The next point and every one after it follow the mouse.
  void Follow(Point at);

  bool active_ = false;
  int placed_ = 0;
  XXLine style_;
  std::array<Point, 3> points_{};
};

}  // namespace vorelin
