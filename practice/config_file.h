// Changing config.ini from a window: read the file as it is now, change some keys, write it
// back, and tell the user when either end fails.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "common/ini_file.h"
#include "common/message_sink.h"

namespace vorelin {

inline constexpr const char* kUnreadableSettingsMessage = "设置文件无法读取：";
inline constexpr const char* kSettingsNotSavedMessage = "设置保存失败：";

// A change of the settings; false with the reason when a name or value cannot be written.
using ConfigChange = std::function<bool(IniFile&, std::string* error)>;

// Loads root/config.ini, applies `change` and saves it. False after showing the unreadable
// or not-saved message with the file's path and the reason; the file on disk is then
// unchanged.
bool UpdateConfigFile(const std::filesystem::path& root, const ConfigChange& change,
                      MessageSink& messages);

}  // namespace vorelin
