// The vorelin-formula command: run, exports, raw-data files, check, compile and list, as a
// user calls them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "common/format.h"
#include "common/text_encoding.h"
#include "common/text_file.h"
#include "formula/builtin_formulas.h"
#include "formula/data_files.h"
#include "formula/interpreter.h"
#include "formula/series.h"
#include "formula_library/formula_store.h"
#include "market/csv_import.h"
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

// ctest runs every case as its own process, several at once (and other checkouts may run
// theirs beside): each process has a folder of its own.
struct CaseFolders {
  ~CaseFolders() {
    std::error_code ec;
    for (const auto& dir : made) std::filesystem::remove_all(dir, ec);
  }
  std::vector<std::filesystem::path> made;
};
CaseFolders case_folders;

std::filesystem::path CaseFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto dir = std::filesystem::path(::testing::TempDir()) /
                   ("vorelin_formula_tool_" + std::to_string(getpid()) + "_" + info->name());
  if (std::filesystem::create_directories(dir)) case_folders.made.push_back(dir);
  return dir;
}

Result RunTool(const std::string& args) {
  const auto errPath = CaseFolder() / "tool_stderr.txt";
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

// A replay that reveals the bars one at a time from bar K ends with exactly what one run
// over all bars prints, for every built-in and for a start before and inside the lengths.
TEST(FormulaTool, ReplayFromPrintsExactlyWhatRunPrints) {
  for (const TFuncStr::Entry& entry : BuiltinFormulas().Entries()) {
    const std::string run = "run --data " + kSample + " --builtin " + entry.name + " --exact";
    const Result whole = RunTool(run);
    for (const char* k : {"1", "40", "299"}) {
      const Result replayed = RunTool(run + " --replay-from " + k);
      EXPECT_EQ(replayed.status, whole.status) << entry.name << " from " << k;
      EXPECT_EQ(replayed.out, whole.out) << entry.name << " from " << k;
      EXPECT_EQ(replayed.err, whole.err) << entry.name << " from " << k;
    }
  }
  EXPECT_EQ(RunTool("run --data " + kSample + " --builtin MACD --replay-from 0").status, 2);
  EXPECT_EQ(RunTool("run --data " + kSample + " --builtin MACD --csv /dev/null").status, 0);
  EXPECT_EQ(RunTool("check --data " + kSample + " --replay-from 5").status, 2);
}

TEST(FormulaTool, OutputsParamsAndCsvFile) {
  const auto csv = CaseFolder() / "ma.csv";
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

  const auto dir = CaseFolder() / "gbk";
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

  const auto huge = dir / "huge.wfc";
  {
    std::ofstream out(huge, std::ios::binary);
    out << "X:C" << std::string(1 << 20, '+') << ";";
  }
  for (const std::string& args :
       {"compile --file " + huge.string(), "run --data " + kSample + " --file " + huge.string()}) {
    SCOPED_TRACE(args);
    Result refused = RunTool(args);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "公式文本超过256KB,无法编译!\n");
  }
}

std::string FileBytes(const std::filesystem::path& path) {
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(path, bytes)) << path;
  return bytes;
}

// The same pane as the tool computes it, for comparing its files byte for byte.
void LoadSample(TGS& gs, const std::string& text) {
  std::string error;
  ASSERT_TRUE(LoadDataFile(kSample, gs, error)) << error;
  AttachZeroRecords(gs);
  ASSERT_TRUE(gs.CompileText(text)) << gs.ErrorText();
}

