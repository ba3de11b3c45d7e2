// The three compilation passes: worked examples, temporaries and their reuse, messages.
#include <gtest/gtest.h>

#include "formula/compiler.h"
#include "formula/source.h"

namespace vorelin {
namespace {

bool Dummy(TGS&, const std::string&, const std::string&, const std::vector<std::string>&) {
  return true;
}

// A table where the functions the examples use all have entries.
const TFunclist& ExampleTable() {
  static const TFunclist table = [] {
    TFunclist t;
    for (const char* name : {"close", "c"}) t.Register(name, nullptr);
    for (const char* name : {"ema", "ma", "max", "min", "stickline", "cross", "if", "ref",
                             "sum", "input", "biao"}) {
      t.Register(name, Dummy);
    }
    return t;
  }();
  return table;
}

struct Compiled {
  bool ok;
  std::vector<std::string> program;
  std::string error;
};

Compiled CompileLines(const std::vector<std::string>& lines) {
  Compiled c;
  c.ok = CompileProgram(lines, ExampleTable(), c.program, c.error);
  return c;
}

// Compiles `statement` as source line 7 after five one-statement lines.
std::vector<std::string> OnLineSeven(const std::string& statement) {
  std::vector<std::string> lines = {"A1:=1;", "A2:=2;", "A3:=3;", "A4:=4;", "A5:=5;", "",
                                    statement};
  Compiled c = CompileLines(lines);
  EXPECT_TRUE(c.ok) << c.error;
  return std::vector<std::string>(c.program.begin() + 5, c.program.end());
}

using Program = std::vector<std::string>;

TEST(Compiler, WorkedExamplesOnLineSeven) {
  struct Case {
    const char* name;
    const char* statement;
    Program want;
  };
  const Case kCases[] = {
      {"DIF", "DIF:EMA(CLOSE,SHORT)-EMA(CLOSE,LONG);",
       {"@P_7_5:=EMA(CLOSE,SHORT)", "@P_7_6:=EMA(CLOSE,LONG)", "DIF:BIAO(@P_7_5,-,@P_7_6)"}},
      {"MACD", "MACD:(DIF-DEA)*2,COLORSTICK;",
       {"@P_7_5:=BIAO(DIF,-,DEA)", "MACD:BIAO(@P_7_5,*,2),COLORSTICK"}},
      {"STICKLINE", "STICKLINE(C>A,3.3,4,2,0),COLORGREEN,LINETHICK2;",
       {"@T_7_5:=BIAO(C,>,A)", "STICKLINE(@T_7_5,3.3,4,2,0),COLORGREEN,LINETHICK2"}},
      {"yellow light", "黄灯观望:C>=B AND C<=A,COLORYELLOW;",
       {"@L_7_6:=BIAO(C,<=,A);", "@L_7_7:=BIAO(C,>=,B);",
        "黄灯观望:BIAO(@L_7_7,&,@L_7_6),COLORYELLOW"}},
      {"MA1", "MA1:MA(CLOSE,M1);", {"MA1:MA(CLOSE,M1)"}},
      {"lower case and blanks", "x := ma( c , 5 )", {"X:=MA(C,5)"}},
      {"group alone", "X:(A)", {"X:A"}},
      {"unnamed equality", "C=O", {"BIAO(C,=,O)"}},
      {"unnamed greater", "C>O", {"BIAO(C,>,O)"}},
      {"named equality", "X:C=O", {"X:BIAO(C,=,O)"}},
      {"negative literal", "A:-5", {"A:-5"}},
      {"leading minus", "A:-B", {"A:BIAO(0,-,B)"}},
      {"precedence + *", "X:A+B*C-D",
       {"@L_7_6:=BIAO(B,*,C);", "@L_7_7:=BIAO(A,+,@L_7_6);", "X:BIAO(@L_7_7,-,D)"}},
      {"< before >", "X:A<B>C", {"@L_7_6:=BIAO(A,<,B);", "X:BIAO(@L_7_6,>,C)"}},
      {"< binds tighter", "X:A>B<C", {"@L_7_6:=BIAO(B,<,C);", "X:BIAO(A,>,@L_7_6)"}},
      {"EMA used twice", "X:EMA(C,12)+EMA(C,12)",
       {"@P_7_5:=EMA(C,12)", "X:BIAO(@P_7_5,+,@P_7_5)"}},
      {"first inner call followed by comma", "MAX(MA(C,5),MA(C,10))",
       {"@K_7_5:=MA(C,5)", "@P_7_6:=MA(C,10)", "MAX(@K_7_5,@P_7_6)"}},
      {"unknown name alone compiles", "X:FOO(C)", {"X:FOO(C)"}},
      {"formula reference", "X:\"MACD.DIF\"(12,26,9)", {"X:\"MACD.DIF\"(12,26,9)"}},
      {"formula reference in expression", "X:\"MACD.DIF\"(12,26,9)*2",
       {"@P_7_5:=\"MACD.DIF\"(12,26,9)", "X:BIAO(@P_7_5,*,2)"}},
      {"quoted text kept", "N:=INPUT(2,90,9,9,'天数:Param天');",
       {"N:=INPUT(2,90,9,9,'天数:Param天')"}},
      {"argument with operators, named", "X:MA(C+1,5)",
       {"@M_7_5:=BIAO(C,+,1)", "X:MA(@M_7_5,5)"}},
      {"attributes without parentheses", "0,LINEDOT,COLORWHITE", {"0,LINEDOT,COLORWHITE"}},
      {"and after parenthesis", "X:(A>B)and(C>D)",
       {"@P_7_5:=BIAO(A,>,B)", "@P_7_6:=BIAO(C,>,D)", "X:BIAO(@P_7_5,&,@P_7_6)"}},
      {"or word", "X:A or B", {"X:BIAO(A,|,B)"}},
      {"&& is &", "X:A&&B", {"X:BIAO(A,&,B)"}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(OnLineSeven(c.statement), c.want);
  }
}

TEST(Compiler, ARightSideWrappedWholeInParenthesesIsTheSameExpression) {
  struct Case {
    const char* name;
    const char* wrapped;
    const char* plain;
  };
  const Case kCases[] = {
      {"name", "A:(C)", "A:C"},
      {"twice", "A:((C))", "A:C"},
      {"call", "A:(MA(C,5))", "A:MA(C,5)"},
      {"number", "A:(1)", "A:1"},
      {"negative number", "A:(-5)", "A:-5"},
      {"operation twice wrapped", "A:((C+1))", "A:C+1"},
      {"assignment", "A:=(MA(C,5)*2)", "A:=MA(C,5)*2"},
      {"with attributes", "A:(C),COLORRED", "A:C,COLORRED"},
      {"unnamed", "((C>O))", "C>O"},
      {"formula reference", "X:(\"MACD.DIF\"(12,26,9))", "X:\"MACD.DIF\"(12,26,9)"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Compiled plain = CompileLines({c.plain});
    ASSERT_TRUE(plain.ok) << plain.error;
    EXPECT_EQ(CompileLines({c.wrapped}).program, plain.program);
  }
  // Parentheses that only look like a wrapper keep their meaning.
  EXPECT_EQ(CompileLines({"A:(C)+(O)"}).program,
            (Program{"@P_1_0:=C", "@P_1_1:=O", "A:BIAO(@P_1_0,+,@P_1_1)"}));
  EXPECT_EQ(CompileLines({"X:()"}).program, Program{"X:()"});
  EXPECT_EQ(CompileLines({"X:(C,1)"}).program, Program{"X:(C,1)"});
}

TEST(Compiler, DeepNestingCompilesWithoutRecursion) {
  constexpr int kDepth = 100'000;
  const std::string open(kDepth, '('), close(kDepth, ')');
  Compiled groups = CompileLines({"X:" + open + "C" + close + "+1;"});
  ASSERT_TRUE(groups.ok) << groups.error;
  ASSERT_EQ(groups.program.size(), static_cast<size_t>(kDepth) + 1);
  EXPECT_EQ(groups.program[0], "@P_1_0:=C");
  EXPECT_EQ(groups.program[1], "@P_1_1:=@P_1_0");
  EXPECT_EQ(groups.program.back(), "X:BIAO(@P_1_99999,+,1)");
  EXPECT_EQ(CompileLines({"X:" + open + "C" + close}).program, Program{"X:C"});

  std::string calls = "X:";
  for (int i = 0; i < kDepth; ++i) calls += "MA(";
  calls += "C" + close + "*2";
  Compiled nested = CompileLines({calls});
  ASSERT_TRUE(nested.ok) << nested.error;
  EXPECT_EQ(nested.program.size(), static_cast<size_t>(kDepth) + 1);
  EXPECT_EQ(nested.program.back(), "X:BIAO(@P_1_99999,*,2)");
}

TEST(Compiler, LongOperatorChainsKeepTheirOrder) {
  // One line of 20,000 additions reduces left to right, one temporary per operation.
  std::string sum = "X:C";
  for (int i = 1; i < 20'000; ++i) sum += "+V" + std::to_string(i);
  Compiled chain = CompileLines({sum});
  ASSERT_TRUE(chain.ok) << chain.error;
  ASSERT_EQ(chain.program.size(), 19'999u);
  EXPECT_EQ(chain.program[0], "@L_1_1:=BIAO(C,+,V1);");
  EXPECT_EQ(chain.program[1], "@L_1_2:=BIAO(@L_1_1,+,V2);");
  EXPECT_EQ(chain.program.back(), "X:BIAO(@L_1_19998,+,V19999)");
  // Mixed levels: every "*" first, then the "+" from the left, then the comparisons.
  Compiled mixed = CompileLines({"X:A<B+C*D<E+F"});
  EXPECT_EQ(mixed.program, (Program{"@L_1_1:=BIAO(C,*,D);", "@L_1_2:=BIAO(B,+,@L_1_1);",
                                    "@L_1_3:=BIAO(E,+,F);", "@L_1_4:=BIAO(A,<,@L_1_2);",
                                    "X:BIAO(@L_1_4,<,@L_1_3)"}));
}

TEST(Compiler, AReusedNameIsNotParsedAgain) {
  // ":=" at the end makes "()Z" the name of an empty right side; a later "()" reuses that
  // name, whose parentheses must not be taken apart again (they used to loop for ever).
  Compiled c = CompileLines({"()Z:=;Y:1+();"});
  ASSERT_TRUE(c.ok) << c.error;
  EXPECT_EQ(c.program, (Program{"()Z:=", "Y:BIAO(1,+,()Z)"}));
}

TEST(Compiler, MessagesCarryTheSourceLine) {
  struct Case {
    const char* name;
    const char* statement;
    const char* want;
  };
  const Case kCases[] = {
      {"parenthesis", "X:MA(C,5", "第 3 行:括号不配匹"},
      {"closing before opening", "X:)C(", "第 3 行:括号不配匹"},
      {"operator", "X:A+B+", "第 3 行:运算符不配匹!"},
      {"unknown function in expression", "X:FOO(C)*2", "第3行 函数:FOO 尚不支持!"},
      {"unknown function with operator argument", "X:FOO(C+1)", "第3行 函数:FOO 尚不支持!"},
      {"reserved name is no function", "X:CLOSE(1)*2", "第3行 函数:CLOSE 尚不支持!"},
      {"temporary fails", "X:MA(C+,5)", "第3行错误!"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Compiled compiled = CompileLines({"A:=1;", "*note", c.statement, "B:=2;"});
    EXPECT_FALSE(compiled.ok);
    EXPECT_EQ(compiled.error, c.want);
    EXPECT_EQ(compiled.program.front(), "A:=1");  // what came before stays
    EXPECT_NE(compiled.program.back(), "B:=2");   // nothing after the failure
  }
}

TEST(Compiler, LibraryNamesStillToBeBuiltAreReportedEvenAlone) {
  std::vector<std::string> program;
  std::string error;
  const TFunclist& standard = StandardFunctionTable();
  if (standard.Lookup("sma") == nullptr) {
    EXPECT_FALSE(CompileProgram({"K:SMA(RSV,M1,1);"}, standard, program, error));
    EXPECT_EQ(error, "第1行 函数:SMA 尚不支持!");
  }
  program.clear();
  EXPECT_TRUE(CompileProgram({"X:FOO(C);", "Y:CLOSE(C);"}, standard, program, error));
  EXPECT_EQ(program, (std::vector<std::string>{"X:FOO(C)", "Y:CLOSE(C)"}));
}

TEST(Compiler, LinesAndStatements) {
  EXPECT_EQ(CompileLines({"a:=1;;b:=2"}).program, Program{"A:=1"});
  EXPECT_EQ(CompileLines({"  *note", "#note", "", "a:=1;b:=2;"}).program,
            (Program{"A:=1", "B:=2"}));
  std::string line;
  for (int i = 0; i < 101; ++i) line += "A" + std::to_string(i) + ":=1;";
  Compiled many = CompileLines({line});
  ASSERT_EQ(many.program.size(), 100u);
  EXPECT_EQ(many.program.back(), "A99:=1");
}

TEST(Compiler, QuotedTextProtection) {
  // The line's first quoted text keeps its ";" and stays out of the case folding.
  EXPECT_EQ(CompileLines({"X:=INPUT(1,2,3,4,'a;b c');Y:=1"}).program,
            (Program{"X:=INPUT(1,2,3,4,'a;b c')", "Y:=1"}));
  // The AND/OR replacement reaches into quoted text.
  EXPECT_EQ(CompileLines({"X:=INPUT(1,2,3,4,'A and B')"}).program,
            Program{"X:=INPUT(1,2,3,4,'A&B')"});
  // Only the first quoted text of a line is protected from the split.
  Compiled second = CompileLines({"X:=INPUT(1,2,3,4,'a');Y:=INPUT(1,2,3,4,'b;c')"});
  EXPECT_EQ(second.program, Program{"X:=INPUT(1,2,3,4,'a')"});
  EXPECT_EQ(second.error, "第 1 行:括号不配匹");
}

TEST(Compiler, ReusesOnlyAWholeRightSide) {
  // ":=CROSS(C,O)" contains ":=C", yet (C) is not CROSS(C,O).
  Compiled cross = CompileLines({"A:=CROSS(C,O);", "Y:2*(C);"});
  ASSERT_TRUE(cross.ok) << cross.error;
  EXPECT_EQ(cross.program, (Program{"A:=CROSS(C,O)", "@P_2_1:=C", "Y:BIAO(2,*,@P_2_1)"}));
  // ":=-10" contains ":=-1".
  Compiled negative = CompileLines({"N:=-10;", "X:C*(-1);"});
  EXPECT_EQ(negative.program, (Program{"N:=-10", "@P_2_1:=-1", "X:BIAO(C,*,@P_2_1)"}));
  // A variable assigned again is not reused for its old right side.
  Compiled reassigned = CompileLines({"A:=MA(C,5);", "A:=A+1;", "X:MA(C,5)*2;"});
  EXPECT_EQ(reassigned.program.back(), "X:BIAO(@P_3_2,*,2)");
  // A whole right side is reused, attributes aside.
  Compiled same = CompileLines({"A:=MA(C,5),COLORRED;", "X:MA(C,5)*2;"});
  EXPECT_EQ(same.program.back(), "X:BIAO(A,*,2)");
}

TEST(Compiler, ExclamationEqualsIsNoNameSeparator) {
  Compiled c = CompileLines({"C!=MA(C,5);"});
  EXPECT_EQ(c.program, (Program{"@P_1_0:=MA(C,5)", "BIAO(C,!=,@P_1_0)"}));
  // "=" before the first "(" names the statement.
  EXPECT_EQ(CompileLines({"X=MA(C,5)"}).program, Program{"X=MA(C,5)"});
}

TEST(Compiler, OperatorCounting) {
  EXPECT_EQ(CountOperators(""), 0);
  EXPECT_EQ(CountOperators("-5"), 0);
  EXPECT_EQ(CountOperators("3.3"), 0);
  EXPECT_EQ(CountOperators("1E5"), 0);
  EXPECT_EQ(CountOperators("A<=B"), 1);
  EXPECT_EQ(CountOperators("A!=B"), 1);
  EXPECT_EQ(CountOperators("F(-1,-2)"), 0);
  EXPECT_EQ(CountOperators("'a+b'"), 0);
  EXPECT_EQ(CountOperators("-A"), 1);
}

TEST(Source, CommentRemoval) {
  EXPECT_EQ(RemoveComments("{a:=1} b:=2"), " b:=2");
  EXPECT_EQ(RemoveComments("a:=1;(* x *)b:=2"), "a:=1;b:=2");
  EXPECT_EQ(RemoveComments("a:=1;//x\r\nb:=2"), "a:=1;\r\nb:=2");
  EXPECT_EQ(RemoveComments("a:='{x}';{$k}"), "a:='{x}';{$k}");
  EXPECT_EQ(RemoveComments("a:=1;{open"), "a:=1;");
}

TEST(Source, Normalisation) {
  EXPECT_EQ(NormaliseLine("  x := ma( c , 5 ) ;  "), "X:=MA(C,5)");
  EXPECT_EQ(NormaliseLine("x:='a b c'"), "X:='a b c'");
  EXPECT_EQ(NormaliseLine("*note"), "");
  EXPECT_EQ(NormaliseLine("a\tb"), "A\tB");
  EXPECT_EQ(NormaliseLine("C>=B AND C<=A"), "C>=B&C<=A");
  EXPECT_EQ(NormaliseLine("(A)OR(B)"), "(A)|(B)");
}

}  // namespace
}  // namespace vorelin
