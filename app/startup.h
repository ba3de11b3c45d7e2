// What the trainer does before its main window: a display to show it on, a data root with
// a market in it.
#pragma once

#include <filesystem>
#include <string>

namespace vorelin {

inline constexpr const char* kApplicationTitle = "Vorelin训练系统股票版";

// False when Qt would find no screen: no X or Wayland display and no platform chosen.
bool HasDisplay();
// Creates the data root when missing and writes the sample market into it when it has no
// data folders yet. False with a message when that fails.
bool PrepareDataRoot(const std::filesystem::path& root, std::string* error);

}  // namespace vorelin
