#include "common/data_root.h"

#include <cstdlib>
#include <cstring>

namespace vorelin {

std::filesystem::path ResolveDataRoot(const std::optional<std::string>& root_option) {
  if (root_option && !root_option->empty()) return *root_option;
  if (const char* env = std::getenv("VORELIN_ROOT"); env && *env) return env;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
    return std::filesystem::path(xdg) / "vorelin";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".local" / "share" / "vorelin";
}

std::optional<std::string> FindRootOption(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc) return std::string(argv[i + 1]);
    if (std::strncmp(argv[i], "--root=", 7) == 0) return std::string(argv[i] + 7);
  }
  return std::nullopt;
}

bool IsSafeStockCode(std::string_view code) {
  if (code.empty() || code.find("..") != std::string_view::npos) return false;
  for (unsigned char c : code) {
    if (c == '/' || c == '\\' || c == ':' || c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

std::string UnsafeStockCodeMessage(std::string_view code) {
  return "股票代码不合法：" + std::string(code) + "（代码不能含有“/”、“\\”或“..”）";
}

}  // namespace vorelin
