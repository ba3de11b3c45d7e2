// The interpreter: compile and run entry points, outputs, header values, errors, formula
// references, parameters, raw data, name resolution and price adjustment.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/format.h"
#include "common/text_encoding.h"
#include "formula/builtin_formulas.h"
#include "formula/colour_words.h"
#include "formula/ex_rights.h"
#include "formula/functions/library.h"
#include "formula/interpreter.h"
#include "formula/messages.h"
#include "sample_bars.h"

namespace vorelin {
namespace {

constexpr double M = kNoValue;

std::vector<double> ReferenceEma(const std::vector<double>& x, int n) {
  std::vector<double> out(x.size());
  n = std::min<int>(n, static_cast<int>(x.size()) - 1);
  out[0] = x[0];
  for (size_t i = 1; i < x.size(); ++i) out[i] = (2 * x[i] + (n - 1) * out[i - 1]) / (n + 1);
  return out;
}

class Interpreter : public ::testing::Test {
 protected:
  void SetUp() override {
    bars_ = MakeSampleBars(300);
    LoadSampleBars(gs_, bars_);
  }
  std::vector<double> Line(const std::string& name) { return Values(gs_.FindSeries(name)); }
  SampleBars bars_;
  TGS gs_;
};

TEST_F(Interpreter, MacdOutputsHeaderAndValues) {
  ASSERT_TRUE(gs_.CompileText(BuiltinFormulas().TextOf("MACD"))) << gs_.ErrorText();
  EXPECT_EQ(gs_.Outputs(),
            (std::vector<std::string>{"syline=dif::colorwhite,", "syline=dea::coloryellow,",
                                      "syline=macd::colorstick", "syline=0::linedot,colorwhite"}));
  EXPECT_EQ(gs_.ShortName(), "macd");
  EXPECT_EQ(gs_.Title(), "平滑异同平均");
  EXPECT_EQ(gs_.DrawK(), 0);
  std::vector<double> fast = ReferenceEma(bars_.close, 12);
  std::vector<double> slow = ReferenceEma(bars_.close, 26);
  std::vector<double> dif(300);
  for (int i = 0; i < 300; ++i) dif[i] = fast[i] - slow[i];
  std::vector<double> dea = ReferenceEma(dif, 9);
  EXPECT_EQ(Line("dif"), dif);
  EXPECT_EQ(Line("dea"), dea);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(Line("macd")[i], (dif[i] - dea[i]) * 2);
  EXPECT_EQ(gs_.ParamSlots()[0].name, "short");
  EXPECT_EQ(gs_.ParamSlots()[1].max, 200);
  EXPECT_EQ(gs_.ParamSlots()[2].defaultValue, 9);
}

TEST_F(Interpreter, KdjTitleComesOutLowerCase) {
  EXPECT_EQ(BuiltinFormulas().Find("KDJ")->title, "经典版KDJ");
  gs_.CompileText("TECHTITLE:=经典版KDJ;X:C;");
  EXPECT_EQ(gs_.Title(), "经典版kdj");
}

TEST_F(Interpreter, HeaderStatements) {
  ASSERT_TRUE(gs_.CompileText("DRAWK:=YES;TECHNAME:=Mine;X:C;"));
  EXPECT_EQ(gs_.DrawK(), 0);
  EXPECT_EQ(gs_.ShortName(), "mine");
  ASSERT_TRUE(gs_.CompileText("drawk:=true;X:C;"));
  EXPECT_EQ(gs_.DrawK(), 1);
  ASSERT_TRUE(gs_.CompileText("X:C;"));
  EXPECT_EQ(gs_.DrawK(), -1);
  EXPECT_EQ(gs_.ShortName(), "");
}

TEST_F(Interpreter, Parameters) {
  struct Case {
    const char* text;
    int shortValue, longValue, midValue;
  };
  const Case kCases[] = {{"", 12, 26, 9}, {"5,10", 5, 10, 9}, {"0,30", 12, 30, 9}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(gs_.CompileText(BuiltinFormulas().TextOf("MACD"), c.text)) << gs_.ErrorText();
    EXPECT_EQ(gs_.ParamSlots()[0].value, c.shortValue);
    EXPECT_EQ(gs_.ParamSlots()[1].value, c.longValue);
    EXPECT_EQ(gs_.ParamSlots()[2].value, c.midValue);
    double value = 0;
    ASSERT_TRUE(gs_.ResolveConstant("short", value));
    EXPECT_EQ(value, c.shortValue);
    EXPECT_EQ(gs_.Constants().front(),
              (std::pair<std::string, std::string>{"short", std::to_string(c.shortValue)}));
  }
  // INPUT does not clamp, and the label form behaves like the four-argument form.
  ASSERT_TRUE(gs_.CompileText("N:=INPUT(2,90,9,500);K:=INPUT(2,90,9,9,'天数:Param天');X:N+K;"));
  double value = 0;
  ASSERT_TRUE(gs_.ResolveConstant("n", value));
  EXPECT_EQ(value, 500);
  ASSERT_TRUE(gs_.ResolveConstant("x", value));
  EXPECT_EQ(value, 509);
}

TEST_F(Interpreter, MoreThanFortyParametersSurviveARerun) {
  std::string text;
  for (int i = 1; i <= 45; ++i) text += Format("P%d:=INPUT(1,100,%d,%d);", i, i, i);
  text += "X:P45+P1;";
  ASSERT_TRUE(gs_.CompileText(text, "7")) << gs_.ErrorText();
  ASSERT_TRUE(gs_.Run()) << gs_.ErrorText();
  double value = 0;
  ASSERT_TRUE(gs_.ResolveConstant("x", value));
  EXPECT_EQ(value, 46);
  EXPECT_EQ(gs_.ParamSlots()[44].name, "p45");
  EXPECT_EQ(gs_.ParamSlots()[45].name, "");
}

TEST_F(Interpreter, UnnamedCallGetsTheRunsName) {
  std::string text;
  for (int i = 0; i < 10; ++i) text += "V" + std::to_string(i) + ":=" + std::to_string(i) + ";";
  text += "MA(MA(C,5),3);";
  ASSERT_TRUE(gs_.CompileText(text)) << gs_.ErrorText();
  ASSERT_EQ(gs_.Program().size(), 12u);
  EXPECT_EQ(gs_.Outputs(), std::vector<std::string>{"syline=@TT_11::"});
  ASSERT_NE(gs_.FindSeries("@tt_11"), nullptr);
  EXPECT_EQ(gs_.FindSeries("@tt_11")->values[5], M);
  EXPECT_NE(gs_.FindSeries("@tt_11")->values[6], M);
}

TEST_F(Interpreter, DefaultColoursCycle) {
  ASSERT_TRUE(gs_.CompileText("A:C;B:C;C1:C,COLORRED;D:C;E:C;F:C;G:C;H:C;"));
  EXPECT_EQ(gs_.Outputs(),
            (std::vector<std::string>{
                "syline=a::colorwhite,", "syline=b::coloryellow,", "syline=c1::colorred",
                "syline=d::colormagenta,", "syline=e::colorgreen,", "syline=f::colorgray,",
                "syline=g::colorblue,", "syline=h::colorwhite,"}));
}

TEST_F(Interpreter, ConstantOutputs) {
  ASSERT_TRUE(gs_.CompileText("A:5;-100,LINEDOT;C;"));
  EXPECT_EQ(gs_.Outputs(),
            (std::vector<std::string>{"syline=a::colorwhite,", "syline=-100::coloryellow,linedot"}));
  EXPECT_EQ(gs_.Constants().front(), (std::pair<std::string, std::string>{"a", "5.00"}));
}

TEST_F(Interpreter, FailingFifthStatementKeepsWhatCameBefore) {
  ASSERT_FALSE(gs_.CompileText("A:C;B:O;C1:H;D:L;E:C+FOO;F:C;"));
  EXPECT_EQ(gs_.ErrorText(), "表达式计算参数2:foo错误!\r\n:\r\n第5行发现错误:E:BIAO(C,+,FOO)");
  // Compiling clears the stock texts; the host sets them again for later runs.
  gs_.SetStockName("平安银行");
  ASSERT_FALSE(gs_.Run());
  EXPECT_EQ(gs_.ErrorText(),
            "表达式计算参数2:foo错误!\r\n平安银行:\r\n第5行发现错误:E:BIAO(C,+,FOO)");
  EXPECT_EQ(gs_.Outputs().size(), 5u);
  for (const char* name : {"a", "b", "c1", "d"}) EXPECT_NE(gs_.FindSeries(name), nullptr);
  EXPECT_EQ(gs_.FindSeries("e"), nullptr);
  EXPECT_EQ(gs_.FindSeries("f"), nullptr);
}

TEST_F(Interpreter, LineReportNamesTheFileAndCompiledStatement) {
  const auto dir = std::filesystem::path(::testing::TempDir()) / "line_report";
  std::filesystem::create_directories(dir);
  const auto path = dir / "MACD.Wfc";
  {
    std::ofstream out(path, std::ios::binary);
    out << Utf8ToGbk("DIF:EMA(CLOSE,12)-EMA(CLOSE,26);\r\n名称:DIF*NOSUCH;\r\n");
  }
  ASSERT_FALSE(gs_.CompileFile(path));
  gs_.SetStockName("测试");
  ASSERT_FALSE(gs_.Run());
  EXPECT_EQ(gs_.ErrorText(), "表达式计算参数2:nosuch错误!\r\n测试:" + path.string() +
                                 "\r\n第4行发现错误:名称:BIAO(DIF,*,NOSUCH)");
  EXPECT_EQ(gs_.FileName(), path.string());
}

TEST_F(Interpreter, EntryPointErrors) {
  EXPECT_FALSE(gs_.CompileText(""));
  EXPECT_EQ(gs_.ErrorText(), "程序长度不能为空!");
  EXPECT_FALSE(gs_.CompileFile("/nonexistent/x.wfc"));
  EXPECT_EQ(gs_.ErrorText(), "公式文件: /nonexistent/x.wfc 不存在!");
  EXPECT_FALSE(gs_.CompileText("*note only"));
  EXPECT_EQ(gs_.ErrorText(), "公式长度为零或原始数据为零!");
  // A failed compile keeps the previous formula.
  ASSERT_TRUE(gs_.CompileText("A:C;"));
  EXPECT_FALSE(gs_.CompileText("A:MA(C,5"));
  EXPECT_EQ(gs_.Program(), std::vector<std::string>{"A:C"});
  TGS empty;
  EXPECT_FALSE(empty.CompileText("A:C;"));
  EXPECT_EQ(empty.ErrorText(), "公式长度为零或原始数据为零!");
  EXPECT_EQ(empty.Program(), std::vector<std::string>{"A:C"});
}

TEST_F(Interpreter, TextsOverTheLimitAreRefusedEverywhere) {
  ASSERT_TRUE(gs_.CompileText("A:C;"));
  const std::string huge = "X:C" + std::string(1 << 20, '+') + ";";
  EXPECT_FALSE(gs_.CompileText(huge));
  EXPECT_EQ(gs_.ErrorText(), "公式文本超过256KB,无法编译!");
  EXPECT_EQ(gs_.Program(), std::vector<std::string>{"A:C"});

  const auto path = std::filesystem::path(::testing::TempDir()) / "huge.wfc";
  {
    std::ofstream out(path, std::ios::binary);
    out << huge;
  }
  gs_.SetError("");
  EXPECT_FALSE(gs_.CompileFile(path));
  EXPECT_EQ(gs_.ErrorText(), "公式文本超过256KB,无法编译!");
  EXPECT_EQ(gs_.Program(), std::vector<std::string>{"A:C"});

  // The limit itself still compiles: one statement padded by a note line.
  std::string atLimit = "B:O;\r\n*";
  atLimit += std::string(kFormulaTextLimit - atLimit.size(), 'n');
  ASSERT_EQ(atLimit.size(), kFormulaTextLimit);
  EXPECT_TRUE(gs_.CompileText(atLimit)) << gs_.ErrorText();
  EXPECT_FALSE(gs_.CompileText(atLimit + "n"));
}

TEST_F(Interpreter, RightSidesWrappedInParenthesesRun) {
  const std::vector<double> ma = [&] {
    EXPECT_TRUE(gs_.CompileText("M:MA(C,5);"));
    return Line("m");
  }();
  struct Case {
    const char* name;
    const char* text;
    std::vector<double> want;
  };
  const Case kCases[] = {{"name", "A:(C);", bars_.close},
                         {"twice", "A:((C));", bars_.close},
                         {"call", "A:(MA(C,5));", ma},
                         {"number", "A:(1);X:A*C;", bars_.close}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(gs_.CompileText(c.text)) << gs_.ErrorText();
    EXPECT_EQ(Line(c.name == std::string("number") ? "x" : "a"), c.want);
  }
}

TEST_F(Interpreter, AnUnresolvedRightSideSaysWhy) {
  struct Case {
    const char* name;
    const char* text;
    const char* want;
  };
  const Case kCases[] = {
      {"quoted text", "A:'abc';", "赋值参数:'abc'未定义!\r\n:\r\n第1行发现错误:A:'abc'"},
      {"number out of range", "A:1e309;",
       "赋值参数:1e309超出数值范围!\r\n:\r\n第1行发现错误:A:1E309"},
      {"assigned, second statement", "B:=C;A:=1E400;",
       "赋值参数:1e400超出数值范围!\r\n:\r\n第2行发现错误:A:=1E400"},
      {"unknown name", "A:NOSUCH;", "赋值参数:nosuch未定义!\r\n:\r\n第1行发现错误:A:NOSUCH"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(gs_.CompileText(c.text));
    EXPECT_EQ(gs_.ErrorText(), c.want);
  }
  // Unnamed, such a statement does nothing and succeeds.
  EXPECT_TRUE(gs_.CompileText("'abc';1e309;A:C;")) << gs_.ErrorText();
}

TEST_F(Interpreter, FilesAreCompiledWithoutCommentRemoval) {
  ASSERT_TRUE(gs_.CompileText("{a:=1} b:=2;X:B;"));
  double value = 0;
  EXPECT_TRUE(gs_.ResolveConstant("b", value));
  const auto path = std::filesystem::path(::testing::TempDir()) / "comment.wfc";
  {
    std::ofstream out(path, std::ios::binary);
    out << "{a:=1} b:=2;\r\n";
  }
  ASSERT_TRUE(gs_.CompileFile(path)) << gs_.ErrorText();
  EXPECT_FALSE(gs_.ResolveConstant("b", value));
}

TEST_F(Interpreter, FormulaCalls) {
  TGS reference;
  LoadSampleBars(reference, bars_);
  ASSERT_TRUE(reference.CompileText(BuiltinFormulas().TextOf("MACD"), "5,10,3"));
  const std::vector<double> dif = Values(reference.FindSeries("dif"));

  ASSERT_TRUE(gs_.CompileText("X:\"MACD.DIF\"(5,10,3);Y:\"MACD\"(5,10,3);")) << gs_.ErrorText();
  EXPECT_EQ(Line("x"), dif);
  EXPECT_EQ(Line("y"), dif);
  ASSERT_TRUE(gs_.CompileText("N:=INPUT(1,10,5,5);X:\"MACD.DIF\"(N,10,3);")) << gs_.ErrorText();
  EXPECT_EQ(Line("x"), dif);

  EXPECT_FALSE(gs_.CompileText("N:C;X:\"MACD.DIF\"(N,10,3);"));
  EXPECT_EQ(gs_.ErrorText(), "macd(n,10,3)中的变量未定义!");
  gs_.SetStockName("股");
  EXPECT_FALSE(gs_.CompileText("X:\"NOSUCH.A\"(1);"));
  EXPECT_EQ(gs_.ErrorText(), "不存在函数:nosuch !\r\n:\r\n第1行发现错误:X:\"NOSUCH.A\"(1)");
}

TEST_F(Interpreter, ReferencesAsOperandsKeepTheirOwnValues) {
  TGS reference;
  LoadSampleBars(reference, bars_);
  ASSERT_TRUE(reference.CompileText(BuiltinFormulas().TextOf("MACD")));
  ASSERT_TRUE(gs_.CompileText("X:\"MACD.DIF\"-\"MACD.DEA\";Y:MACD.DEA;Z:\"MACD\";"))
      << gs_.ErrorText();
  const std::vector<double> dif = Values(reference.FindSeries("dif"));
  const std::vector<double> dea = Values(reference.FindSeries("dea"));
  for (int i = 0; i < 300; ++i) EXPECT_EQ(Line("x")[i], dif[i] - dea[i]);
  EXPECT_EQ(Line("y"), dea);
  EXPECT_EQ(Line("z"), dif);
}

TEST(InterpreterData, RawSeriesLimits) {
  TGS gs;
  std::vector<double> many(99'999, 1.0);
  EXPECT_FALSE(gs.SetRawSeries("close", many.data(), 99'999));
  EXPECT_EQ(gs.ErrorText(), "数据长度大于100000溢出!");
  EXPECT_EQ(gs.FindSeries("close"), nullptr);
  EXPECT_TRUE(gs.SetRawSeries("close", many.data(), 99'998));
  EXPECT_FALSE(gs.SetRawSeries("close", many.data(), 1));
  EXPECT_TRUE(gs.PushRawValue("close", 2.0, true));
  EXPECT_EQ(gs.BarCount(), 99'999);
  EXPECT_FALSE(gs.PushRawValue("close", 3.0, true));
  EXPECT_EQ(gs.BarCount(), 99'999);

  TGS pushed;
  EXPECT_TRUE(pushed.PushRawValue("vol", 7.0, false));  // an empty series takes a first value
  EXPECT_TRUE(pushed.PushRawValue("vol", 8.0, false));  // then the last one is replaced
  EXPECT_TRUE(pushed.PushRawValue("vol", 9.0, true));
  EXPECT_EQ(Values(pushed.FindSeries("VOL")), (std::vector<double>{8.0, 9.0}));
}

TEST(InterpreterData, NameResolution) {
  TGS gs;
  const std::vector<double> date = {19901219, 20240101, 20240106};
  const std::vector<double> time = {930, 1000, 1459};
  const std::vector<double> close = {1, 2, 3};
  gs.SetRawSeries("date", date.data(), 3);
  gs.SetRawSeries("close", close.data(), 3);
  EXPECT_EQ(gs.ResolveSeries("HIGH"), gs.FindSeries("close"));
  EXPECT_EQ(gs.ResolveSeries("h"), gs.FindSeries("close"));
  EXPECT_EQ(gs.ResolveSeries("C"), gs.ResolveSeries("c"));
  EXPECT_EQ(Values(gs.ResolveSeries("WEEK")), (std::vector<double>{4, 2, 7}));
  EXPECT_EQ(Values(gs.ResolveSeries("datetoday"))[0], 0);
  EXPECT_EQ(Values(gs.ResolveSeries("year")), (std::vector<double>{1990, 2024, 2024}));
  EXPECT_EQ(Values(gs.ResolveSeries("month")), (std::vector<double>{12, 1, 1}));
  EXPECT_EQ(Values(gs.ResolveSeries("day")), (std::vector<double>{19, 1, 6}));
  EXPECT_EQ(gs.ResolveSeries("fromopen"), nullptr);
  double value = 0;
  ASSERT_TRUE(gs.ResolveConstant("FROMOPEN", value));
  EXPECT_EQ(value, 240);
  gs.SetRawSeries("time", time.data(), 3);
  EXPECT_EQ(Values(gs.ResolveSeries("fromopen")), (std::vector<double>{0, 30, 329}));
  EXPECT_EQ(Values(gs.ResolveSeries("hour")), (std::vector<double>{9, 10, 14}));
  EXPECT_EQ(Values(gs.ResolveSeries("DRAWNULL")), (std::vector<double>(3, M)));
  ASSERT_TRUE(gs.ResolveConstant("period", value));
  EXPECT_EQ(value, 13);
  EXPECT_FALSE(gs.ResolveConstant("capital", value));
  const std::vector<float> finance = {0, 5e8f, 0, 0, 0, 0, 0, 2e8f};
  const std::vector<float> breadth = {0, 600, 400};
  gs.Attach({nullptr, {}, finance, breadth});
  ASSERT_TRUE(gs.ResolveConstant("capital", value));
  EXPECT_EQ(value, 2e6);
  ASSERT_TRUE(gs.ResolveConstant("totalcapital", value));
  EXPECT_EQ(value, 5e6);
  ASSERT_TRUE(gs.ResolveConstant("advance", value));
  EXPECT_EQ(value, 600);
  EXPECT_FALSE(gs.ResolveConstant("setcode", value));
  EXPECT_EQ(gs.LastValue("close"), 3);
  EXPECT_EQ(gs.LastValue("nosuch"), M);
}

TEST(InterpreterData, OperandsAndChildren) {
  TGS gs;
  const std::vector<double> close = {1, 2, 3};
  gs.SetRawSeries("close", close.data(), 3);
  gs.AddConstant("k", 1.0 / 3);
  Operand operand;
  ASSERT_TRUE(ResolveOperand(gs, "C", operand));
  EXPECT_EQ(operand.At(2), 3);
  ASSERT_TRUE(ResolveOperand(gs, "K", operand));
  EXPECT_FALSE(operand.IsSeries());
  EXPECT_EQ(operand.At(2), 0.33);
  EXPECT_FALSE(ResolveOperand(gs, "nosuch", operand));

  const std::vector<float> finance(8, 100.0f);
  gs.Attach({nullptr, {}, finance, {}});
  TGS child(&gs);
  EXPECT_EQ(child.BarCount(), 3);
  EXPECT_EQ(child.FindSeries("close"), gs.FindSeries("close"));
  double capital = 0;
  ASSERT_TRUE(child.ResolveConstant("capital", capital));
  EXPECT_EQ(capital, 1);
  ASSERT_TRUE(child.CompileText("X:C*2;"));
  EXPECT_EQ(gs.FindSeries("x"), nullptr);  // the child's variables are its own
}

TEST(InterpreterData, AssigningARawNameOverwritesIt) {
  TGS gs;
  const std::vector<double> close = {1, 2, 3};
  gs.SetRawSeries("close", close.data(), 3);
  ASSERT_TRUE(gs.CompileText("CLOSE:=C*2;"));
  EXPECT_EQ(Values(gs.FindSeries("close")), (std::vector<double>{2, 4, 6}));
}

TEST(ColourWords, Values) {
  EXPECT_EQ(ColourOf("COLORLIRED"), 0x8080FFu);
  EXPECT_EQ(ColourOf("colorred"), 0x0000FFu);
  EXPECT_EQ(ColourOf("COLORFFFF00"), 0xFFFF00u);
  EXPECT_EQ(ColourOf("COLOR00FF00"), 0x00FF00u);
  EXPECT_EQ(ColourOf("COLOR12345"), 0xFFFFFFu);
  EXPECT_EQ(ColourOf("COLORSTICK"), 0xFFFFFFu);
  EXPECT_EQ(ColourOf("COLORGGGGGG"), 0xFFFFFFu);
}

// A small ex-rights table: a 10-for-10 bonus with 1 yuan cash per 10 shares on bar 3.
class Adjustment : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::vector<double> date = {20240102, 20240103, 20240104, 20240108, 20240109};
    const std::vector<double> price = {10, 11, 12, 6, 7};
    gs_.SetRawSeries("date", date.data(), 5);
    for (const char* name : {"open", "high", "low", "close"}) {
      gs_.SetRawSeries(name, price.data(), 5);
    }
    ExRightsRecord record;
    record.flag = 1;
    record.date = 20240105;  // a holiday: the next bar (bar 3) takes it
    record.cash = 1;
    record.bonus = 10;
    gs_.SetExRights({record});
  }
  static double Forward(double v) { return static_cast<float>((static_cast<float>(v) - 0.1f) / 2.0f); }
  static double Backward(double v) { return static_cast<float>(static_cast<float>(v) * 2.0f + 0.1f); }
  TGS gs_;
};

TEST_F(Adjustment, ForwardAndBackward) {
  ASSERT_TRUE(gs_.CompileText("X:C;"));
  ASSERT_TRUE(gs_.SetAdjustment(2));
  EXPECT_EQ(Values(gs_.FindSeries("close")),
            (std::vector<double>{Forward(10), Forward(11), Forward(12), 6, 7}));
  EXPECT_EQ(Values(gs_.FindSeries("x")), Values(gs_.FindSeries("close")));
  EXPECT_EQ(Values(gs_.ResolveSeries("Q_CLOSE")), (std::vector<double>{10, 11, 12, 6, 7}));
  ASSERT_TRUE(gs_.SetAdjustment(1));
  EXPECT_EQ(Values(gs_.FindSeries("high")),
            (std::vector<double>{10, 11, 12, Backward(6), Backward(7)}));
  ASSERT_TRUE(gs_.SetAdjustment(0));
  EXPECT_EQ(Values(gs_.FindSeries("open")), (std::vector<double>{10, 11, 12, 6, 7}));
}

TEST_F(Adjustment, RecompileNeverAdjustsTwice) {
  gs_.SetAdjustment(2);  // no formula yet: the prices are adjusted all the same
  ASSERT_TRUE(gs_.CompileText("X:C;"));
  ASSERT_TRUE(gs_.CompileText("Y:C;"));
  ASSERT_TRUE(gs_.Run());
  EXPECT_EQ(Values(gs_.FindSeries("close")),
            (std::vector<double>{Forward(10), Forward(11), Forward(12), 6, 7}));
  // A bar appended later is kept among the originals as it arrived.
  gs_.PushRawValue("date", 20240110, true);
  for (const char* name : {"open", "high", "low", "close"}) gs_.PushRawValue(name, 8, true);
  ASSERT_TRUE(gs_.Run());
  EXPECT_EQ(Values(gs_.FindSeries("close")),
            (std::vector<double>{Forward(10), Forward(11), Forward(12), 6, 7, 8}));
  EXPECT_EQ(Values(gs_.ResolveSeries("q_close")), (std::vector<double>{10, 11, 12, 6, 7, 8}));
}

TEST(ExRightsRecords, RoundTripAndEnds) {
  ExRightsRecord a;
  a.flag = 1;
  a.date = 20240105;
  a.cash = 1.5f;
  a.rightsPrice = 8.25f;
  a.bonus = 3;
  a.rights = 2;
  ExRightsRecord end;
  const std::string bytes = EncodeExRights({a, a, end, a});
  ASSERT_EQ(bytes.size(), 4 * kExRightsRecordSize);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 20240105 & 0xFF);
  const std::vector<ExRightsRecord> decoded = DecodeExRights(bytes);
  ASSERT_EQ(decoded.size(), 2u);  // the flag-0 record ends the list
  EXPECT_EQ(decoded[1].date, 20240105);
  EXPECT_EQ(decoded[1].rightsPrice, 8.25f);
  EXPECT_EQ(decoded[1].rights, 2.0f);
  EXPECT_TRUE(DecodeExRights(bytes.substr(0, 20)).empty());  // a partial record is no record
}

TEST_F(Adjustment, NothingToApply) {
  TGS bare;
  EXPECT_FALSE(bare.SetAdjustment(2));
  ExRightsRecord late;
  late.flag = 1;
  late.date = 20250101;
  gs_.SetExRights({late});
  EXPECT_FALSE(gs_.SetAdjustment(2));
  EXPECT_EQ(Values(gs_.FindSeries("close")), (std::vector<double>{10, 11, 12, 6, 7}));
}

// The chart appends a bar and reruns: date parts and formula references made by the last run
// must cover the new bar too, as a fresh interpreter over all the bars computes them.
TEST(AppendedBars, DerivedSeriesAndReferencesFollow) {
  SampleBars bars = MakeSampleBars(51);
  for (size_t i = 0; i < bars.time.size(); ++i) bars.time[i] = 931 + static_cast<double>(i);
  const char* const kNames[] = {"date", "time", "open", "high", "low", "close", "amount", "vol"};
  const std::vector<double>* const kColumns[] = {&bars.date, &bars.time,  &bars.open,
                                                 &bars.high, &bars.low,   &bars.close,
                                                 &bars.amount, &bars.vol};
  TGS growing;
  for (int k = 0; k < 8; ++k) growing.SetRawSeries(kNames[k], kColumns[k]->data(), 50);
  const std::string text =
      "A:YEAR;B:MONTH;D:DAY;E:WEEK;F:DATETODAY;G:HOUR;H:MINUTE;I:FROMOPEN;"
      "R:\"MACD.DIF\";S:MACD.DEA+YEAR;T:\"MACD.MACD\"(5,10,3);";
  ASSERT_TRUE(growing.CompileText(text)) << growing.ErrorText();
  for (int k = 0; k < 8; ++k) growing.PushRawValue(kNames[k], kColumns[k]->back(), true);
  ASSERT_TRUE(growing.Run()) << growing.ErrorText();

  TGS fresh;
  LoadSampleBars(fresh, bars);
  ASSERT_TRUE(fresh.CompileText(text)) << fresh.ErrorText();
  for (const char* name : {"a", "b", "d", "e", "f", "g", "h", "i", "r", "s", "t", "year",
                           "datetoday", "minute"}) {
    SCOPED_TRACE(name);
    const std::vector<double> got = Values(growing.ResolveSeries(name));
    ASSERT_EQ(got.size(), 51u);
    EXPECT_EQ(got, Values(fresh.ResolveSeries(name)));
  }
  EXPECT_EQ(growing.FindSeries("a")->values[50], static_cast<int>(bars.date.back()) / 10000);
  EXPECT_EQ(growing.FindSeries("h")->values[50], 81);  // the minute part of 981
}

}  // namespace
}  // namespace vorelin
