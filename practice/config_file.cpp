#include "practice/config_file.h"

#include "practice/settings.h"

namespace vorelin {

bool UpdateConfigFile(const std::filesystem::path& root,
                      const std::function<void(IniFile&)>& change, MessageSink& messages) {
  const std::filesystem::path path = root / kConfigFileName;
  IniFile ini;
  if (!ini.Load(path)) {
    messages.Show(kUnreadableSettingsMessage + path.string());
    return false;
  }
  change(ini);
  if (!ini.Save(path)) {
    messages.Show(kSettingsNotSavedMessage + path.string());
    return false;
  }
  return true;
}

}  // namespace vorelin
