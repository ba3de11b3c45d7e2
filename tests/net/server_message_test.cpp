// The login link's message codec: the wire form of the trainer's messages and the lenient
// reading of whatever arrives.
#include <gtest/gtest.h>

#include "common/base64.h"
#include "common/text_encoding.h"
#include "net/login_replies.h"
#include "net/server_message.h"

namespace vorelin {
namespace {

std::string Plain(const std::string& encoded) {
  std::string plain;
  EXPECT_TRUE(Base64Decode(encoded, plain));
  return plain;
}

TEST(ServerMessage, LoginMessageEndsWithEightSeparatorsAndDecodesMissingTextsAsNull) {
  std::string encoded = EncodeServerMessage(LoginMessage("alice", "secret"));
  EXPECT_EQ(Plain(encoded), "1~15~alice~secret~~~~~~~~");
  ServerMessage decoded = DecodeServerMessage(encoded + "\r\n");
  EXPECT_EQ(decoded.code, 1);
  EXPECT_EQ(decoded.sub_code, 15);
  EXPECT_EQ(decoded.texts[0], "alice");
  EXPECT_EQ(decoded.texts[1], "secret");
  for (int k = 2; k < 10; ++k) EXPECT_EQ(decoded.texts[k], "null") << "text " << k + 1;
}

TEST(ServerMessage, SeparatorInsideTextShiftsLaterFields) {
  ServerMessage m = LoginMessage("a~b", "pw");
  ServerMessage decoded = DecodeServerMessage(EncodeServerMessage(m));
  EXPECT_EQ(decoded.texts[0], "a");
  EXPECT_EQ(decoded.texts[1], "b");
  EXPECT_EQ(decoded.texts[2], "pw");
  EXPECT_EQ(decoded.texts[3], "null");
}

TEST(ServerMessage, ChineseTextsTravelAsGbk) {
  ServerMessage m;
  m.code = 7;
  m.texts[0] = "欢迎使用";
  std::string encoded = EncodeServerMessage(m);
  EXPECT_EQ(Plain(encoded), "7~0~" + Utf8ToGbk("欢迎使用") + "~~~~~~~~~");
  EXPECT_EQ(DecodeServerMessage(encoded).texts[0], "欢迎使用");
}

struct DecodeCase {
  const char* name;
  std::string text;  // as received
  int code;
  int sub_code;
  const char* text1;
  const char* text2;
  size_t fields;  // pieces found
};

std::string B64(const std::string& plain) { return Base64Encode(plain); }

TEST(ServerMessage, DecodeCases) {
  const DecodeCase cases[] = {
      {"plain reply", B64("8~0"), 8, 0, "null", "null", 2},
      {"spaces and # skipped at piece start", B64(" #7~ 16~##hi~ #"), 7, 16, "hi", "null", 3},
      {"empty pieces dropped", B64("~~12~~17~~addr"), 12, 17, "addr", "null", 3},
      {"not numbers give 255", B64("x~1y~t"), 255, 255, "t", "null", 3},
      {"trailing CR LF ignored", B64("11~0~ok") + "\r\n", 11, 0, "ok", "null", 3},
      {"short remainder ignored", B64("10~5~abc") + "QQ", 10, 5, "abc", "null", 3},
      {"padding in third place ends data", "MTB+MQ==" + B64("~zz"), 10, 1, "null", "null", 2},
      {"one piece only", B64("7"), 0, 0, "", "", 1},
      {"fewer than four characters", "MQ", 0, 0, "", "", 0},
      {"character outside the alphabet", "MTB+!Q==", 0, 0, "", "", 0},
      {"padding in first place", "=TB+", 0, 0, "", "", 0},
      {"empty text", "", 0, 0, "", "", 0},
      {"a request line of another protocol", "GET / HTTP/1.1\r\n", 0, 0, "", "", 0},
      {"login with an empty password", B64("1~15~ann~~~~~~~~~~"), 1, 15, "ann", "null", 3},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    size_t fields = 99;
    ServerMessage m = DecodeServerMessage(c.text, &fields);
    EXPECT_EQ(fields, c.fields);
    EXPECT_EQ(m.code, c.code);
    EXPECT_EQ(m.sub_code, c.sub_code);
    EXPECT_EQ(m.texts[0], c.text1);
    EXPECT_EQ(m.texts[1], c.text2);
  }
}

TEST(ServerMessage, RoundTripKeepsEveryField) {
  ServerMessage m;
  m.code = 12;
  m.sub_code = 20140605;
  for (int k = 0; k < 10; ++k) m.texts[k] = "t" + std::to_string(k + 1);
  EXPECT_EQ(DecodeServerMessage(EncodeServerMessage(m)), m);
}

}  // namespace
}  // namespace vorelin
