// Background gradients of the panes and board, and the gradient-stamped 3-D bar bodies.
#pragma once

#include <memory>

#include "chart/chart_types.h"

namespace vorelin {

// Paints the whole canvas from `colour1` towards `colour2` in `style`.
void FillBackground(Canvas& canvas, Colour colour1, Colour colour2, BackStyle style);

// A `width` × `height` bitmap shaded left to right from `colour` to black.
std::unique_ptr<Canvas> MakeGradientStamp(const Canvas& like, int width, int height, Colour colour);

// A 3-D body over (left, top) … (right, bottom): the colour's gradient stamp stretched over
// it with a line in the colour along its bottom, or a plain fill without 3-D or when one
// pixel wide. A box with equal top and bottom grows two pixels up.
void DrawBar3d(Canvas& canvas, int left, int top, int right, int bottom, Colour colour, bool bar3d);

}  // namespace vorelin
