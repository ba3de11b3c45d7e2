#include "practice/settings.h"

#include <type_traits>
#include <variant>

#include "practice/password_scramble.h"

namespace vorelin {
namespace {

using Field = std::variant<std::string UserSettings::*, int UserSettings::*, bool UserSettings::*>;

struct UserKey {
  const char* key;
  Field field;
  bool saved;  // "当前行" and "可用资金" are read but never written
};

// In the order the main window reads them.
const UserKey kUserKeys[] = {
    {"当前行", &UserSettings::StartRow, false},
    {"可用资金", &UserSettings::AvailableCash, false},
    {"股票代码", &UserSettings::StockCode, true},
    {"周期", &UserSettings::Period, true},
    {"买入费率", &UserSettings::BuyFee, true},
    {"卖出费率", &UserSettings::SellFee, true},
    {"划线工具", &UserSettings::DrawingTools, true},
    {"初始资金", &UserSettings::InitialCapital, true},
    {"播放速度", &UserSettings::PlaySpeed, true},
    {"T+1交易", &UserSettings::RuleTPlusOne, true},
    {"印花税", &UserSettings::RuleStampDuty, true},
    {"印花税率", &UserSettings::StampDutyRate, true},
    {"最低佣金", &UserSettings::RuleMinCommission, true},
    {"最低佣金额", &UserSettings::MinCommission, true},
    {"涨跌停限制", &UserSettings::RulePriceLimits, true},
};

constexpr const char* kUserNameKey = "名称";
constexpr const char* kPasswordKey = "密码";
constexpr const char* kRememberKey = "记住密码";
constexpr const char* kAccountNameKey = "账户名称";
constexpr const char* kLoginHostKey = "登录服务器地址";
constexpr const char* kLoginPortKey = "登录服务器端口";
constexpr const char* kQuoteHostKey = "行情服务器地址";
constexpr const char* kQuotePortKey = "行情服务器端口";

}  // namespace

SystemSettings ReadSystemSettings(const IniFile& ini) {
  SystemSettings s;
  s.UserName = ini.ReadString(kSystemSection, kUserNameKey, "");
  s.Password = UnscramblePassword(ini.ReadString(kSystemSection, kPasswordKey, ""));
  s.RememberPassword = ini.ReadBool(kSystemSection, kRememberKey, false);
  s.AccountName = ini.ReadString(kSystemSection, kAccountNameKey, "");
  s.LoginHost = ini.ReadString(kSystemSection, kLoginHostKey, s.LoginHost);
  s.LoginPort = ini.ReadInteger(kSystemSection, kLoginPortKey, s.LoginPort);
  s.QuoteHost = ini.ReadString(kSystemSection, kQuoteHostKey, s.QuoteHost);
  s.QuotePort = ini.ReadInteger(kSystemSection, kQuotePortKey, s.QuotePort);
  return s;
}

bool WriteLoginChoice(IniFile& ini, std::string_view user, std::string_view password,
                      bool remember, std::string* error) {
  IniFile next = ini;
  if (!next.WriteString(kSystemSection, kUserNameKey, user, error) ||
      !next.WriteString(kSystemSection, kPasswordKey, remember ? ScramblePassword(password) : "",
                        error) ||
      !next.WriteBool(kSystemSection, kRememberKey, remember, error))
    return false;
  ini = std::move(next);
  return true;
}

UserSettings ReadUserSettings(const IniFile& ini, std::string_view user,
                              std::string_view default_code) {
  UserSettings s;
  s.StockCode = std::string(default_code);
  for (const UserKey& k : kUserKeys) {
    std::visit(
        [&](auto member) {
          using T = std::remove_reference_t<decltype(s.*member)>;
          if constexpr (std::is_same_v<T, std::string>)
            s.*member = ini.ReadString(user, k.key, s.*member);
          else if constexpr (std::is_same_v<T, int>)
            s.*member = ini.ReadInteger(user, k.key, s.*member);
          else
            s.*member = ini.ReadBool(user, k.key, s.*member);
        },
        k.field);
  }
  return s;
}

bool WriteUserSettings(IniFile& ini, std::string_view user, const UserSettings& settings,
                       std::string* error) {
  IniFile next = ini;
  if (!next.WriteString(kSystemSection, kAccountNameKey, user, error)) return false;
  for (const UserKey& k : kUserKeys) {
    if (!k.saved) continue;
    const bool written = std::visit(
        [&](auto member) {
          using T = std::remove_reference_t<decltype(settings.*member)>;
          if constexpr (std::is_same_v<T, const std::string>)
            return next.WriteString(user, k.key, settings.*member, error);
          else if constexpr (std::is_same_v<T, const int>)
            return next.WriteInteger(user, k.key, settings.*member, error);
          else
            return next.WriteBool(user, k.key, settings.*member, error);
        },
        k.field);
    if (!written) return false;
  }
  const SystemSettings defaults;
  if (!next.HasKey(kSystemSection, kLoginHostKey))
    next.WriteString(kSystemSection, kLoginHostKey, defaults.LoginHost);
  if (!next.HasKey(kSystemSection, kLoginPortKey))
    next.WriteInteger(kSystemSection, kLoginPortKey, defaults.LoginPort);
  if (!next.HasKey(kSystemSection, kQuoteHostKey))
    next.WriteString(kSystemSection, kQuoteHostKey, defaults.QuoteHost);
  if (!next.HasKey(kSystemSection, kQuotePortKey))
    next.WriteInteger(kSystemSection, kQuotePortKey, defaults.QuotePort);
  ini = std::move(next);
  return true;
}

bool WriteInitialCapital(IniFile& ini, std::string_view user, std::string_view capital,
                         std::string* error) {
  return ini.WriteString(user, "初始资金", capital, error);
}

}  // namespace vorelin
