// Updating config.ini from a window: other lines survive, and a file that cannot be read or
// written is reported with its path and left as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/text_file.h"
#include "practice/config_file.h"
#include "practice/settings.h"
#include "recording_chart.h"
#include "temp_root.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;
using testing::RecordingMessages;
using testing::TempRoot;

bool WriteName(IniFile& ini, std::string* error) {
  return ini.WriteString(kSystemSection, "名称", "李四", error);
}

// "PREFIX path（reason）" with some reason.
bool IsMessageFor(const std::string& text, const std::string& prefix, const fs::path& path) {
  const std::string head = prefix + path.string() + "（";
  return text.rfind(head, 0) == 0 && text.size() > head.size() + 3 &&
         text.compare(text.size() - 3, 3, "）") == 0;
}

TEST(UpdateConfigFile, ChangesTheKeyAndKeepsEverythingElse) {
  TempRoot root;
  {
    std::ofstream out(root.path() / kConfigFileName, std::ios::binary);
    out << "; note\r\n[甲]\r\n周期=1\r\n";
  }
  RecordingMessages messages;
  ASSERT_TRUE(UpdateConfigFile(root.path(), WriteName, messages));
  EXPECT_TRUE(messages.shown.empty());
  IniFile ini;
  ASSERT_TRUE(ini.Load(root.path() / kConfigFileName));
  EXPECT_EQ(ini.ReadString(kSystemSection, "名称", ""), "李四");
  EXPECT_EQ(ini.ReadInteger("甲", "周期", 0), 1);
  EXPECT_EQ(ini.Text().rfind("; note\r\n", 0), 0u);
}

TEST(UpdateConfigFile, ReportsAFileThatCannotBeWritten) {
  TempRoot root;
  const fs::path missing_folder = root.path() / "gone";
  RecordingMessages messages;
  EXPECT_FALSE(UpdateConfigFile(missing_folder, WriteName, messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(IsMessageFor(messages.shown[0], "设置保存失败：", missing_folder / "config.ini"))
      << messages.shown[0];
  EXPECT_FALSE(fs::exists(missing_folder));
}

TEST(UpdateConfigFile, ReportsAFileThatCannotBeReadAndDoesNotOverwriteIt) {
  TempRoot root;
  const fs::path path = root.path() / kConfigFileName;
  fs::create_directory(path);  // exists, but no file can be read from it
  RecordingMessages messages;
  bool changed = false;
  EXPECT_FALSE(UpdateConfigFile(root.path(), [&](IniFile&, std::string*) { return changed = true; },
                                messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(IsMessageFor(messages.shown[0], "设置文件无法读取：", path)) << messages.shown[0];
  EXPECT_FALSE(changed);
  EXPECT_TRUE(fs::is_directory(path));
}

}  // namespace
}  // namespace vorelin
