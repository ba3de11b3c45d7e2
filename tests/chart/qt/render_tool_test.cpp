// vorelin-render as a user runs it: images of the sample stocks, clear failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "chart/image_files.h"

namespace vorelin {
namespace {

const std::filesystem::path kData = std::filesystem::path(__FILE__).parent_path() / "../../data/chart";

class RenderToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // ctest runs each case as its own process, in parallel: one folder per case.
    folder_ = std::filesystem::temp_directory_path() /
              ("vorelin_render_tool_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  // Exit code of the tool; its stderr goes to `errors`.
  int Run(const std::string& arguments, std::string* errors = nullptr) {
    const std::filesystem::path err = folder_ / "stderr.txt";
    const std::string command = std::string(VORELIN_BIN_DIR) + "/vorelin-render " + arguments + " 2>" + err.string();
    const int status = std::system(command.c_str());
    if (errors != nullptr) {
      std::ifstream in(err);
      std::stringstream text;
      text << in.rdbuf();
      *errors = text.str();
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::filesystem::path folder_;
};

TEST_F(RenderToolTest, DayAndMinuteSamples) {
  const std::string bmp = (folder_ / "day.bmp").string();
  ASSERT_EQ(Run("--data " + (kData / "600000.TXT").string() + " --bars 120 --size 900x600 --out " + bmp), 0);
  RgbImage image;
  ASSERT_TRUE(ReadBmpFile(bmp, &image));
  EXPECT_EQ(image.width, 900);
  EXPECT_EQ(image.height, 600);

  const std::string jpg = (folder_ / "minute.jpg").string();
  ASSERT_EQ(Run("--data " + (kData / "000001.TXT").string() + " --fs --out " + jpg), 0);
  ASSERT_TRUE(ReadJpegFile(jpg, &image));
  EXPECT_EQ(image.width, 1200);
  EXPECT_EQ(image.height, 800);
}

TEST_F(RenderToolTest, FailuresExitNonZeroWithAMessage) {
  std::string errors;
  EXPECT_EQ(Run("--data " + (folder_ / "missing.TXT").string(), &errors), 1);
  EXPECT_NE(errors.find("数据文件不存在"), std::string::npos) << errors;

  const std::filesystem::path bad = folder_ / "bad.TXT";
  std::ofstream(bad) << "not,a,bar\nnor,this\n";
  EXPECT_EQ(Run("--data " + bad.string() + " --out " + (folder_ / "x.png").string(), &errors), 1);
  EXPECT_NE(errors.find("数据格式不合法"), std::string::npos) << errors;

  EXPECT_EQ(Run("--data " + (kData / "600000.TXT").string() + " --panes NOSUCH", &errors), 1);
  EXPECT_NE(errors.find("未知指标: NOSUCH"), std::string::npos) << errors;

  // A kind it cannot write is refused before anything is written under that name.
  const std::filesystem::path gif = folder_ / "x.gif";
  EXPECT_EQ(Run("--data " + (kData / "600000.TXT").string() + " --out " + gif.string(), &errors), 2);
  EXPECT_NE(errors.find(".gif"), std::string::npos) << errors;
  EXPECT_FALSE(std::filesystem::exists(gif));

  EXPECT_EQ(Run("--size 12", &errors), 2);
  EXPECT_NE(errors.find("用法"), std::string::npos) << errors;
}

}  // namespace
}  // namespace vorelin
