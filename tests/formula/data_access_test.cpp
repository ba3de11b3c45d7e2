// Bar position, date filter and lookup, index series from the index files, the host's
// quote and finance arrays, the market code and the text functions.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <limits>

#include "common/text_file.h"
#include "formula/index_file.h"
#include "formula/interpreter.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;
using Series = std::vector<double>;

bool Call(TGS& gs, const char* func, std::vector<std::string> args,
          const std::string& result = "r") {
  LibraryFunction f = gs.Functions().Lookup(func);
  EXPECT_NE(f, nullptr) << func;
  if (f == nullptr) return false;
  args.push_back("::");
  args.push_back("");
  return f(gs, result, func, args);
}

// The value text of a named constant, or "(none)".
std::string ConstantText(const TGS& gs, const std::string& name) {
  for (const auto& [constantName, text] : gs.Constants()) {
    if (constantName == name) return text;
  }
  return "(none)";
}

void SetSeries(TGS& gs, const char* name, const Series& values) {
  gs.SetRawSeries(name, values.data(), static_cast<int>(values.size()));
}

// 4 to 8 January 2010 are Monday to Friday.
const Series kJanuaryDates = {20091231, 20100104, 20100105, 20100106,
                              20100107, 20100108, 20100111};
const Series kJanuaryCloses = {9.5, 10.1, 10.456, 10.3, 10.2, 10.0, 9.9};

TGS& WithJanuary(TGS& gs) {
  SetSeries(gs, "date", kJanuaryDates);
  SetSeries(gs, "close", kJanuaryCloses);
  return gs;
}