TEST(FormulaTool, TableAndCsvAllExports) {
  const auto dir = CaseFolder() / "exports";
  std::filesystem::create_directories(dir);
  const std::string text = "A:MA(C,3);MA(C,2);";
  Result result = RunTool("run --data " + kSample + " --text '" + text + "' --table " +
                          (dir / "a.txt").string() + " --csv-all --csv " +
                          (dir / "a.csv").string());
  ASSERT_EQ(result.status, 0) << result.err;
  TGS gs;
  LoadSample(gs, text);
  EXPECT_EQ(FileBytes(dir / "a.txt"), TableText(gs));
  const std::string csv = FileBytes(dir / "a.csv");
  EXPECT_EQ(csv, CsvText(gs, true));
  EXPECT_EQ(GbkToUtf8(csv.substr(0, csv.find("\r\n"))),
            "序号  ,date,time,open,high,low,close,amount,vol,a,@tt_1,");
  Result toStdout = RunTool("run --data " + kSample + " --text '" + text + "' --csv-all");
  EXPECT_EQ(toStdout.out, csv);
  EXPECT_EQ(RunTool("run --data " + kSample + " --text '" + text + "' --table " +
                    (dir / "missing" / "a.txt").string())
                .status,
            1);
}

TEST(FormulaTool, RawDataRoundTrip) {
  const auto dir = CaseFolder() / "raw";
  std::filesystem::create_directories(dir);
  const std::string bin = (dir / "macd.bin").string();
  Result saved = RunTool("save-raw --builtin MACD --data " + kSample + " --out " + bin);
  ASSERT_EQ(saved.status, 0) << saved.err;
  TGS gs;
  LoadSample(gs, BuiltinFormulas().TextOf("MACD"));
  EXPECT_EQ(FileBytes(bin), RawDataBytes(gs));

  Result loaded = RunTool("load-raw --raw " + bin + " --exact");
  ASSERT_EQ(loaded.status, 0) << loaded.err;
  EXPECT_EQ(loaded.out, RunTool("run --builtin MACD --data " + kSample + " --exact").out);
  EXPECT_EQ(RunTool("load-raw --raw " + bin + " --outputs").out,
            RunTool("run --builtin MACD --data " + kSample + " --outputs").out);

  {
    std::ofstream out(dir / "bad.bin", std::ios::binary);
    out << "QUENTARIX\x05";  // a length cut short
  }
  Result bad = RunTool("load-raw --raw " + (dir / "bad.bin").string());
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("bad.bin"), std::string::npos) << bad.err;
  EXPECT_EQ(RunTool("save-raw --builtin MACD --data " + kSample).status, 2);  // no --out
}

// Every built-in runs over the sample day bars with the output lines its table lists, in
// order; FS, LB and FSVOL, made for the intraday view, run on day bars as well.
TEST(FormulaTool, CheckRunsEveryBuiltin) {
  const std::vector<std::string> kWant = {
      "MACD\tdif dea macd 0\tOK",
      "MA\tma1 ma2 ma3 ma4 ma5\tOK",
      "VOL\tvolume mavol1 mavol2\tOK",
      "DMA\tdif ama\tOK",
      "DMI\tpdi mdi adx adxr\tOK",
      "FSL\t买 卖 var2 var4 var7 + drawicon drawtext drawtext drawicon\tOK",
      "TRIX\ttrix matrix\tOK",
      "BRAR\tbr ar 20 400\tOK",
      "CR\tcr ma1 ma2 ma3 ma4\tOK",
      "VR\tvr mavr\tOK",
      "OBV\tobv maobv\tOK",
      "ASI\tasi masi\tOK",
      "EMV\temv maemv 0\tOK",
      "RSI\trsi1 rsi2 rsi3\tOK",
      "WR\twr1 wr2\tOK",
      "SAR\tsar a b\tOK",
      "KDJ\tk d j\tOK",
      "CCI\tcci -100 0 100\tOK",
      "ROC\troc maroc -6.5 0 6.5\tOK",
      "MTM\tmtm mtmma\tOK",
      "BOLL\tupper lower\tOK",
      "PSY\tpsy psyma 25 75\tOK",
      "MCST\tmcst\tOK",
      "BIAS\tbias1 bias2 bias3\tOK",
      "MIKE\tstor midr wekr weks mids stos\tOK",
      "WVAD\twvad mawvad\tOK",
      "BDT\tj a2 + stickbar\tOK",
      "DB6\t + partline btx\tOK",
      "BTX\tma5 ma10 ma20 ma30 ma60 + btx\tOK",
      "TWR\t + twr\tOK",
      "EXPMA\texp1 exp2\tOK",
      "FS\t均价线 收盘价\tOK",
      "PBX\tpbx1 pbx2 pbx3 pbx4 pbx5 pbx6\tOK",
      "LB\t量比\tOK",
      "FSVOL\tvolume\tOK",
      "TEST\t绿灯行 红灯停 黄灯观望 + stickline stickline stickline\tOK",
      "TEST1\t出击\tOK",
  };
  Result result = RunTool("check --data " + kSample);
  EXPECT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> rows = SplitLines(result.out);
  ASSERT_EQ(rows.size(), kWant.size()) << result.out;
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i], kWant[i]);

  Result missing = RunTool("check --data /nonexistent/600000.TXT");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("不存在"), std::string::npos) << missing.err;
}

