#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/ini_file.h"
#include "common/text_encoding.h"
#include "common/text_file.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vorelin_ini_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Bytes(const fs::path& p) {
    std::string bytes;
    ReadFileBytes(p, bytes);
    return bytes;
  }
  fs::path dir_;
};

TEST_F(IniFileTest, MissingFileGivesDefaults) {
  IniFile ini;
  ASSERT_TRUE(ini.Load(dir_ / "none.ini"));
  EXPECT_EQ(ini.ReadString("系统设置", "名称", "x"), "x");
  EXPECT_EQ(ini.ReadInteger("a", "b", 7), 7);
  EXPECT_TRUE(ini.ReadBool("a", "b", true));
}

TEST_F(IniFileTest, ReadsGbkFileWithCaseInsensitiveNames) {
  std::ofstream(dir_ / "c.ini", std::ios::binary)
      << Utf8ToGbk("; 注释\r\n[系统设置]\r\n名称 = 张三 \r\nFlag=1\r\nCount=abc\r\n"
                   "Quoted=\"a b\"\r\n[Other]\r\n名称=李四\r\n");
  IniFile ini;
  ASSERT_TRUE(ini.Load(dir_ / "c.ini"));
  EXPECT_EQ(ini.ReadString("系统设置", "名称", ""), "张三");
  EXPECT_TRUE(ini.ReadBool("系统设置", "flag", false));
  EXPECT_EQ(ini.ReadInteger("系统设置", "count", 5), 5);  // not a number: the default
  EXPECT_EQ(ini.ReadString("系统设置", "quoted", ""), "a b");
  EXPECT_EQ(ini.ReadString("other", "名称", ""), "李四");
  EXPECT_FALSE(ini.HasKey("系统设置", "missing"));
}

TEST_F(IniFileTest, SaveKeepsUnknownLinesAndWritesGbk) {
  IniFile ini;
  ini.LoadText("; keep me\n[A]\nx=1\n\n# another comment\n[B]\ny=2\n");
  ini.WriteString("A", "x", "10");      // replaced in place
  ini.WriteString("A", "新键", "值");   // added at the end of its section
  ini.WriteBool("C", "z", false);       // new section at the end
  ASSERT_TRUE(ini.Save(dir_ / "c.ini"));
  EXPECT_EQ(Bytes(dir_ / "c.ini"),
            Utf8ToGbk("; keep me\r\n[A]\r\nx=10\r\n新键=值\r\n\r\n# another comment\r\n"
                      "[B]\r\ny=2\r\n[C]\r\nz=0\r\n"));
  EXPECT_FALSE(fs::exists(dir_ / "c.ini.tmp"));
}

// Names and values that would break out of their line are refused; nothing changes then,
// so a hostile user name cannot add a section or a key of its own.
TEST_F(IniFileTest, WritesThatWouldNotReadBackAreRefused) {
  auto bad_section = [](const std::string& name) {
    return "设置节名不合法：" + name + "（不能含有换行、“[”、“]”或“=”）";
  };
  auto bad_key = [](const std::string& name) {
    return "设置键名不合法：" + name + "（不能为空，不能以“;”或“#”开头，不能含有换行、“[”、“]”或“=”）";
  };
  struct Case { const char* name; std::string section, key, value, error; };
  const Case cases[] = {
      {"section with line breaks", "a\n[系统设置]\n登录服务器地址=evil", "k", "v",
       bad_section("a\n[系统设置]\n登录服务器地址=evil")},
      {"section in brackets", "[sec]", "k", "v", bad_section("[sec]")},
      {"section with =", "a=b", "k", "v", bad_section("a=b")},
      {"section with CR", "a\rb", "k", "v", bad_section("a\rb")},
      {"key with =", "A", "k=x", "v", bad_key("k=x")},
      {"key with ]", "A", "k]", "v", bad_key("k]")},
      {"key with line break", "A", "k\nx", "v", bad_key("k\nx")},
      {"empty key", "A", " ", "v", bad_key(" ")},
      {"comment key", "A", ";k", "v", bad_key(";k")},
      {"value with line break", "A", "k", "1\r\n[系统设置]\r\n登录服务器地址=evil",
       "设置值不合法：k的值不能含有换行"},
  };
  const std::string text = "[A]\r\nk=old\r\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IniFile ini;
    ini.LoadText(text);
    std::string error;
    EXPECT_FALSE(ini.WriteString(c.section, c.key, c.value, &error));
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(ini.Text(), text);
  }
  IniFile ini;
  std::string error;
  EXPECT_FALSE(ini.WriteInteger("[x]", "k", 1, &error));
  EXPECT_FALSE(ini.WriteBool("A", "=", true, &error));
  EXPECT_EQ(ini.Text(), "");
  // "=" or brackets inside a value are only text.
  ASSERT_TRUE(ini.WriteString("A", "k", "[x]=y", &error)) << error;
  IniFile back;
  back.LoadText(ini.Text());
  EXPECT_EQ(back.ReadString("A", "k", ""), "[x]=y");
}

