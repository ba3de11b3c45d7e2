// Raw-data files (round trip, magic in any case, files that must be refused without harm)
// and the comma-separated and text-table exports, compared byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>

#include "common/format.h"
#include "common/text_encoding.h"
#include "common/text_file.h"
#include "formula/builtin_formulas.h"
#include "formula/data_files.h"
#include "formula/interpreter.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;

std::filesystem::path TestFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  auto dir = std::filesystem::path(::testing::TempDir()) /
             (std::string("data_files_") + info->test_suite_name() + "_" + info->name());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

void PutI32(int32_t v, std::string& out) { out.append(reinterpret_cast<const char*>(&v), 4); }
void PutF64(double v, std::string& out) { out.append(reinterpret_cast<const char*>(&v), 8); }

// A file built field by field, so that each test can spoil one field.
struct FileSpec {
  std::string magic = "QUENTARIX";
  std::string source = "A:C*2;";
  std::optional<int32_t> sourceLength;  // unset: the source's own length
  struct Record {
    std::string name;
    std::vector<double> values;
    std::optional<int32_t> nameLength;  // unset: the name's own length
    std::optional<int32_t> count;       // unset: the number of values
  };
  std::vector<Record> records = {{"date", {20100104, 20100105}, {}, {}},
                                 {"close", {10, 11}, {}, {}}};
  std::optional<int32_t> recordCount;
  bool previousClose = true;
};

std::string Build(const FileSpec& spec) {
  std::string out = spec.magic;
  PutI32(spec.sourceLength.value_or(static_cast<int32_t>(spec.source.size())), out);
  out += spec.source;
  PutI32(spec.recordCount.value_or(static_cast<int32_t>(spec.records.size())), out);
  for (const auto& r : spec.records) {
    PutI32(r.nameLength.value_or(static_cast<int32_t>(r.name.size())), out);
    out += r.name;
    PutI32(r.count.value_or(static_cast<int32_t>(r.values.size())), out);
    for (double v : r.values) PutF64(v, out);
  }
  if (spec.previousClose) PutF64(9.75, out);
  return out;
}

// Everything a refused load must leave as it was.
struct Snapshot {
  int bars;
  std::vector<std::string> names, source, outputs;
  std::vector<double> closes;
  double previousClose;
  std::string error;

  static Snapshot Of(TGS& gs) {
    Snapshot s{gs.BarCount(), {}, gs.SourceLines(), gs.Outputs(), Values(gs.FindSeries("close")),
               gs.PreviousClose(), gs.ErrorText()};
    for (const Tbian* series : gs.AllSeries()) s.names.push_back(series->name);
    return s;
  }
  bool operator==(const Snapshot&) const = default;
};

void RunMa(TGS& gs, int bars) {
  LoadSampleBars(gs, MakeSampleBars(bars));
  ASSERT_TRUE(gs.CompileText(BuiltinFormulas().TextOf("MA"))) << gs.ErrorText();
}

TEST(RawData, RoundTripOfAPaneRunningMa) {
  const auto dir = TestFolder();
  TGS saved;
  RunMa(saved, 120);
  saved.SetPreviousClose(12.5);
  ASSERT_TRUE(SaveRawData(saved, dir / "ma.bin"));

  TGS loaded;
  ASSERT_TRUE(LoadRawData(loaded, dir / "ma.bin")) << loaded.ErrorText();
  EXPECT_EQ(loaded.ErrorText(), "");
  std::vector<std::string> rawNames;
  for (const Tbian* series : loaded.RawSeries()) rawNames.push_back(series->name);
  EXPECT_EQ(rawNames, (std::vector<std::string>{"date", "time", "open", "high", "low", "close",
                                                "amount", "vol"}));
  for (const Tbian* series : saved.RawSeries()) {
    SCOPED_TRACE(series->name);
    EXPECT_EQ(Values(loaded.FindSeries(series->name)), Values(series));
  }
  EXPECT_EQ(loaded.SourceLines(), saved.SourceLines());
  EXPECT_EQ(loaded.Outputs(), saved.Outputs());
  EXPECT_EQ(Values(loaded.FindSeries("ma5")), Values(saved.FindSeries("ma5")));
  EXPECT_EQ(loaded.PreviousClose(), 12.5);
  EXPECT_EQ(loaded.ShortName(), "ma");
}