// A folder or a device given as the data or formula file is refused with a message; reading
// one used to abort the tool (exit 134).
TEST(FormulaTool, FilesThatAreNoRegularFilesAreRefused) {
  const auto dir = std::filesystem::path(::testing::TempDir()) / "folder.TXT";
  std::filesystem::create_directories(dir);
  struct Case { const char* name; std::string args; std::string err; };
  const Case cases[] = {
      {"run over a folder", "run --builtin MACD --data " + dir.string(),
       "文件：" + dir.string() + "是文件夹，不是文件\n"},
      {"check over a folder", "check --data " + dir.string(),
       "文件：" + dir.string() + "是文件夹，不是文件\n"},
      {"check over a device", "check --data /dev/zero", "文件：/dev/zero不是普通文件\n"},
      {"compile a folder", "compile --file " + dir.string(),
       "公式文件: " + dir.string() + " 不存在!\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Result result = RunTool(c.args);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, c.err);
  }
}

// An imported file never holds more bars than the runner loads.
static_assert(kImportBarLimit == static_cast<size_t>(kRawSeriesLimit));

// A library formula runs by name as a built-in does, from the data root's store.
TEST(FormulaTool, LibraryFormulaRunsByNameFromTheDataRoot) {
  const auto root = CaseFolder() / "root";
  std::filesystem::create_directories(root);
  std::string error;
  ASSERT_TRUE(FormulaStore::CreateWithDefaults(FormulaStore::PathIn(root), error)) << error;
  {
    FormulaStore store;
    ASSERT_TRUE(store.Open(FormulaStore::PathIn(root), error));
    ASSERT_TRUE(store.Save({"BROKEN", "", "X:FOO(C)*2;", "常用", 1}, error));
  }
  Result result = RunTool("run --lib myma --root " + root.string() + " --data " + kSample);
  ASSERT_EQ(result.status, 0) << result.err;
  std::vector<std::string> rows = SplitLines(result.out);
  ASSERT_EQ(rows.size(), 301u);
  EXPECT_EQ(rows[0], "bar,ma1,ma2,ma3");

  TGS gs;
  ASSERT_TRUE(LoadDataFile(kSample, gs, error)) << error;
  AttachZeroRecords(gs);
  ASSERT_TRUE(gs.CompileText("MA1:MA(CLOSE,5);"));
  EXPECT_EQ(rows[300].substr(0, rows[300].find(',', 4)),
            "299," + Format("%.10g", gs.FindSeries("ma1")->values[299]));

  result = RunTool("compile --lib MYMA --root " + root.string());
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("MA1:MA(CLOSE,N1),COLORWHITE"), std::string::npos) << result.out;

  result = RunTool("run --lib broken --root " + root.string() + " --data " + kSample);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "第1行 函数:FOO 尚不支持!\n");

  result = RunTool("run --lib NOSUCH --root " + root.string() + " --data " + kSample);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "公式库中没有公式:NOSUCH\n");

  result = RunTool("run --lib MYMA --root " + (root / "elsewhere").string() + " --data " + kSample);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "数据库丢失!\n");

  EXPECT_EQ(RunTool("run --builtin MA --root " + root.string() + " --data " + kSample).status, 2)
      << "--root belongs to --lib";
}

}  // namespace
}  // namespace vorelin
