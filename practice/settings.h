// The trainer's settings in config.ini: the global section "系统设置" (last login, the
// remembered password, server addresses) and one section per user with the replay and fee
// settings. One table of keys drives reading, writing and defaults.
#pragma once

#include <string>
#include <string_view>

#include "common/ini_file.h"

namespace vorelin {

inline constexpr const char* kConfigFileName = "config.ini";
inline constexpr const char* kSystemSection = "系统设置";

struct SystemSettings {
  std::string UserName;           // "名称": last user name
  std::string Password;           // "密码", unscrambled; empty when not remembered
  bool RememberPassword = false;  // "记住密码"
  std::string AccountName;        // "账户名称": user of the last save
  std::string LoginHost = "127.0.0.1";
  int LoginPort = 9527;
  std::string QuoteHost = "127.0.0.1";
  int QuotePort = 7709;
};

// The boxes of the main window that the user's section fills and saves.
struct UserSettings {
  std::string StartRow = "1";        // "当前行" -> edtksh, never written
  std::string AvailableCash = "10000";  // "可用资金" -> edtcszj, never written
  std::string StockCode;             // "股票代码" -> edtgpdm
  int Period = 0;                    // "周期" -> rgperiod: 0 minute data, 1 day data
  std::string BuyFee = "3";          // "买入费率" (per mille)
  std::string SellFee = "5";         // "卖出费率" (per mille)
  bool DrawingTools = true;          // "划线工具": drawing-tool panel shown
  std::string InitialCapital = "10000";  // "初始资金" -> cbbCszj
  std::string PlaySpeed = "10";      // "播放速度" (tenths of a second)
  // The A-share rules, all off unless the trainee turns them on.
  bool RuleTPlusOne = false;           // "T+1交易"
  bool RuleStampDuty = false;          // "印花税"
  std::string StampDutyRate = "0.5";   // "印花税率" (per mille of a sale)
  bool RuleMinCommission = false;      // "最低佣金"
  std::string MinCommission = "5";     // "最低佣金额" (yuan per trade)
  bool RulePriceLimits = false;        // "涨跌停限制"
};

// Global keys; the server addresses fall back to 127.0.0.1 and the usual ports.
SystemSettings ReadSystemSettings(const IniFile& ini);

// The writers below change `ini` only when every key can be written; false (`ini` as it
// was, `error` saying which name or value) when the INI file refuses one, such as a user
// name with a line break or "[".

// What the login dialog writes whenever '记住密码' is clicked: the user name, the scrambled
// password when remembered (else empty), and the flag.
bool WriteLoginChoice(IniFile& ini, std::string_view user, std::string_view password,
                      bool remember, std::string* error = nullptr);

// The user's section in key order; `default_code` is the default of "股票代码".
UserSettings ReadUserSettings(const IniFile& ini, std::string_view user,
                              std::string_view default_code);

// What a save writes: "账户名称" in the global section and the user's saved keys. Server
// addresses missing from the file are written with their defaults so they can be edited.
bool WriteUserSettings(IniFile& ini, std::string_view user, const UserSettings& settings,
                       std::string* error = nullptr);

// "初始资金" alone, written at once whenever the capital box changes.
bool WriteInitialCapital(IniFile& ini, std::string_view user, std::string_view capital,
                         std::string* error = nullptr);

// Texts of the close confirmation.
inline constexpr const char* kCloseWithPositionQuestion = "您还未清仓,确定要退出吗？ ";
inline constexpr const char* kCloseQuestion = "确定要退出吗？ ";
inline constexpr const char* kSettingsSavedMessage = "设置保存成功！";
// The fee boxes after '恢复缺省' (not the file defaults).
inline constexpr const char* kRestoredBuyFee = "3";
inline constexpr const char* kRestoredSellFee = "1.5";

}  // namespace vorelin
