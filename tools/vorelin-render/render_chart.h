// Rendering one stock's chart headless into an image file.
#pragma once

#include <string>

#include "tools/vorelin-render/render_options.h"

namespace vorelin {

// False with one error text when the data file is missing, unreadable or empty, or the
// image can not be written. Needs a QGuiApplication.
bool RenderChartFile(const RenderOptions& options, std::string* error);

}  // namespace vorelin
