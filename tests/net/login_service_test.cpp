// The reference login server's answers without sockets: what counts as a request and the
// user-name rule.
#include <gtest/gtest.h>

#include "common/base64.h"
#include "login_service.h"
#include "net/login_replies.h"
#include "temp_folder.h"
#include "user_store.h"

namespace vorelin {
namespace {

using Clock = std::chrono::steady_clock;
const Clock::time_point t0 = Clock::time_point{} + std::chrono::hours(1);

std::string Line(const ServerMessage& m) { return EncodeServerMessage(m) + "\r"; }

struct ServiceFixture : ::testing::Test {
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(users.Open((folder.Path() / "users.db").string(), error)) << error;
  }
  // The reply code, or -1 when the line got no answer.
  int Code(const std::string& line, Clock::time_point now = t0) {
    std::optional<LoginAnswer> answer = service.Answer(line, now);
    return answer ? answer->reply.code : -1;
  }
  TempFolder folder;
  UserStore users;
  LoginService service{users, LoginServiceOptions{}};
};

TEST_F(ServiceFixture, OnlyWholeRequestsAreAnswered) {
  struct Case {
    const char* name;
    std::string line;
    int code;  // -1: no answer
  };
  const Case cases[] = {
      {"another protocol", "GET / HTTP/1.1\r", -1},
      {"one field", Base64Encode("10~"), -1},
      {"code and sub-code only", Base64Encode("0~15"), -1},
      {"registration without a password", Base64Encode("0~15~eve"), -1},
      {"registration with another sub-code", Base64Encode("0~16~eve~pw"), -1},
      {"login with another sub-code", Base64Encode("1~14~eve~pw"), -1},
      {"code that is no number", Base64Encode("x~15~eve~pw"), -1},
      {"unknown code", Base64Encode("5~15~eve~pw"), -1},
      {"version question with its date only", Base64Encode("12~20140605"), kCodeVersion},
      {"registration", Line(RegistrationMessage("eve", "pw")), kCodeRegistered},
      {"login without a password", Base64Encode("1~15~eve"), kCodeWrongPassword},
      {"login", Line(LoginMessage("eve", "pw")), kCodeLoginAccepted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Code(c.line), c.code);
  }
  // The ignored lines registered nobody: not "null" (a missing text), not "eve" twice.
  EXPECT_EQ(users.Check("null", "null"), UserStore::CheckResult::kWrong);
  EXPECT_EQ(users.Add("null", "x"), UserStore::AddResult::kAdded);
}

TEST_F(ServiceFixture, AnEmptyPasswordNeverMatchesAPasswordOfNull) {
  ASSERT_EQ(Code(Line(RegistrationMessage("ann", "null"))), kCodeRegistered);
  EXPECT_EQ(Code(Line(LoginMessage("ann", ""))), kCodeWrongPassword);
  EXPECT_EQ(Code(Line(LoginMessage("ann", "null"))), kCodeLoginAccepted);
}

TEST_F(ServiceFixture, RefusedNamesAreAnsweredWithCodeEightAndTheReason) {
  for (const std::string name : {"a\r\n[b]", "k=v", "[x", "y]", "tab\t"}) {
    SCOPED_TRACE(name);
    std::optional<LoginAnswer> answer = service.Answer(Line(RegistrationMessage(name, "pw")), t0);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->reply.code, kCodeWrongPassword);
    EXPECT_EQ(answer->reply.texts[0], "用户名不能包含换行、控制字符、[、]或=！");
    EXPECT_EQ(users.Check(name, "pw"), UserStore::CheckResult::kWrong);
  }
}

}  // namespace
}  // namespace vorelin
