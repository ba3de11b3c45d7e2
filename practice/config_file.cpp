#include "practice/config_file.h"

#include "practice/settings.h"

namespace vorelin {

bool UpdateConfigFile(const std::filesystem::path& root, const ConfigChange& change,
                      MessageSink& messages) {
  const std::filesystem::path path = root / kConfigFileName;
  auto report = [&](const char* what, const std::string& reason) {
    messages.Show(what + path.string() + (reason.empty() ? std::string() : "（" + reason + "）"));
    return false;
  };
  IniFile ini;
  std::string error;
  if (!ini.Load(path, &error)) return report(kUnreadableSettingsMessage, error);
  if (!change(ini, &error) || !ini.Save(path, &error)) return report(kSettingsNotSavedMessage, error);
  return true;
}

}  // namespace vorelin
