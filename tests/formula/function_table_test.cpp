// The function table: every name in registration order, and which have entries.
#include <gtest/gtest.h>

#include "formula/function_table.h"

namespace vorelin {
namespace {

class RecordingSink : public MessageSink {
 public:
  void Show(const std::string& text) override { shown.push_back(text); }
  bool Ask(const std::string&) override { return true; }
  std::vector<std::string> shown;
};

TEST(FunctionTable, RegistersAllNamesInOrder) {
  std::vector<std::string> names;
  StandardFunctionTable().Names(names);
  ASSERT_EQ(names.size(), 152u);
  EXPECT_EQ(names[0], "drawk");
  EXPECT_EQ(names[3], "indexa");
  EXPECT_EQ(names[32], "fromopen");
  EXPECT_EQ(names[33], "barslastcount");
  EXPECT_EQ(names[47], "expma");
  EXPECT_EQ(names[151], "setcode");
}

TEST(FunctionTable, ReservedNamesHaveNoEntry) {
  const TFunclist& table = StandardFunctionTable();
  EXPECT_TRUE(table.Contains("CLOSE"));
  EXPECT_EQ(table.Lookup("close"), nullptr);
  EXPECT_EQ(table.Lookup(""), nullptr);
  EXPECT_EQ(table.Lookup("nosuch"), nullptr);
  EXPECT_NE(table.Lookup("MA"), nullptr);
  EXPECT_NE(table.Lookup("biao"), nullptr);
  EXPECT_EQ(table.Lookup("ema"), table.Lookup("expma"));
}

TEST(FunctionTable, DuplicateShowsMessageAndKeepsFirst) {
  RecordingSink sink;
  TFunclist table(&sink);
  table.Register("Foo", nullptr);
  table.Register("FOO", StandardFunctionTable().Lookup("ma"));
  EXPECT_EQ(table.Size(), 1u);
  EXPECT_EQ(table.Lookup("foo"), nullptr);
  EXPECT_EQ(sink.shown, std::vector<std::string>{"函数表已存在:foo"});
}

TEST(FunctionTable, StopsAtCapacity) {
  TFunclist table;
  for (int i = 0; i < 400; ++i) table.Register("f" + std::to_string(i), nullptr);
  EXPECT_EQ(table.Size(), kFunctionTableCapacity);
}

}  // namespace
}  // namespace vorelin