TEST(RawData, SaveWritesTheLayout) {
  TGS gs;
  gs.SetRawSeries("close", std::vector<double>{10, 11}.data(), 2);
  ASSERT_TRUE(gs.CompileText("A:C;\r\n{说明}B:C*2;"));
  FileSpec spec;
  spec.source = Utf8ToGbk("A:C;\r\nB:C*2;");
  spec.records = {{"close", {10, 11}, {}, {}}};
  spec.previousClose = false;
  std::string want = Build(spec) + std::string("\x00\x00\x00\x00\xd0\x12\x63\xc1", 8);
  EXPECT_EQ(RawDataBytes(gs), want);
}

TEST(RawData, SaveNeedsRawSeriesAndAWritableFile) {
  const auto dir = TestFolder();
  TGS empty;
  EXPECT_FALSE(SaveRawData(empty, dir / "empty.bin"));
  EXPECT_FALSE(std::filesystem::exists(dir / "empty.bin"));
  TGS gs;
  RunMa(gs, 10);
  EXPECT_FALSE(SaveRawData(gs, dir / "no_such_folder" / "x.bin"));
}

TEST(RawData, MagicInAnyCaseAndAMissingPreviousClose) {
  const auto dir = TestFolder();
  FileSpec spec;
  spec.magic = "quentArix";
  spec.previousClose = false;
  TGS fresh;
  ASSERT_TRUE(LoadRawDataBytes(fresh, Build(spec)));
  EXPECT_EQ(Values(fresh.FindSeries("a")), (std::vector<double>{20, 22}));
  EXPECT_EQ(fresh.PreviousClose(), M);

  spec.previousClose = true;
  ASSERT_TRUE(WriteFileAtomically(dir / "x.bin", Build(spec)));
  TGS gs;
  ASSERT_TRUE(LoadRawData(gs, dir / "x.bin"));
  EXPECT_EQ(gs.PreviousClose(), 9.75);
  EXPECT_FALSE(LoadRawData(gs, dir / "missing.bin"));
}

TEST(RawData, LoadsEvenWhenTheFormulaFails) {
  FileSpec spec;
  spec.source = "A:FOO+1;";
  TGS gs;
  EXPECT_TRUE(LoadRawDataBytes(gs, Build(spec)));
  EXPECT_EQ(gs.BarCount(), 2);
  EXPECT_NE(gs.ErrorText().find("表达式计算参数1:foo错误!"), std::string::npos) << gs.ErrorText();
}

TEST(RawData, LongAndDeepFormulas) {
  // A formula over the text limit: the bars load, the formula is refused with the message.
  FileSpec huge;
  huge.source = "A:C" + std::string(1 << 20, '+') + ";";
  TGS gs;
  EXPECT_TRUE(LoadRawDataBytes(gs, Build(huge)));
  EXPECT_EQ(gs.BarCount(), 2);
  EXPECT_EQ(gs.ErrorText(), "公式文本超过256KB,无法编译!");
  EXPECT_TRUE(gs.Program().empty());
  // 100,000 nested parentheses within the limit compile and run.
  FileSpec deep;
  deep.source = "A:" + std::string(100'000, '(') + "C" + std::string(100'000, ')') + "*2;";
  ASSERT_TRUE(LoadRawDataBytes(gs, Build(deep)));
  EXPECT_EQ(gs.ErrorText(), "");
  EXPECT_EQ(Values(gs.FindSeries("a")), (std::vector<double>{20, 22}));
}

TEST(RawData, LimitsThatStillLoad) {
  FileSpec spec;
  spec.records = {
      {std::string(kRawNameLimit, 'n'), std::vector<double>(kRawSeriesLimit + 1, 1.5), {}, {}},
      {"close",
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 3},
       {},
       {}}};
  TGS gs;
  ASSERT_TRUE(LoadRawDataBytes(gs, Build(spec)));
  EXPECT_EQ(gs.BarCount(), kRawSeriesLimit + 1);
  // NaN and infinity would poison every later computation: they load as no value.
  EXPECT_EQ(Values(gs.FindSeries("close")), (std::vector<double>{M, M, 3}));
}

