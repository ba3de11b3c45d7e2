#include "app/startup.h"

#include <cstdlib>
#include <system_error>

#include "common/data_root.h"
#include "tools/vorelin-sample/sample_market.h"

namespace vorelin {

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

bool PrepareDataRoot(const std::filesystem::path& root, std::string* error) {
  std::error_code ec;
  std::filesystem::create_directories(root, ec);
  if (!std::filesystem::is_directory(root, ec)) {
    *error = "无法创建数据目录：" + root.string();
    return false;
  }
  if (std::filesystem::exists(root / kDayDataFolder, ec) ||
      std::filesystem::exists(root / kMinDataFolder, ec))
    return true;
  std::string why;
  if (WriteSampleMarket(root, why)) return true;
  *error = "无法写入示例行情：" + why;
  return false;
}

}  // namespace vorelin
