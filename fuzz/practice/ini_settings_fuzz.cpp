// config.ini text of any bytes: read every setting, write them back, and the rewritten text
// must read the same; remembered passwords of any value unscramble without harm. Bytes
// before a first zero byte are the user name (line breaks and brackets included): a save
// either refuses it or leaves every global setting as it read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/ini_file.h"
#include "common/text_encoding.h"
#include "practice/password_scramble.h"
#include "practice/settings.h"

namespace {

bool SameGlobals(const vorelin::SystemSettings& a, const vorelin::SystemSettings& b) {
  return a.UserName == b.UserName && a.Password == b.Password &&
         a.RememberPassword == b.RememberPassword && a.LoginHost == b.LoginHost &&
         a.LoginPort == b.LoginPort && a.QuoteHost == b.QuoteHost && a.QuotePort == b.QuotePort;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorelin;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const size_t zero = bytes.find('\0');
  const std::string name = zero == std::string::npos ? "用户" : DecodeFileText(bytes.substr(0, zero));
  IniFile ini;
  ini.LoadText(DecodeFileText(zero == std::string::npos ? bytes : bytes.substr(zero + 1)));
  const SystemSettings system = ReadSystemSettings(ini);
  const UserSettings user = ReadUserSettings(ini, name, "600000");
  const std::string before = ini.Text();
  if (!WriteUserSettings(ini, name, user)) {
    if (ini.Text() != before) std::abort();  // a refused save changes nothing
  } else {
    IniFile again;
    again.LoadText(ini.Text());
    const UserSettings reread = ReadUserSettings(again, name, "600000");
    if (reread.StockCode != user.StockCode || reread.Period != user.Period ||
        reread.PlaySpeed != user.PlaySpeed || reread.DrawingTools != user.DrawingTools)
      std::abort();
    if (!SameGlobals(ReadSystemSettings(again), system)) std::abort();
  }
  UnscramblePassword(bytes);
  std::string printable;
  for (char c : bytes)
    if (c >= 0x20 && c < 0x7F) printable += c;
  if (UnscramblePassword(ScramblePassword(printable)) != printable) std::abort();
  return 0;
}