TEST(BarPosition, OverTenBarsAndOne) {
  struct Case {
    const char* func;
    Series want;
  };
  const Case cases[] = {
      {"barstatus", {1, 0, 0, 0, 0, 0, 0, 0, 0, 2}},
      {"currbarscount", {10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
      {"totalbarscount", Series(10, 10)},
      {"islastbar", {0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.func);
    TGS gs;
    SetSeries(gs, "close", Series(10, 5));
    ASSERT_TRUE(Call(gs, c.func, {}));
    EXPECT_EQ(Values(gs.FindSeries("r")), c.want);
  }
  TGS one;
  SetSeries(one, "close", {5});
  ASSERT_TRUE(Call(one, "barstatus", {}));
  EXPECT_EQ(Values(one.FindSeries("r")), Series{2});
}

TEST(BarPosition, PlainNamesInAFormula) {
  TGS gs;
  SetSeries(gs, "close", {1, 2, 3});
  ASSERT_TRUE(gs.CompileText("A:BARSTATUS;B:ISLASTBAR+CURRBARSCOUNT;")) << gs.ErrorText();
  EXPECT_EQ(Values(gs.FindSeries("a")), (Series{1, 0, 2}));
  EXPECT_EQ(Values(gs.FindSeries("b")), (Series{3, 2, 2}));
}

TEST(Tfilt, KeepsTheBarsBetweenTheDays) {
  TGS gs;
  WithJanuary(gs);
  ASSERT_TRUE(Call(gs, "tfilt", {"c", "20100104", "0", "20100108", "0"})) << gs.ErrorText();
  EXPECT_EQ(Values(gs.FindSeries("r")), (Series{M, 10.1, 10.456, 10.3, 10.2, 10.0, M}));

  // The day arguments are truncated, the times never read.
  ASSERT_TRUE(Call(gs, "tfilt", {"c", "20100105.9", "nosuch", "20100106.9", "nosuch"}));
  EXPECT_EQ(Values(gs.FindSeries("r")), (Series{M, M, 10.456, 10.3, M, M, M}));
}

TEST(Tfilt, Failures) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    bool withDate;
    const char* message;
  };
  const Case cases[] = {
      {"X no series", {"nosuch", "1", "0", "2", "0"}, true,
       "TFILT(X,day1,time1,day2,time2)参数X:nosuch未定义!"},
      {"X a constant", {"5", "1", "0", "2", "0"}, true,
       "TFILT(X,day1,time1,day2,time2)参数X:5未定义!"},
      {"day1 a series", {"c", "c", "0", "2", "0"}, true,
       "TFILT(X,day1,time1,day2,time2)参数day1:c未定义!"},
      {"day2 unknown", {"c", "1", "0", "foo", "0"}, true,
       "TFILT(X,day1,time1,day2,time2)参数day2:foo未定义!"},
      {"no dates", {"c", "1", "0", "2", "0"}, false, "没有为TFLIT提供日期原始数据!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGS gs;
    if (c.withDate) SetSeries(gs, "date", kJanuaryDates);
    SetSeries(gs, "close", kJanuaryCloses);
    EXPECT_FALSE(Call(gs, "tfilt", c.args));
    EXPECT_EQ(gs.ErrorText(), c.message);
    EXPECT_EQ(gs.FindSeries("r"), nullptr);
  }
}

TEST(RefDate, ValueOnTheDate) {
  TGS gs;
  WithJanuary(gs);
  ASSERT_TRUE(Call(gs, "refdate", {"c", "20100105"}));
  EXPECT_EQ(ConstantText(gs, "r"), "10.456");
  ASSERT_TRUE(Call(gs, "refdate", {"c", "20100106.7"}));  // A is truncated
  EXPECT_EQ(ConstantText(gs, "r"), "10.300");

  // A series A gives its last value: the last bar's date.
  ASSERT_TRUE(Call(gs, "refdate", {"c", "date"}));
  EXPECT_EQ(ConstantText(gs, "r"), "9.900");

  // A constant X is the result whatever the date.
  ASSERT_TRUE(Call(gs, "refdate", {"7.25", "19000101"}));
  EXPECT_EQ(ConstantText(gs, "r"), "7.250");
}

TEST(RefDate, Failures) {
  TGS gs;
  WithJanuary(gs);
  EXPECT_FALSE(Call(gs, "refdate", {"c", "20100102"}));  // not a trading day
  EXPECT_EQ(gs.ErrorText(), "");
  EXPECT_EQ(ConstantText(gs, "r"), "(none)");
  EXPECT_FALSE(Call(gs, "refdate", {"foo", "20100105"}));
  EXPECT_EQ(gs.ErrorText(), "REFDATE(X,A)参数X:foo未定义!");
  EXPECT_FALSE(Call(gs, "refdate", {"c", "bar"}));
  EXPECT_EQ(gs.ErrorText(), "REFDATE(X,A)参数A:bar未定义!");

  TGS noDates;
  SetSeries(noDates, "close", kJanuaryCloses);
  EXPECT_FALSE(Call(noDates, "refdate", {"c", "20100105"}));
  EXPECT_EQ(noDates.ErrorText(), "没有Date原始数据,不能使用:REFDATE!");
}

// --- index series --------------------------------------------------------------------------

class IndexSeries : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::path(::testing::TempDir()) /
            ("index_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  // Record k: close 1000 + k, open 2000 + k, ..., so a value tells which record it came from.
  void WriteIndex(const char* name, int records, double closeBase = 1000, size_t extra = 0) {
    std::string bytes;
    for (int k = 0; k < records; ++k) {
      IndexRecord r;
      r.date = 20000101 + k;
      r.open = static_cast<int32_t>((2000 + k) * 100);
      r.high = static_cast<int32_t>((3000 + k) * 100);
      r.low = static_cast<int32_t>((500 + k) * 100);
      r.close = static_cast<int32_t>((closeBase + k) * 100 + 25);
      r.amount = 1.5f * static_cast<float>(k);
      r.volume = 100 * k + 7;
      r.advancing = static_cast<int16_t>(k % 300);
      r.declining = static_cast<int16_t>(-1);
      PutIndexRecord(r, bytes);
    }
    bytes.append(extra, '\x7f');
    ASSERT_TRUE(WriteFileAtomically(root_ / name, bytes));
  }

  void Bars(TGS& gs, int n, const char* code) {
    LoadSampleBars(gs, MakeSampleBars(n));
    gs.SetStockCode(code);
    gs.SetDataRoot(root_);
  }

  std::filesystem::path root_;
};

TEST_F(IndexSeries, AlignedFromTheEndWhateverTheDates) {
  WriteIndex("399001.bin", 1000, 1000, 5);  // a partial record at the end is no record
  TGS gs;
  Bars(gs, 300, "000001");
  const Tbian* close = gs.ResolveSeries("IndexC");
  ASSERT_NE(close, nullptr);
  ASSERT_EQ(close->count, 300);
  EXPECT_DOUBLE_EQ(close->values[299], 1999.25);  // the file's last record
  EXPECT_DOUBLE_EQ(close->values[0], 1700.25);    // record 700 on bar 0
  struct Want {
    const char* name;
    double bar0;
  };
  for (const Want& w : {Want{"indexo", 2700}, Want{"indexh", 3700}, Want{"indexl", 1200},
                        Want{"indexa", 1050}, Want{"indexv", 700.07}, Want{"indexadv", 100},
                        Want{"indexdec", -1}}) {
    SCOPED_TRACE(w.name);
    const Tbian* series = gs.FindSeries(w.name);
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->count, 300);
    EXPECT_DOUBLE_EQ(series->values[0], w.bar0);
  }
}

TEST_F(IndexSeries, TheCodeChoosesTheFile) {
  WriteIndex("399001.bin", 50, 1000);
  WriteIndex("999999.bin", 50, 5000);
  struct Case {
    const char* code;
    double lastClose;
  };
  for (const Case& c : {Case{"600000", 5049.25}, Case{"000001", 1049.25},
                        Case{"599999", 1049.25}, Case{"", 1049.25}, Case{"abc", 1049.25}}) {
    SCOPED_TRACE(c.code);
    TGS gs;
    Bars(gs, 20, c.code);
    const Tbian* close = gs.ResolveSeries("indexc");
    ASSERT_NE(close, nullptr);
    EXPECT_DOUBLE_EQ(close->Last(), c.lastClose);
  }
}

TEST_F(IndexSeries, ShortOrMissingFileLoadsNothing) {
  WriteIndex("399001.bin", 200);
  TGS gs;
  Bars(gs, 300, "000001");
  EXPECT_EQ(gs.ResolveSeries("indexc"), nullptr);
  EXPECT_FALSE(gs.CompileText("X:INDEXC;"));

  TGS shanghai;  // no 999999.bin at all
  Bars(shanghai, 10, "600001");
  EXPECT_EQ(shanghai.ResolveSeries("indexc"), nullptr);
}

TEST_F(IndexSeries, LoadedSeriesNeverOutliveTheirFile) {
  WriteIndex("399001.bin", 200);
  TGS gs;
  Bars(gs, 150, "000001");
  ASSERT_NE(gs.ResolveSeries("indexc"), nullptr);
  // More bars than records: the old values would stand beside the wrong bars.
  const SampleBars more = MakeSampleBars(100, 7);
  gs.SetRawSeries("date", more.date.data(), 100);
  const Tbian* close = gs.ResolveSeries("indexc");
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->count, 250);
  for (int i = 0; i < close->count; ++i) ASSERT_EQ(close->values[i], M) << i;
}