TEST(RawData, BadFilesAreRefusedWithoutHarm) {
  struct Case {
    const char* name;
    void (*spoil)(FileSpec&);
  };
  const Case cases[] = {
      {"no magic", [](FileSpec& s) { s.magic = "QUENTARIY"; }},
      {"short magic", [](FileSpec& s) { s.magic = "QUENT"; s.source.clear(); s.records.clear(); }},
      {"negative source length", [](FileSpec& s) { s.sourceLength = -5; }},
      {"source past the end", [](FileSpec& s) { s.sourceLength = 1 << 30; }},
      {"negative series count", [](FileSpec& s) { s.recordCount = -2; }},
      {"more series than records", [](FileSpec& s) { s.recordCount = 3; }},
      {"negative name length", [](FileSpec& s) { s.records[0].nameLength = -1000; }},
      {"empty name", [](FileSpec& s) { s.records[0].name.clear(); }},
      {"name too long", [](FileSpec& s) { s.records[0].name = std::string(kRawNameLimit + 1, 'x'); }},
      {"name past the end", [](FileSpec& s) { s.records[1].nameLength = 1 << 20; }},
      {"negative count", [](FileSpec& s) { s.records[1].count = -3; }},
      {"count past the end", [](FileSpec& s) { s.records[1].count = 3; s.previousClose = false; }},
      {"count above the limit",
       [](FileSpec& s) { s.records[1].values.assign(kRawSeriesLimit + 2, 1.0); }},
      {"same name twice", [](FileSpec& s) { s.records[1].name = "DATE"; }},
      {"name that would not save back",
       [](FileSpec& s) { s.records[0].name = std::string(kRawNameLimit, '\xff'); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGS gs;
    RunMa(gs, 30);
    gs.SetPreviousClose(4.5);
    const Snapshot before = Snapshot::Of(gs);
    FileSpec spec;
    c.spoil(spec);
    EXPECT_FALSE(LoadRawDataBytes(gs, Build(spec)));
    EXPECT_TRUE(Snapshot::Of(gs) == before);
  }
}

TEST(RawData, APaneSharingItsParentsBarsReplacesThem) {
  TGS parent;
  RunMa(parent, 30);
  TGS pane(&parent);
  ASSERT_TRUE(LoadRawDataBytes(pane, Build(FileSpec{})));
  EXPECT_EQ(Values(parent.FindSeries("close")), (std::vector<double>{10, 11}));
  EXPECT_EQ(Values(parent.FindSeries("date")), (std::vector<double>{20100104, 20100105}));
  EXPECT_EQ(Values(pane.FindSeries("a")), (std::vector<double>{20, 22}));
}

TEST(RawData, EveryTruncationIsRefused) {
  FileSpec spec;
  const std::string whole = Build(spec);
  TGS gs;
  RunMa(gs, 20);
  const Snapshot before = Snapshot::Of(gs);
  const size_t recordsEnd = whole.size() - 8;
  for (size_t n = 0; n < recordsEnd; ++n) {
    ASSERT_FALSE(LoadRawDataBytes(gs, std::string_view(whole).substr(0, n))) << n;
  }
  EXPECT_TRUE(Snapshot::Of(gs) == before);
  // A cut inside the previous close only loses that value.
  for (size_t n = recordsEnd; n < whole.size(); ++n) {
    TGS fresh;
    ASSERT_TRUE(LoadRawDataBytes(fresh, std::string_view(whole).substr(0, n))) << n;
    EXPECT_EQ(fresh.PreviousClose(), M);
  }
}

// --- exports -------------------------------------------------------------------------------

// Two bars, a temporary and a value-less first bar, small enough to spell out.
void SmallPane(TGS& gs) {
  const std::vector<double> date = {20100104, 20100105};
  const std::vector<double> close = {10, M};
  gs.SetRawSeries("date", date.data(), 2);
  gs.SetRawSeries("close", close.data(), 2);
  ASSERT_TRUE(gs.CompileText("X:REF(C+1,1);Y:MA(X,2);")) << gs.ErrorText();
}

std::string TemporaryName(const TGS& gs) {
  for (const Tbian* series : gs.ComputedSeries()) {
    if (series->name[0] == '@') return series->name;
  }
  return "";
}

TEST(Exports, CsvOfMaHasItsColumns) {
  TGS gs;
  RunMa(gs, 80);
  const std::string text = CsvText(gs, false);
  const std::string header = text.substr(0, text.find("\r\n"));
  EXPECT_EQ(GbkToUtf8(header), "序号  ,date,time,open,high,low,close,amount,vol,ma1,ma2,ma3,ma4,ma5,");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 81);
}

TEST(Exports, CsvLayout) {
  TGS gs;
  SmallPane(gs);
  const std::string temp = TemporaryName(gs);
  ASSERT_FALSE(temp.empty());
  const std::string blank(20, ' ');
  // X = REF(C+1,1): bar 0 takes bar 0 of C+1 (11), bar 1 takes bar 0 again.
  EXPECT_EQ(GbkToUtf8(CsvText(gs, false)),
            "序号  ,date,close,x,y,\r\n"
            "1,20100104.000,10.000,              11.000," + blank + ",\r\n"
            "2,20100105.000,,              11.000,              11.000,\r\n");
  EXPECT_EQ(GbkToUtf8(CsvText(gs, true)),
            "序号  ,date,close," + temp + ",x,y,\r\n"
            "1,20100104.000,10.000,              11.000,              11.000," + blank + ",\r\n"
            "2,20100105.000,," + blank + ",              11.000,              11.000,\r\n");
}

TEST(Exports, TableLayout) {
  TGS gs;
  SmallPane(gs);
  const std::string temp = TemporaryName(gs);
  std::string program;
  for (const std::string& statement : gs.Program()) program += statement + "\r\n";
  const std::string header = Format("序号  |%20s|%20s|%20s|%20s|%20s|", "date", "close",
                                    temp.c_str(), "x", "y");
  const std::string blank(20, ' ');
  const std::string want =
      program + std::string(header.size() - 2, '-') + "\r\n" + header + "\r\n" +
      "1     |     20100104.000000|           10.000000|           11.000000|           11.000000|" +
      blank + "|\r\n" +
      "2     |     20100105.000000|    -10000000.000000|" + blank +
      "|           11.000000|           11.000000|\r\n";
  EXPECT_EQ(GbkToUtf8(TableText(gs)), want);
}

TEST(Exports, FilesAreWrittenOrReportFailure) {
  const auto dir = TestFolder();
  TGS gs;
  SmallPane(gs);
  ASSERT_TRUE(ExportCsv(gs, dir / "a.csv", true));
  ASSERT_TRUE(ExportTable(gs, dir / "a.txt"));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(dir / "a.csv", bytes));
  EXPECT_EQ(bytes, CsvText(gs, true));
  ASSERT_TRUE(ReadFileBytes(dir / "a.txt", bytes));
  EXPECT_EQ(bytes, TableText(gs));
  EXPECT_FALSE(ExportCsv(gs, dir / "missing" / "a.csv", false));
  EXPECT_FALSE(ExportTable(gs, dir / "missing" / "a.txt"));
}

}  // namespace
}  // namespace vorelin
