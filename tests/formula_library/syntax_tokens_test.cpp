#include "formula_library/syntax_tokens.h"

#include <gtest/gtest.h>

#include <string>

namespace vorelin {
namespace {

// The spans as "kind:text" words, so a case reads like the line it colours.
std::string Spans(std::string_view line, CommentState& state) {
  static const char* const kNames[] = {"fn", "draw", "bar", "head", "colour",
                                       "style", "num", "str", "comment", "note"};
  std::string out;
  for (const SyntaxSpan& span : HighlightLine(line, state)) {
    if (!out.empty()) out += ' ';
    out += std::string(kNames[static_cast<int>(span.kind)]) + ":" +
           std::string(line.substr(span.start, span.length));
  }
  return out;
}

TEST(SyntaxTokens, OneLineCases) {
  struct Case {
    const char* line;
    const char* want;
  };
  const Case kCases[] = {
      {"MA5:MA(C,5),COLORRED;", "fn:MA bar:C num:5 colour:COLORRED"},
      {"m:=ema(close,12)*1.5;", "fn:ema bar:close num:12 num:1.5"},
      {"MACD:(DIF-DEA)*2,COLORSTICK,LINETHICK2;", "num:2 style:COLORSTICK style:LINETHICK2"},
      {"DRAWTEXT(C>O,L,'买 入'),COLOR00FF00;", "draw:DRAWTEXT bar:C bar:O bar:L str:'买 入' colour:COLOR00FF00"},
      {"TECHNAME:=MYIND;", "head:TECHNAME"},
      {"DRAWK:=TRUE; // 显示K线", "head:DRAWK head:TRUE comment:// 显示K线"},
      {"X:C{均线}+O;", "bar:C comment:{均线} bar:O"},
      {"黄灯观望5:C AND O;", "bar:C head:AND bar:O"},
      {"@L_7_6:=MA5;", ""},
      {"  *1.指标>80 时", "note:  *1.指标>80 时"},
      {"X:\"MACD.DIF\"(12);", "str:\"MACD.DIF\" num:12"},
      {"X:COLORFFGGHH;", ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.line);
    CommentState state = CommentState::kNone;
    EXPECT_EQ(Spans(c.line, state), c.want);
    EXPECT_EQ(state, CommentState::kNone);
  }
}

TEST(SyntaxTokens, CommentsRunOverLines) {
  CommentState state = CommentState::kNone;
  EXPECT_EQ(Spans("A:C; { start", state), "bar:C comment:{ start");
  EXPECT_EQ(state, CommentState::kBrace);
  EXPECT_EQ(Spans("MA(C,5) still", state), "comment:MA(C,5) still");
  EXPECT_EQ(Spans("end } B:O;", state), "comment:end } bar:O");
  EXPECT_EQ(state, CommentState::kNone);
  EXPECT_EQ(Spans("(* x", state), "comment:(* x");
  EXPECT_TRUE(HighlightLine("", state).empty()) << "an empty line inside a comment has no span";
  EXPECT_EQ(state, CommentState::kParenStar);
  EXPECT_EQ(state, CommentState::kParenStar);
  EXPECT_EQ(Spans("} *) V", state), "comment:} *) bar:V");
}

TEST(SyntaxTokens, Utf16OffsetsCountCharacters) {
  const std::string line = "买A𝄞B";
  EXPECT_EQ(Utf16Offset(line, 0), 0u);
  EXPECT_EQ(Utf16Offset(line, 3), 1u);
  EXPECT_EQ(Utf16Offset(line, 4), 2u);
  EXPECT_EQ(Utf16Offset(line, 8), 4u);
  EXPECT_EQ(Utf16Offset(line, 99), 5u);
}

}  // namespace
}  // namespace vorelin
