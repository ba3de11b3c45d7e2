// The built-in library: entries, order, titles and tabs, and how each text fares today.
#include <gtest/gtest.h>

#include "formula/builtin_formulas.h"
#include "formula/interpreter.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

TEST(BuiltinFormulas, NamesTabsAndTitles) {
  std::vector<std::string> all;
  BuiltinFormulas().ListNames(-1, all);
  ASSERT_EQ(all.size(), 37u);
  EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + 3),
            (std::vector<std::string>{"MACD", "MA", "VOL"}));
  std::vector<std::string> advanced;
  BuiltinFormulas().ListNames(2, advanced);
  EXPECT_EQ(advanced, (std::vector<std::string>{"BDT", "DB6", "BTX", "TWR", "EXPMA", "FS", "PBX",
                                                "LB", "FSVOL", "TEST", "TEST1"}));
  EXPECT_EQ(BuiltinFormulas().Find("SAR")->title, "抛物线指标");   // no ";" on that line
  EXPECT_EQ(BuiltinFormulas().Find("MCST")->title, "市场成本");
  EXPECT_EQ(BuiltinFormulas().Find("TEST")->title, "");
  EXPECT_EQ(BuiltinFormulas().Find("FSL")->title, "分水线");
  EXPECT_EQ(BuiltinFormulas().TextOf("macd").find("TECHNAME:=MACD;\r\nTECHTITLE:=平滑异同平均;\r\n"),
            0u);
  EXPECT_EQ(BuiltinFormulas().TextOf("XYZ"), "");
  EXPECT_NE(BuiltinFormulas().TextOf("DMI").find("\r\nHD :=HIGH-REF(HIGH,1);\r\n"),
            std::string::npos);
  EXPECT_NE(BuiltinFormulas().TextOf("FSL").find("\r\nLC:= REF(CLOSE,1); \r\n"),
            std::string::npos);
}

TEST(BuiltinFormulas, FirstRegistrationWins) {
  TFuncStr library;
  library.Register("macd", "X:C;", 2);
  EXPECT_NE(library.TextOf("MACD"), "X:C;");
  EXPECT_EQ(library.Entries().size(), 37u);
  library.Register("mine", "TECHTITLE:=自编;\r\nX:C;", 1);
  EXPECT_EQ(library.Find("MINE")->title, "自编");
}

TEST(BuiltinFormulas, UsageNotesStartWithTheirMark) {
  for (const TFuncStr::Entry& entry : BuiltinFormulas().Entries()) {
    if (entry.name != "PSY" && entry.name != "MIKE") continue;
    EXPECT_NE(entry.text.find("\r\n#"), std::string::npos) << entry.name;
  }
}

// Every text either runs or stops at a function whose family is still to come; a formula
// that runs gives the output lines its table lists.
TEST(BuiltinFormulas, EveryTextRunsOrNamesAMissingFunction) {
  const SampleBars bars = MakeSampleBars(300);
  const std::vector<std::pair<const char*, std::vector<std::string>>> kRunnable = {
      {"MACD", {"dif", "dea", "macd", "0"}},
      {"MA", {"ma1", "ma2", "ma3", "ma4", "ma5"}},
      {"VOL", {"volume", "mavol1", "mavol2"}},
      {"DMA", {"dif", "ama"}},
      {"TRIX", {"trix", "matrix"}},
      {"MTM", {"mtm", "mtmma"}},
      {"ROC", {"roc", "maroc", "-6.5", "0", "6.5"}},
      {"WR", {"wr1", "wr2"}},
      {"EXPMA", {"exp1", "exp2"}},
      {"PBX", {"pbx1", "pbx2", "pbx3", "pbx4", "pbx5", "pbx6"}},
      {"FSVOL", {"volume"}},
  };
  for (const TFuncStr::Entry& entry : BuiltinFormulas().Entries()) {
    SCOPED_TRACE(entry.name);
    TGS gs;
    LoadSampleBars(gs, bars);
    const std::vector<float> zeros(65, 0.0f);
    gs.Attach({nullptr, zeros, zeros, zeros});
    const bool ok = gs.CompileText(entry.text);
    if (!ok) {
      EXPECT_NE(gs.ErrorText().find(" 尚不支持!"), std::string::npos) << gs.ErrorText();
      continue;
    }
    for (const auto& [name, lines] : kRunnable) {
      if (entry.name != name) continue;
      std::vector<std::string> got;
      for (const std::string& output : gs.Outputs()) {
        got.push_back(output.substr(7, output.find("::") - 7));
      }
      EXPECT_EQ(got, lines);
    }
  }
}

}  // namespace
}  // namespace vorelin
