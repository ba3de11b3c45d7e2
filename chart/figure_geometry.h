// The geometry of every drawing-tool figure from its three points: segments, lines across
// the plot, rays, channels, arcs, ratio levels with their labels, time cycles, fans,
// rectangles, icons and text. The preview and the stored figures both draw through here.
#pragma once

#include <array>
#include <vector>

#include "chart/canvas.h"
#include "chart/figures.h"
#include "chart/pane_geometry.h"

namespace vorelin {

// The plot a figure is drawn in: its rectangle (right and bottom are the last columns and
// rows drawn to), the pane's value scale and its bar spacing.
struct FigureFrame {
  int left = 0, top = 0, right = 0, bottom = 0;
  double max = 0, min = 0;
  double u = 0;
  int first_bar = 0;
  double body = 0;  // K-line body width, for bar centres

  // The price at a row and back, on the pane's own scale.
  double ValueAt(int y) const;
  int RowOf(double value) const;
  // The centre of a bar's slot and the bar under a column, by the pane's bar spacing.
  int XOfBar(int bar) const;
  // A column snapped to the centre of the bar under it.
  int SnapToBar(int x) const;
};

// Where the line from `a` through `b` meets the plot's top edge (b above a) or bottom edge,
// clamped to the left and right edges. False, `end` unchanged, when the points share a
// column or a row.
bool ExtendToEdge(Point a, Point b, const FigureFrame& frame, Point* end);

// Draws the figure of `figure.tool` through `points` in its colour, pen style and width
// with a hollow brush; tools without a figure draw nothing.
void DrawFigure(Canvas& canvas, const XXLine& figure, const std::array<Point, 3>& points,
                const FigureFrame& frame);

// A pane's stored figures in its bitmap, in list order, at their bars and prices. A figure
// with a point on a bar the pane has not been given yet (a replay has not revealed it) is
// left out.
void DrawStoredFigures(Canvas& canvas, const std::vector<XXLine>& figures, const PaneGeometry& geometry);

}  // namespace vorelin