// Names are read trimmed, so a name written with spaces around it finds its own line again
// instead of adding another one on every save.
TEST_F(IniFileTest, NamesWithSurroundingSpacesAreTheSameName) {
  IniFile ini;
  ASSERT_TRUE(ini.WriteString(" 张三 ", " 周期 ", "0"));
  ASSERT_TRUE(ini.WriteString(" 张三 ", " 周期 ", "1"));
  EXPECT_EQ(ini.Text(), "[ 张三 ]\r\n 周期 =1\r\n");
  EXPECT_EQ(ini.ReadInteger("张三", "周期", -1), 1);
}

TEST_F(IniFileTest, UnreadableOrUnwritableFilesSayWhy) {
  fs::create_directories(dir_ / "config.ini");
  IniFile ini;
  ini.LoadText("[A]\r\nk=1\r\n");
  std::string error;
  EXPECT_FALSE(ini.Load(dir_ / "config.ini", &error));
  EXPECT_EQ(error, "文件：" + (dir_ / "config.ini").string() + "是文件夹，不是文件");
  EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
  EXPECT_FALSE(ini.Save(dir_ / "config.ini", &error));
  EXPECT_EQ(error, "文件：" + (dir_ / "config.ini").string() + "是文件夹，不是文件");
}

TEST_F(IniFileTest, StaleTemporaryFileFromACrashIsHarmless) {
  IniFile ini;
  ini.WriteString("A", "k", "old");
  ASSERT_TRUE(ini.Save(dir_ / "c.ini"));
  std::ofstream(dir_ / "c.ini.tmp", std::ios::binary) << "[A]\r\nk=ha";  // half a save
  IniFile reread;
  ASSERT_TRUE(reread.Load(dir_ / "c.ini"));
  EXPECT_EQ(reread.ReadString("A", "k", ""), "old");
  reread.WriteString("A", "k", "new");
  ASSERT_TRUE(reread.Save(dir_ / "c.ini"));
  IniFile last;
  ASSERT_TRUE(last.Load(dir_ / "c.ini"));
  EXPECT_EQ(last.ReadString("A", "k", ""), "new");
}

// A process killed while saving, over and over at different moments, never leaves a file
// that is neither the old version nor the new one.
TEST_F(IniFileTest, KilledSaveLeavesAWholeFile) {
  const fs::path path = dir_ / "c.ini";
  auto version = [](char fill) {
    IniFile ini;
    ini.WriteString("设置", "值", std::string(1 << 20, fill));
    return ini;
  };
  const IniFile a = version('a'), b = version('b');
  ASSERT_TRUE(a.Save(path));
  const std::string bytes_a = Bytes(path);
  ASSERT_TRUE(b.Save(path));
  const std::string bytes_b = Bytes(path);
  for (int delay_ms : {1, 3, 7, 15}) {
    SCOPED_TRACE(delay_ms);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) (i % 2 ? a : b).Save(path);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::string now = Bytes(path);
    EXPECT_TRUE(now == bytes_a || now == bytes_b) << "size " << now.size();
  }
}

}  // namespace
}  // namespace vorelin