TEST_F(IndexSeries, InAFormula) {
  WriteIndex("399001.bin", 40);
  TGS gs;
  Bars(gs, 30, "000001");
  ASSERT_TRUE(gs.CompileText("R:C/INDEXC*100;D:INDEXADV-INDEXDEC;")) << gs.ErrorText();
  const Tbian* close = gs.FindSeries("close");
  const Tbian* r = gs.FindSeries("r");
  ASSERT_NE(r, nullptr);
  EXPECT_DOUBLE_EQ(r->values[29], close->values[29] / 1039.25 * 100);
  EXPECT_DOUBLE_EQ(gs.FindSeries("d")->values[29], 39 + 1);
}

// --- host arrays and the market code -------------------------------------------------------

TEST(HostArrays, DynaInfoAndFinance) {
  std::array<float, 65> quote{};
  std::array<float, 65> finance{};
  for (size_t k = 0; k < quote.size(); ++k) {
    quote[k] = static_cast<float>(k) + 0.5f;
    finance[k] = static_cast<float>(k) * 1000;
  }
  quote[5] = std::numeric_limits<float>::quiet_NaN();
  TGS gs;
  SetSeries(gs, "close", {1, 2});
  gs.Attach({nullptr, quote, finance, {}});
  struct Case {
    const char* name;
    const char* func;
    const char* n;
    bool ok;
    const char* text;
  };
  const Case cases[] = {
      {"dynainfo 3", "dynainfo", "3", true, "  3.500"},
      {"dynainfo truncates", "dynainfo", "64.9", true, " 64.500"},
      {"dynainfo 0", "dynainfo", "0", false, "(none)"},
      {"dynainfo 65", "dynainfo", "65", false, "(none)"},
      {"dynainfo NaN element", "dynainfo", "5", true, "-10000000.000"},
      {"finance 7", "finance", "7", true, "7000.000"},
      {"finance 1", "finance", "1", true, "1000.000"},
      {"finance -1", "finance", "-1", false, "(none)"},
      {"finance series N", "finance", "c", false, "(none)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gs.SetError("");
    const std::string result = "r" + std::to_string(&c - cases);
    EXPECT_EQ(Call(gs, c.func, {c.n}, result), c.ok);
    EXPECT_EQ(ConstantText(gs, result), c.text);
    EXPECT_EQ(gs.ErrorText(), "");
  }
}

TEST(HostArrays, MissingArraysAndArguments) {
  TGS gs;
  SetSeries(gs, "close", {1, 2});
  EXPECT_FALSE(Call(gs, "dynainfo", {"3"}));
  EXPECT_EQ(gs.ErrorText(), "没有设置DYNAINFO原始数据!");
  EXPECT_FALSE(Call(gs, "dynainfo", {"c"}));
  EXPECT_EQ(gs.ErrorText(), "DYNAINFO(N)参数N:c未定义!");
  gs.SetError("");
  EXPECT_FALSE(Call(gs, "finance", {"3"}));
  EXPECT_EQ(gs.ErrorText(), "");

  // An array shorter than the element asked for is never read past its end.
  const std::array<float, 4> shortQuote = {1, 2, 3, 4};
  gs.Attach({nullptr, shortQuote, shortQuote, {}});
  EXPECT_TRUE(Call(gs, "dynainfo", {"3"}));
  EXPECT_FALSE(Call(gs, "dynainfo", {"4"}));
  EXPECT_FALSE(Call(gs, "finance", {"10"}));
  EXPECT_FALSE(Call(gs, "lfs", {}));
  EXPECT_EQ(gs.ErrorText(), "LFS需要提供FINANCE原始数据!");
}

// The lock-in factor as written: two recursions on the turnover.
Series ReferenceLfs(const Series& vol, double capital) {
  Series out;
  double f = 0, s = 0;
  for (double v : vol) {
    const double b = v / (capital / 100);
    f = b + (1 - b) * 0.8 * f;
    s = b + (1 - b) * (12.0 / 13.0) * s;
    out.push_back(s != 0 ? (1 - f / s) * 100 : M);
  }
  return out;
}

TEST(Lfs, MatchesTheRecursionsAndNeverGivesNaN) {
  std::array<float, 8> finance{};
  finance[7] = 5e7f;
  const SampleBars bars = MakeSampleBars(500, 99);
  TGS gs;
  LoadSampleBars(gs, bars);
  gs.Attach({nullptr, {}, finance, {}});
  ASSERT_TRUE(Call(gs, "lfs", {}));
  const Series got = Values(gs.FindSeries("r"));
  const Series want = ReferenceLfs(bars.vol, finance[7]);
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) ASSERT_DOUBLE_EQ(got[i], want[i]) << i;

  // Also as a plain name.
  ASSERT_TRUE(gs.CompileText("X:LFS;")) << gs.ErrorText();
  EXPECT_EQ(Values(gs.FindSeries("x")), want);

  // No capital, or a turnover far above 100 %, would divide by zero or overflow.
  for (float capital : {0.0f, 1.0f}) {
    SCOPED_TRACE(capital);
    finance[7] = capital;
    gs.Attach({nullptr, {}, finance, {}});
    ASSERT_TRUE(Call(gs, "lfs", {}));
    for (double v : Values(gs.FindSeries("r"))) ASSERT_TRUE(std::isfinite(v));
  }
  EXPECT_EQ(Values(gs.FindSeries("r")).back(), M);
}

