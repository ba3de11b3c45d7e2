// config.ini text of any bytes: read every setting, write them back, and the rewritten text
// must read the same; remembered passwords of any value unscramble without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/ini_file.h"
#include "common/text_encoding.h"
#include "practice/password_scramble.h"
#include "practice/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorelin;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  IniFile ini;
  ini.LoadText(DecodeFileText(bytes));
  const SystemSettings system = ReadSystemSettings(ini);
  const UserSettings user = ReadUserSettings(ini, "用户", "600000");
  WriteUserSettings(ini, "用户", user);
  IniFile again;
  again.LoadText(ini.Text());
  const UserSettings reread = ReadUserSettings(again, "用户", "600000");
  if (reread.StockCode != user.StockCode || reread.Period != user.Period ||
      reread.PlaySpeed != user.PlaySpeed || reread.DrawingTools != user.DrawingTools)
    std::abort();
  UnscramblePassword(bytes);
  std::string printable;
  for (char c : bytes)
    if (c >= 0x20 && c < 0x7F) printable += c;
  if (UnscramblePassword(ScramblePassword(printable)) != printable) std::abort();
  (void)system;
  return 0;
}
