// Reading only regular files, and writes that replace their targets whole or leave them alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "common/text_file.h"
#include "support/temp_folder.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;

void Put(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Get(const fs::path& path) {
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(path, bytes)) << path;
  return bytes;
}

// What is not a regular file is refused with a message, and nothing throws or waits: a
// pipe without a writer would block an ordinary open for ever.
TEST(FileReading, OnlyRegularFilesAreRead) {
  TempFolder dir;
  const fs::path folder = dir.Path() / "DayData";
  const fs::path fifo = dir.Path() / "pipe.TXT";
  const fs::path plain = dir.Path() / "plain.txt";
  fs::create_directories(folder);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  Put(plain, "x");
  struct Case { const char* name; fs::path path; std::string error; };
  const Case cases[] = {
      {"missing", dir.Path() / "none.TXT", "文件：" + (dir.Path() / "none.TXT").string() + "不存在"},
      {"below a file", plain / "a.TXT", "文件：" + (plain / "a.TXT").string() + "不存在"},
      {"folder", folder, "文件：" + folder.string() + "是文件夹，不是文件"},
      {"pipe", fifo, "文件：" + fifo.string() + "不是普通文件"},
      {"device", "/dev/null", "文件：/dev/null不是普通文件"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes = "kept", error;
    EXPECT_FALSE(ReadFileBytes(c.path, bytes, &error));
    EXPECT_EQ(bytes, "kept");
    EXPECT_EQ(error, c.error);
    std::vector<std::string> lines = {"kept"};
    error.clear();
    EXPECT_FALSE(ReadTextLines(c.path, lines, &error));
    EXPECT_EQ(lines, std::vector<std::string>{"kept"});
    EXPECT_EQ(error, c.error);
  }
}

TEST(FileReading, LinksToRegularFilesAreRead) {
  TempFolder dir;
  Put(dir.Path() / "a.txt", "one\r\ntwo");
  fs::create_symlink(dir.Path() / "a.txt", dir.Path() / "link.txt");
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines(dir.Path() / "link.txt", lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two"}));
}

TEST(AtomicWrites, AllFilesOrNone) {
  TempFolder dir;
  const fs::path data = dir.Path() / "600000.TXT";
  const fs::path blocked = dir.Path() / "winbase.dat";
  Put(data, "old");
  fs::create_directories(blocked);  // a folder where the second file belongs
  std::string error;
  EXPECT_FALSE(WriteFilesAtomically({{data, "new"}, {blocked, "dir"}}, &error));
  EXPECT_EQ(error, "文件：" + blocked.string() + "是文件夹，不是文件");
  EXPECT_EQ(Get(data), "old");
  EXPECT_FALSE(fs::exists(dir.Path() / "600000.TXT.tmp"));

  const fs::path missing_folder = dir.Path() / "none" / "a.TXT";
  EXPECT_FALSE(WriteFilesAtomically({{data, "new"}, {missing_folder, "x"}}, &error));
  EXPECT_EQ(error, "文件：" + missing_folder.string() + "无法写入");
  EXPECT_EQ(Get(data), "old");
  EXPECT_FALSE(fs::exists(dir.Path() / "600000.TXT.tmp"));

  fs::remove(blocked);
  ASSERT_TRUE(WriteFilesAtomically({{data, "new"}, {blocked, "dir"}}, &error)) << error;
  EXPECT_EQ(Get(data), "new");
  EXPECT_EQ(Get(blocked), "dir");
}

// A link left where the temporary file goes must not be written through: the file it
// points to stays as it was.
TEST(AtomicWrites, LinkAtTheTemporaryNameIsNotFollowed) {
  TempFolder dir;
  const fs::path victim = dir.Path() / "victim.txt";
  const fs::path config = dir.Path() / "config.ini";
  Put(victim, "precious");
  fs::create_symlink(victim, dir.Path() / "config.ini.tmp");
  ASSERT_TRUE(WriteFileAtomically(config, "[a]\r\n"));
  EXPECT_EQ(Get(victim), "precious");
  EXPECT_EQ(Get(config), "[a]\r\n");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(config)));
}

}  // namespace
}  // namespace vorelin
