#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "common/data_root.h"
#include "common/file_listing.h"

namespace vorelin {
namespace {

namespace fs = std::filesystem;

TEST(FileListing, MaskMatchingIgnoresCase) {
  EXPECT_TRUE(MatchesMask("600000.TXT", "*.txt"));
  EXPECT_TRUE(MatchesMask("a.b.txt", "*.txt"));
  EXPECT_FALSE(MatchesMask("600000.TXT.bak", "*.txt"));
  EXPECT_TRUE(MatchesMask("x1.bin", "x?.bin"));
  EXPECT_FALSE(MatchesMask("x12.bin", "x?.bin"));
  EXPECT_TRUE(MatchesMask("anything", "*"));
}

TEST(FileListing, ListsWithAndWithoutSubfolders) {
  fs::path dir = fs::temp_directory_path() / "vorelin_listing_test";
  fs::remove_all(dir);
  fs::create_directories(dir / "sub");
  std::ofstream(dir / "b.TXT") << "x";
  std::ofstream(dir / "a.txt") << "x";
  std::ofstream(dir / "c.csv") << "x";
  std::ofstream(dir / "sub" / "d.txt") << "x";
  auto flat = ListFiles(dir, "*.txt", false);
  ASSERT_EQ(flat.size(), 2u);
  EXPECT_EQ(flat[0].filename(), "a.txt");
  EXPECT_EQ(ListFiles(dir, "*.txt", true).size(), 3u);
  EXPECT_TRUE(ListFiles(dir / "missing", "*", true).empty());
  fs::remove_all(dir);
}

TEST(DataRoot, OptionThenEnvironmentThenXdg) {
  setenv("VORELIN_ROOT", "/env/root", 1);
  EXPECT_EQ(ResolveDataRoot(std::string("/opt/root")), fs::path("/opt/root"));
  EXPECT_EQ(ResolveDataRoot(std::nullopt), fs::path("/env/root"));
  unsetenv("VORELIN_ROOT");
  setenv("XDG_DATA_HOME", "/xdg", 1);
  EXPECT_EQ(ResolveDataRoot(std::nullopt), fs::path("/xdg/vorelin"));
  unsetenv("XDG_DATA_HOME");
  setenv("HOME", "/home/u", 1);
  EXPECT_EQ(ResolveDataRoot(std::nullopt), fs::path("/home/u/.local/share/vorelin"));
  const char* argv[] = {"prog", "--root", "/r"};
  EXPECT_EQ(FindRootOption(3, argv), std::optional<std::string>("/r"));
}

TEST(DataRoot, StockCodesAreFileNamesNotPaths) {
  EXPECT_TRUE(IsSafeStockCode("600000"));
  EXPECT_TRUE(IsSafeStockCode("SH.600000"));
  for (const char* bad : {"", "../etc/passwd", "a/b", "a\\b", "..", "c:x"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(IsSafeStockCode(bad));
  }
  EXPECT_NE(UnsafeStockCodeMessage("../x").find("../x"), std::string::npos);
}

}  // namespace
}  // namespace vorelin
