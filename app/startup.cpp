#include "app/startup.h"

#include <cstdlib>
#include <system_error>

#include "app/login_dialog.h"
#include "common/data_root.h"
#include "common/ini_file.h"
#include "formula_library/formula_store.h"
#include "practice/multi_period.h"
#include "practice/settings.h"
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
  // A root that cannot take it still works: the small charts keep their built-in formula.
  WriteDefaultMultiPeriodFormula(root, nullptr);
  if (!FormulaStore::CreateWithDefaults(FormulaStore::PathIn(root), *error)) return false;
  if (std::filesystem::exists(root / kDayDataFolder, ec) ||
      std::filesystem::exists(root / kMinDataFolder, ec))
    return true;
  std::string why;
  if (WriteSampleMarket(root, why)) return true;
  *error = "无法写入示例行情：" + why;
  return false;
}

TrainerStartup::TrainerStartup(std::filesystem::path root, MessageSink& messages)
    : root_(std::move(root)), messages_(messages) {
  IniFile ini;
  ini.Load(root_ / kConfigFileName);
  const SystemSettings system = ReadSystemSettings(ini);
  std::string error;
  if (!local_server_.EnsureRunning(system.LoginHost, system.LoginPort, root_, &error))
    messages_.Show(error);
  LoginServerAddress address;
  address.host = system.LoginHost;
  address.fallback_ipv4 = system.LoginHost;
  address.port = system.LoginPort;
  link_ = std::make_unique<QtLoginLink>(address);
}

std::string TrainerStartup::LogIn() {
  TFrmLogin login(root_, *link_, messages_);
  if (login.exec() != QDialog::Accepted || !login.User().IsSet()) return {};
  return login.User().Name();
}

}  // namespace vorelin
