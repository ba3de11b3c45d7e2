// The pictures of the drawing-tool buttons, painted in code: one small sketch of each
// tool's figure, the two marker icons as the chart draws them.
#pragma once

#include <QIcon>

namespace vorelin {

// The button picture of tool `tool` (0 the pointer, 1 … 24 the figures, 25 clear, 26 hide).
QIcon DrawingToolIcon(int tool);

}  // namespace vorelin