TEST(Lfs, NeedsVolume) {
  std::array<float, 8> finance{};
  finance[7] = 1e6f;
  TGS gs;
  SetSeries(gs, "close", {1, 2});
  gs.Attach({nullptr, {}, finance, {}});
  EXPECT_FALSE(Call(gs, "lfs", {}));
  EXPECT_EQ(gs.ErrorText(), "LFS需要提供成交量VOL的原始数据!");
}

TEST(SetCode, MarketByte) {
  TStockDirEntry stock;
  stock.SetMarket(1);
  TGS gs;
  SetSeries(gs, "close", {1});
  EXPECT_FALSE(Call(gs, "setcode", {}));
  EXPECT_EQ(gs.ErrorText(), "SETCODE 需要提供STOCKINFO数据!");
  gs.Attach({&stock, {}, {}, {}});
  ASSERT_TRUE(Call(gs, "setcode", {}));
  EXPECT_EQ(ConstantText(gs, "r"), "1");
}

// --- texts ---------------------------------------------------------------------------------

TEST(TextFunctions, Results) {
  struct Case {
    const char* name;
    const char* func;
    std::vector<std::string> args;
    const char* text;
  };
  const Case cases[] = {
      {"strcat", "strcat", {"ab", "cd"}, "abcd"},
      {"strcat quoted", "strcat", {"'A b'", "'c'"}, "'A b''c'"},
      {"strcmp same", "strcmp", {"abc", "abc"}, "1.00"},
      {"strcmp case", "strcmp", {"abc", "ABC"}, "0.00"},
      {"findstr found", "findstr", {"abc", "b"}, "1.00"},
      {"findstr absent", "findstr", {"abc", "d"}, "0.00"},
      {"findstr longer", "findstr", {"b", "abc"}, "0.00"},
      {"con2str series", "con2str", {"c", "2"}, "10.46"},
      {"con2str constant", "con2str", {"3.14159", "3"}, "3.142"},
      {"con2str series N", "con2str", {"c", "n"}, "10.4560"},
      {"con2str 0 decimals", "con2str", {"c", "0.9"}, "10"},
      {"con2str negative N", "con2str", {"c", "-3"}, "10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TGS gs;
    SetSeries(gs, "close", {9.0, 10.456});
    SetSeries(gs, "n", {1, 4});
    ASSERT_TRUE(Call(gs, c.func, c.args)) << gs.ErrorText();
    EXPECT_EQ(ConstantText(gs, "r"), c.text);
  }
}

TEST(TextFunctions, Con2StrFailures) {
  TGS gs;
  SetSeries(gs, "close", {1});
  EXPECT_FALSE(Call(gs, "con2str", {"foo", "2"}));
  EXPECT_EQ(gs.ErrorText(), "CON2STR(X,N)参数X:[foo]未定义!");
  EXPECT_FALSE(Call(gs, "con2str", {"c", "bar"}));
  EXPECT_EQ(gs.ErrorText(), "CON2STR(X,N)参数N:[bar]未定义!");
  EXPECT_EQ(ConstantText(gs, "r"), "(none)");
}

}  // namespace
}  // namespace vorelin
