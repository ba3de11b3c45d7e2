#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "common/text_encoding.h"
#include "common/text_file.h"
#include "practice/password_scramble.h"
#include "practice/settings.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;

struct ScrambleCase {
  const char* name;
  const char* plain;
  const char* hex;
};
const ScrambleCase kScrambles[] = {
    {"ascii", "abc", "61B42F"},
    {"digits", "123456", "31BD0DE44BF6"},
    {"byte equal to the key's high byte is stored plain", "xc", "7863"},
    {"plain byte in the middle", "xcz", "786386"},
    {"third byte plain", "abL", "61B44C"},
    {"chinese password scrambles its GBK bytes", "密码", "C34FA456"},
    {"empty", "", ""},
};

TEST(PasswordScramble, KnownPasswordsRoundTrip) {
  for (const ScrambleCase& c : kScrambles) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ScramblePassword(c.plain), c.hex);
    EXPECT_EQ(UnscramblePassword(c.hex), c.plain);
  }
}

TEST(PasswordScramble, MalformedTextGivesEmptyPassword) {
  EXPECT_EQ(UnscramblePassword("6"), "");
  EXPECT_EQ(UnscramblePassword("6G"), "");
}

TEST(Settings, MissingFileGivesDefaults) {
  IniFile ini;
  ASSERT_TRUE(ini.Load(fs::temp_directory_path() / "vorelin_no_such_config.ini"));
  const UserSettings u = ReadUserSettings(ini, "张三", "600000");
  EXPECT_EQ(u.StartRow, "1");
  EXPECT_EQ(u.AvailableCash, "10000");
  EXPECT_EQ(u.StockCode, "600000");
  EXPECT_EQ(u.Period, 0);
  EXPECT_EQ(u.BuyFee, "3");
  EXPECT_EQ(u.SellFee, "5");
  EXPECT_TRUE(u.DrawingTools);
  EXPECT_EQ(u.InitialCapital, "10000");
  EXPECT_EQ(u.PlaySpeed, "10");
  const SystemSettings s = ReadSystemSettings(ini);
  EXPECT_EQ(s.UserName, "");
  EXPECT_FALSE(s.RememberPassword);
  EXPECT_EQ(s.LoginHost, "127.0.0.1");
  EXPECT_EQ(s.LoginPort, 9527);
  EXPECT_EQ(s.QuoteHost, "127.0.0.1");
  EXPECT_EQ(s.QuotePort, 7709);
}

// A user name that would open a section of its own is refused by every writer, and the
// INI text stays exactly as it was (no key of the save written half-way).
TEST(Settings, WritersRefuseUserNamesThatBreakTheFile) {
  const std::string text = "[系统设置]\r\n登录服务器地址=127.0.0.1\r\n";
  for (const std::string user : {"a\n[系统设置]\n登录服务器地址=evil", "[sec]"}) {
    SCOPED_TRACE(user);
    IniFile ini;
    ini.LoadText(text);
    std::string error;
    EXPECT_FALSE(WriteUserSettings(ini, user, UserSettings{}, &error));
    EXPECT_NE(error.find("不合法"), std::string::npos) << error;
    EXPECT_FALSE(WriteInitialCapital(ini, user, "10000", &error));
    EXPECT_EQ(ini.Text(), text);
  }
  IniFile ini;
  ini.LoadText(text);
  std::string error;
  EXPECT_FALSE(WriteLoginChoice(ini, "a\n[系统设置]\n登录服务器地址=evil", "pw", true, &error));
  EXPECT_EQ(error, "设置值不合法：名称的值不能含有换行");
  EXPECT_EQ(ini.Text(), text);
}

TEST(Settings, SaveAndLoadRoundTripEveryKey) {
  const fs::path dir = fs::temp_directory_path() / ("vorelin_settings_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path path = dir / kConfigFileName;

  IniFile ini;
  ini.LoadText("; 手工写的注释\r\n[张三]\r\n当前行=25\r\n可用资金=5000\r\n");
  UserSettings u;
  u.StartRow = "99";  // never written: the file keeps 25
  u.StockCode = "000001";
  u.Period = 1;
  u.BuyFee = "2.5";
  u.SellFee = "abc";  // saved unchanged, read back as text
  u.DrawingTools = false;
  u.InitialCapital = "100000";
  u.PlaySpeed = "3";
  ASSERT_TRUE(WriteUserSettings(ini, "张三", u));
  ASSERT_TRUE(WriteLoginChoice(ini, "张三", "pw中文", true));
  ASSERT_TRUE(ini.Save(path));

  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  const std::string text = GbkToUtf8(bytes);
  EXPECT_EQ(text.rfind("; 手工写的注释\r\n", 0), 0u) << "comment kept first";
  EXPECT_NE(text.find("[系统设置]"), std::string::npos);
  EXPECT_NE(text.find("划线工具=0\r\n"), std::string::npos) << "booleans as 0/1";
  EXPECT_EQ(bytes, Utf8ToGbk(text)) << "file is GBK";

  IniFile reread;
  ASSERT_TRUE(reread.Load(path));
  const UserSettings r = ReadUserSettings(reread, "张三", "999999");
  EXPECT_EQ(r.StartRow, "25");
  EXPECT_EQ(r.AvailableCash, "5000");
  EXPECT_EQ(r.StockCode, "000001");
  EXPECT_EQ(r.Period, 1);
  EXPECT_EQ(r.BuyFee, "2.5");
  EXPECT_EQ(r.SellFee, "abc");
  EXPECT_FALSE(r.DrawingTools);
  EXPECT_EQ(r.InitialCapital, "100000");
  EXPECT_EQ(r.PlaySpeed, "3");
  const SystemSettings s = ReadSystemSettings(reread);
  EXPECT_EQ(s.UserName, "张三");
  EXPECT_EQ(s.Password, "pw中文");
  EXPECT_TRUE(s.RememberPassword);
  EXPECT_EQ(s.AccountName, "张三");
  EXPECT_EQ(reread.ReadString(kSystemSection, "登录服务器地址", ""), "127.0.0.1");

  // Unticking '记住密码' keeps the name, empties the password and stores false.
  WriteLoginChoice(reread, "张三", "pw中文", false);
  EXPECT_EQ(reread.ReadString(kSystemSection, "密码", "x"), "");
  EXPECT_EQ(reread.ReadString(kSystemSection, "记住密码", ""), "0");
  EXPECT_EQ(reread.ReadString(kSystemSection, "名称", ""), "张三");
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vorelin
