// The vorelin-formula command: run, compile and list, as a user calls them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/format.h"
#include "common/text_encoding.h"
#include "common/text_file.h"
#include "formula/builtin_formulas.h"
#include "formula/interpreter.h"
#include "../../tools/vorelin-formula/formula_runner.h"

namespace vorelin {
namespace {

const std::string kTool = std::string(VORELIN_BIN_DIR) + "/vorelin-formula";
const std::string kSample = std::string(VORELIN_TEST_DATA) + "/formula/sample_day.txt";

struct Result {
  int status;
  std::string out;
  std::string err;
};

Result RunTool(const std::string& args) {
  const auto errPath = std::filesystem::path(::testing::TempDir()) / "tool_stderr.txt";
  const std::string command = kTool + " " + args + " 2>" + errPath.string();
  Result result{};
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errPath, std::ios::binary);
  std::stringstream text;
  text << err.rdbuf();
  result.err = text.str();
  return result;
}

TEST(FormulaTool, RunMacdPrintsEveryBar) {
  Result result = RunTool("run --builtin MACD --data " + kSample + " --exact");
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> rows = SplitLines(result.out);
  ASSERT_EQ(rows.size(), 301u);
  EXPECT_EQ(rows[0], "bar,dif,dea,macd");

  TGS gs;
  std::string error;
  ASSERT_TRUE(LoadDataFile(kSample, gs, error)) << error;
  ASSERT_TRUE(gs.CompileText(BuiltinFormulas().TextOf("MACD")));
  for (int i : {0, 1, 150, 299}) {
    EXPECT_EQ(rows[i + 1], Format("%d,%.17g,%.17g,%.17g", i, gs.FindSeries("dif")->values[i],
                                  gs.FindSeries("dea")->values[i],
                                  gs.FindSeries("macd")->values[i]));
  }
}

TEST(FormulaTool, EmptyCellsAndInternalNamesLeftOut) {
  Result result = RunTool("run --data " + kSample + " --text 'A:MA(C,3);MA(C,2);5;'");
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> rows = SplitLines(result.out);
  EXPECT_EQ(rows[0], "bar,a");
  EXPECT_EQ(rows[1], "0,");
  EXPECT_EQ(rows[2], "1,");
  EXPECT_NE(rows[3], "2,");
}

TEST(FormulaTool, OutputsParamsAndCsvFile) {
  const auto csv = std::filesystem::path(::testing::TempDir()) / "ma.csv";
  Result result = RunTool("run --builtin MA --data " + kSample + " --params 3,4 --csv " +
                          csv.string());
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadTextLines(csv, lines));
  EXPECT_EQ(lines[0], "bar,ma1,ma2,ma3,ma4,ma5");
  EXPECT_EQ(lines[2], "1,,,,,");  // MA1 over 3 bars has its first value on bar 2
  EXPECT_NE(lines[3].substr(0, 3), "2,,");
  Result outputs = RunTool("run --builtin MACD --data " + kSample + " --outputs");
  EXPECT_EQ(outputs.out,
            "syline=dif::colorwhite,\nsyline=dea::coloryellow,\nsyline=macd::colorstick\n"
            "syline=0::linedot,colorwhite\n");
}

TEST(FormulaTool, Failures) {
  Result unknown = RunTool("run --data " + kSample + " --text 'X:NOSUCH(C);'");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.err, "nosuch(c)中的变量未定义!\n");
  Result compile = RunTool("compile --text 'X:MA(C,5'");
  EXPECT_EQ(compile.status, 1);
  EXPECT_EQ(compile.err, "第 1 行:括号不配匹\n");
  Result run = RunTool("run --data " + kSample + " --text 'X:C+FOO;'");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "表达式计算参数2:foo错误!\r\n:\r\n第1行发现错误:X:BIAO(C,+,FOO)\n");
  EXPECT_EQ(RunTool("run --text 'X:C;'").status, 2);
}

TEST(FormulaTool, CompileAndListAndGbkFiles) {
  Result compiled = RunTool("compile --text 'DIF:EMA(CLOSE,12)-EMA(CLOSE,26);'");
  EXPECT_EQ(compiled.out, "@P_1_0:=EMA(CLOSE,12)\n@P_1_1:=EMA(CLOSE,26)\nDIF:BIAO(@P_1_0,-,@P_1_1)\n");
  Result list = RunTool("list");
  std::vector<std::string> rows = SplitLines(list.out);
  ASSERT_EQ(rows.size(), 37u);
  EXPECT_EQ(rows[0], "MACD\t1\t平滑异同平均");
  EXPECT_EQ(rows[36], "TEST1\t2\t");

  const auto dir = std::filesystem::path(::testing::TempDir()) / "gbk";
  std::filesystem::create_directories(dir);
  const auto path = dir / "mine.wfc";
  {
    std::ofstream out(path, std::ios::binary);
    out << Utf8ToGbk("买线:MA(CLOSE,2);\r\n");
  }
  Result gbk = RunTool("run --data " + kSample + " --file " + path.string());
  ASSERT_EQ(gbk.status, 0) << gbk.err;
  EXPECT_EQ(SplitLines(gbk.out)[0], "bar,买线");
  Result gbkCompile = RunTool("compile --file " + path.string());
  EXPECT_EQ(gbkCompile.out, "买线:MA(CLOSE,2)\n");
}

}  // namespace
}  // namespace vorelin
