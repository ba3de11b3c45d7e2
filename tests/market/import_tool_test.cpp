// vorelin-import as a user calls it: nothing is written unless the data file and
// winbase.dat can both be written, and a code is never cut to another stock's.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>

#include "../../tools/vorelin-import/import_run.h"
#include "common/text_file.h"
#include "market/stock_directory.h"
#include "support/temp_folder.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;

const char* const kCsv = "Date,Open,High,Low,Close,Volume\n2024-01-02,10,11,9,10.5,100\n";

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(Csv(), std::ios::binary) << kCsv;
    StockDirectory directory;
    TStockDirEntry entry;
    ASSERT_TRUE(entry.SetCode("600001"));
    entry.SetName("原名");
    entry.SetMarket(1);
    ASSERT_TRUE(directory.Upsert(entry));
    ASSERT_TRUE(directory.Save(Winbase()));
    winbase_before_ = Bytes(Winbase());
  }
  fs::path Root() const { return dir_.Path(); }
  fs::path Csv() const { return dir_.Path() / "in.csv"; }
  fs::path Winbase() const { return dir_.Path() / "winbase.dat"; }
  static std::string Bytes(const fs::path& path) {
    std::string bytes;
    ReadFileBytes(path, bytes);
    return bytes;
  }
  ImportRequest Request(const std::string& code) const {
    ImportRequest request;
    request.root = Root();
    request.code = code;
    request.csv = Csv();
    return request;
  }
  // Runs the built tool; its exit status, with stderr in `err`.
  int Tool(const std::string& args, std::string& err) const {
    const fs::path err_path = dir_.Path() / "stderr.txt";
    const std::string command = std::string(VORELIN_BIN_DIR) + "/vorelin-import --root " +
                                Root().string() + " " + args + " >/dev/null 2>" + err_path.string();
    const int status = std::system(command.c_str());
    err = Bytes(err_path);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  TempFolder dir_;
  std::string winbase_before_;
};

TEST_F(ImportTest, WritesTheDataFileAndTheDirectory) {
  ImportRequest request = Request("000002");
  request.name = "万科A";
  ImportReport report;
  std::string error;
  ASSERT_TRUE(RunImport(request, report, error)) << error;
  EXPECT_EQ(report.bars, 1u);
  EXPECT_EQ(report.target, Root() / "DayData" / "000002.TXT");
  EXPECT_EQ(Bytes(report.target), "20240102,10,11,9,10.5,1050,100\r\n");
  StockDirectory directory;
  ASSERT_TRUE(directory.Load(Winbase()));
  ASSERT_EQ(directory.Entries().size(), 2u);
  EXPECT_EQ(directory.FindByCode("000002")->Name(), "万科A");
  EXPECT_EQ(directory.FindByCode("000002")->Market(), 0);
}

// Each blocked write is found before anything is written: no data file without its
// directory entry, no directory entry without its data file.
TEST_F(ImportTest, NothingIsWrittenWhenEitherFileCannotBe) {
  struct Case {
    const char* name;
    std::string code;
    std::function<void()> block;
    std::string error;
  };
  const fs::path day_file = Root() / "DayData" / "600000.TXT";
  const Case cases[] = {
      {"code longer than six", "6000011", [] {},
       "股票代码不合法：6000011（代码表中的代码须为1到6位字母或数字）"},
      {"code with a dot", "60000.", [] {},
       "股票代码不合法：60000.（代码表中的代码须为1到6位字母或数字）"},
      {"CSV is a folder", "600000", [&] { fs::remove(Csv()); fs::create_directories(Csv()); },
       "文件：" + Csv().string() + "是文件夹，不是文件"},
      {"winbase.dat is a folder", "600000",
       [&] { fs::remove(Winbase()); fs::create_directories(Winbase() / "x"); },
       "文件：" + Winbase().string() + "是文件夹，不是文件"},
      {"data file is a folder", "600000", [&] { fs::create_directories(day_file); },
       "文件：" + day_file.string() + "是文件夹，不是文件"},
      {"DayData is a file", "600000",
       [&] { std::ofstream(Root() / "DayData") << "x"; },
       "无法创建文件夹：" + (Root() / "DayData").string()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.block();
    const std::string winbase = Bytes(Winbase());
    ImportReport report;
    std::string error;
    EXPECT_FALSE(RunImport(Request(c.code), report, error));
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(Bytes(Winbase()), winbase);
    EXPECT_FALSE(fs::is_regular_file(Root() / "DayData" / (c.code + ".TXT")));
    // Undo the block for the next case.
    for (const fs::path& p : {Csv(), Winbase(), Root() / "DayData"}) fs::remove_all(p);
    std::ofstream(Csv(), std::ios::binary) << kCsv;
    std::ofstream(Winbase(), std::ios::binary) << winbase_before_;
  }
}

TEST_F(ImportTest, LongCodeLeavesTheOtherStockAlone) {
  std::string err;
  EXPECT_EQ(Tool("--code 6000011 --name EVIL " + Csv().string(), err), 1);
  EXPECT_EQ(err, "vorelin-import: 股票代码不合法：6000011（代码表中的代码须为1到6位字母或数字）\n");
  EXPECT_EQ(Bytes(Winbase()), winbase_before_);
  EXPECT_FALSE(fs::exists(Root() / "DayData"));
}

// Folders where files belong end the tool with a message, not an abort (exit 134).
TEST_F(ImportTest, FoldersGiveAMessageNotAnAbort) {
  fs::create_directories(Root() / "folder.csv");
  std::string err;
  EXPECT_EQ(Tool("--code 600000 " + (Root() / "folder.csv").string(), err), 1);
  EXPECT_EQ(err, "vorelin-import: 文件：" + (Root() / "folder.csv").string() +
                     "是文件夹，不是文件\n");
  fs::remove(Winbase());
  fs::create_directories(Winbase());
  EXPECT_EQ(Tool("--code 600000 " + Csv().string(), err), 1);
  EXPECT_EQ(err, "vorelin-import: 文件：" + Winbase().string() + "是文件夹，不是文件\n");
  EXPECT_FALSE(fs::exists(Root() / "DayData" / "600000.TXT"));
}

TEST_F(ImportTest, RepeatedRowsAreNotedOnStderr) {
  std::ofstream(Csv(), std::ios::binary | std::ios::trunc)
      << kCsv << "2024-01-02,10,11,9,10.5,100\n";
  std::string err;
  EXPECT_EQ(Tool("--code 600000 " + Csv().string(), err), 0) << err;
  EXPECT_EQ(err, "vorelin-import: " + Csv().string() +
                     ": line 3: the same bar as line 2, left out\n");
}

}  // namespace
}  // namespace vorelin
