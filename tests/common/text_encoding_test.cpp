#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/text_encoding.h"
#include "common/text_file.h"

namespace vorelin {
namespace {

TEST(TextEncoding, GbkRoundTripOfTheSystemsTexts) {
  const char* texts[] = {"数据格式不合法，请检查数据文件格式！当前行：", "可用资金不足！",
                         "买卖数量有误！", "空仓运行中……", "平滑异同平均", "黄灯观望",
                         "总资产：", "ASCII only"};
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    std::string gbk = Utf8ToGbk(text);
    EXPECT_EQ(GbkToUtf8(gbk), text);
  }
  // "中" is D6 D0 in GBK.
  EXPECT_EQ(Utf8ToGbk("中"), "\xD6\xD0");
  EXPECT_EQ(GbkToUtf8("\xD6\xD0"), "中");
}

TEST(TextEncoding, FileTextIsUtf8WithOrWithoutBomElseGbk) {
  EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF" "MA1:MA(C,5);"), "MA1:MA(C,5);");
  EXPECT_EQ(DecodeFileText("均线"), "均线");
  EXPECT_EQ(DecodeFileText(Utf8ToGbk("均线:MA(C,5);")), "均线:MA(C,5);");
}

TEST(TextEncoding, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_TRUE(IsValidUtf8("中文"));
  EXPECT_FALSE(IsValidUtf8("\xD6\xD0"));        // GBK bytes
  EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));        // truncated
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));        // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));    // surrogate
}

TEST(TextFile, LinesSplitAtCrLfLfAndCr) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextFile, GbkWrittenAndReadBack) {
  auto path = std::filesystem::temp_directory_path() / "vorelin_text_file_test.txt";
  ASSERT_TRUE(WriteGbkText(path, "第一行\r\n第二行\r\n"));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, Utf8ToGbk("第一行\r\n第二行\r\n"));
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines(path, lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"第一行", "第二行"}));
  std::filesystem::remove(path);
  EXPECT_FALSE(ReadTextLines(path, lines));
  EXPECT_EQ(lines.size(), 2u);
}

// A folder where a file was expected (config.ini made a folder by hand) is a read failure,
// not an exception out of the reader.
TEST(TextFile, FolderIsNotReadable) {
  const auto dir = std::filesystem::temp_directory_path() / "vorelin_text_file_folder_test";
  std::filesystem::create_directories(dir);
  std::string bytes = "kept";
  EXPECT_FALSE(ReadFileBytes(dir, bytes));
  EXPECT_EQ(bytes, "kept");
  std::vector<std::string> lines{"kept"};
  EXPECT_FALSE(ReadTextLines(dir, lines));
  EXPECT_EQ(lines, std::vector<std::string>{"kept"});
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vorelin
