// The help covers the whole function list, and every formula text the user is offered
// (built-ins, store examples, help examples) compiles.
#include "formula_library/function_help.h"

#include <gtest/gtest.h>

#include "common/text_file.h"
#include "formula/builtin_formulas.h"
#include "formula/compiler.h"
#include "formula/function_table.h"
#include "formula/interpreter.h"
#include "formula/source.h"
#include "formula_library/formula_store.h"
#include "formula_library/formula_test_run.h"

namespace vorelin {
namespace {

std::string CompileError(std::string_view text) {
  std::vector<std::string> program;
  std::string error;
  CompileProgram(SplitLines(RemoveComments(text)), StandardFunctionTable(), program, error);
  return error;
}

TEST(FunctionHelp, ListIsTheFunctionTableUpperCasedAndSorted) {
  const std::vector<std::string> names = FunctionListNames();
  EXPECT_EQ(names.size(), StandardFunctionTable().Size());
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_TRUE(std::find(names.begin(), names.end(), "MA") != names.end());
  EXPECT_TRUE(std::find(names.begin(), names.end(), "INDEXADV") != names.end());
}

TEST(FunctionHelp, EveryListNameHasAnEntryWithAnExampleThatCompiles) {
  for (const std::string& name : FunctionListNames()) {
    SCOPED_TRACE(name);
    const std::string entry = HelpEntryOf(name);
    ASSERT_FALSE(entry.empty()) << "no help entry";
    EXPECT_EQ(entry.rfind(name + " ", 0), 0u);
    EXPECT_FALSE(HelpSummaryOf(name).empty());
    const std::vector<std::string> examples = HelpExamples(entry);
    ASSERT_FALSE(examples.empty()) << "no example";
    for (const std::string& example : examples) EXPECT_EQ(CompileError(example), "") << example;
  }
}

TEST(FunctionHelp, EntriesEndAtTheEmptyLineAndPrefixesDoNotMatch) {
  const std::string ma = HelpEntryOf("MA");
  EXPECT_EQ(ma.find("\r\n\r\n"), std::string::npos);
  EXPECT_EQ(SplitLines(ma).size(), 3u);
  EXPECT_EQ(ma.find("MAX"), std::string::npos);
  EXPECT_EQ(HelpEntryOf("NOSUCHNAME"), "");
  EXPECT_EQ(HelpSummaryOf("MA"), "简单移动平均");
  EXPECT_FALSE(HelpEntryOf("COLORRED").empty()) << "colour words are documented too";
}

TEST(FunctionHelp, CompletionsArePrefixMatchesOfTheList) {
  const std::vector<std::string> drawing = CompletionsFor("drawt");
  EXPECT_EQ(drawing, (std::vector<std::string>{"DRAWTEXT", "DRAWTEXT_FIX"}));
  EXPECT_TRUE(CompletionsFor("").empty());
  EXPECT_TRUE(CompletionsFor("ZZZ").empty());
  for (const std::string& name : CompletionsFor("M")) EXPECT_EQ(name[0], 'M');
}

TEST(FunctionHelp, EveryHelpExampleRunsOnTheTestBars) {
  // The market index series and the market code need the chart's stock record and index
  // files; without them these fail in the run, as they would in the editor's test.
  const std::vector<std::string> needsMoreData = {"INDEXA", "INDEXADV", "INDEXDEC", "INDEXC",
                                                  "INDEXH", "INDEXL",   "INDEXO",   "INDEXV",
                                                  "SETCODE"};
  for (const std::string& name : FunctionListNames()) {
    if (std::find(needsMoreData.begin(), needsMoreData.end(), name) != needsMoreData.end())
      continue;
    for (const std::string& example : HelpExamples(HelpEntryOf(name))) {
      SCOPED_TRACE(name + ": " + example);
      TGS gs;
      LoadTestSample(gs);
      EXPECT_TRUE(gs.CompileText(example)) << gs.ErrorText();
    }
  }
}

TEST(OfferedFormulas, EveryBuiltinAndStoreExampleCompilesAndRuns) {
  for (const TFuncStr::Entry& entry : BuiltinFormulas().Entries()) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(CompileError(entry.text), "");
  }
  for (const FormulaRow& row : ExampleFormulas()) {
    SCOPED_TRACE(row.name);
    const TestRunResult run = RunFormulaTest(row.text);
    EXPECT_TRUE(run.ok) << run.error;
  }
}

}  // namespace
}  // namespace vorelin
