// The program's own small pictures "IC1" … "IC41" (signals standing on a price) and
// "IC100" (the ex-rights mark), drawn in code on a transparent background.
#pragma once

#include <memory>
#include <string>

#include "chart/canvas.h"

namespace vorelin {

inline constexpr int kIconSize = 16;

// The named icon as a bitmap of the same kind as `like`, or null for an unknown name.
std::unique_ptr<Canvas> MakeIcon(const Canvas& like, const std::string& name);

}  // namespace vorelin
