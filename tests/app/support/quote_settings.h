// Window tests' data roots: the settings that point the trainer at a test's quote server.
#pragma once

#include <filesystem>

#include "common/ini_file.h"
#include "practice/settings.h"

namespace vorelin::testing {

// Writes config.ini so the trainer's quote link goes to 127.0.0.1:`port`.
inline bool UseQuoteServer(const std::filesystem::path& root, int port) {
  IniFile ini;
  ini.WriteString(kSystemSection, "行情服务器地址", "127.0.0.1");
  ini.WriteInteger(kSystemSection, "行情服务器端口", port);
  return ini.Save(root / kConfigFileName);
}

}  // namespace vorelin::testing
