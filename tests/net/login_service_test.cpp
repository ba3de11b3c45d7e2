// The reference login server's answers without sockets: what counts as a request, the
// user-name rule, slowed guessing on a fake clock, and user rows old and new.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "common/base64.h"
#include "login_service.h"
#include "login_throttle.h"
#include "net/login_replies.h"
#include "temp_folder.h"
#include "user_store.h"

namespace vorelin {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using Clock = std::chrono::steady_clock;
const Clock::time_point t0 = Clock::time_point{} + std::chrono::hours(1);

std::string Line(const ServerMessage& m) { return EncodeServerMessage(m) + "\r"; }

// The first column of the first row of `sql` on the file at `path`; empty when none.
std::string QueryText(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_stmt* select = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &select, nullptr);
  std::string text;
  if (select && sqlite3_step(select) == SQLITE_ROW)
    text = reinterpret_cast<const char*>(sqlite3_column_text(select, 0));
  sqlite3_finalize(select);
  sqlite3_close(db);
  return text;
}

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
  UserStore users{HashStrength::kTestMinimum};
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

TEST_F(ServiceFixture, AGuessedNameIsAnsweredOneASecond) {
  ASSERT_EQ(Code(Line(RegistrationMessage("ann", "right"))), kCodeRegistered);
  ASSERT_EQ(Code(Line(RegistrationMessage("bob", "pw"))), kCodeRegistered);
  for (int i = 0; i < 5; ++i) {
    std::optional<LoginAnswer> a = service.Answer(Line(LoginMessage("ann", "x")), t0);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->send_at, t0) << "guess " << i + 1;
  }
  std::optional<LoginAnswer> sixth = service.Answer(Line(LoginMessage("ann", "x")), t0);
  std::optional<LoginAnswer> right = service.Answer(Line(LoginMessage("ann", "right")), t0);
  std::optional<LoginAnswer> bob = service.Answer(Line(LoginMessage("bob", "pw")), t0);
  ASSERT_TRUE(sixth && right && bob);
  EXPECT_EQ(sixth->send_at, t0 + seconds(1));
  EXPECT_EQ(right->send_at, t0 + seconds(2));
  EXPECT_EQ(right->reply.code, kCodeLoginAccepted);
  EXPECT_EQ(bob->send_at, t0);
}

// Steps on one name at given times: answer time asked, then the outcome recorded.
struct Attempt {
  int at_ms;
  bool wrong;
  int answer_ms;  // when its answer may go out
};
struct ThrottleCase {
  const char* name;
  std::vector<Attempt> attempts;
};

TEST(LoginThrottle, Cases) {
  const ThrottleCase cases[] = {
      {"four wrong are answered at once",
       {{0, true, 0}, {10, true, 10}, {20, true, 20}, {30, true, 30}, {40, false, 40}}},
      {"from the sixth, one a second",
       {{0, true, 0}, {0, true, 0}, {0, true, 0}, {0, true, 0}, {0, true, 0},
        {0, true, 1000}, {0, true, 2000}, {2500, true, 3000}, {5000, true, 5000}}},
      {"a right password ends it",
       {{0, true, 0}, {0, true, 0}, {0, true, 0}, {0, true, 0}, {0, true, 0},
        {100, false, 1000}, {1100, true, 1100}, {1200, true, 1200}}},
      {"a minute after the last wrong one, five are free again",
       {{0, true, 0}, {0, true, 0}, {0, true, 0}, {0, true, 0}, {0, true, 0},
        {30000, true, 30000}, {90000, true, 90000}, {90001, true, 90001}, {90002, true, 90002},
        {90003, true, 90003}, {90004, true, 90004}, {90005, true, 91004}}},
  };
  for (const ThrottleCase& c : cases) {
    SCOPED_TRACE(c.name);
    LoginThrottle throttle;
    for (size_t i = 0; i < c.attempts.size(); ++i) {
      const Attempt& a = c.attempts[i];
      Clock::time_point now = t0 + milliseconds(a.at_ms);
      EXPECT_EQ(throttle.AnswerTime("ann", now), t0 + milliseconds(a.answer_ms)) << "attempt " << i + 1;
      throttle.Record("ann", a.wrong, now);
      EXPECT_EQ(throttle.AnswerTime("bob", now), now);  // another name is never slowed
    }
  }
}

TEST(UserStore, OldRowsLogInAndAreRewrittenAsArgon2id) {
  TempFolder folder;
  std::string path = (folder.Path() / "old.db").string();
  {  // A file as the server wrote it before: salted, iterated SHA-256.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    std::string sql =
        "CREATE TABLE users (name TEXT PRIMARY KEY, salt TEXT NOT NULL, hash TEXT NOT NULL, "
        "locked INTEGER NOT NULL DEFAULT 0);"
        "INSERT INTO users (name, salt, hash) VALUES ('ann', '0123456789abcdef', '" +
        LegacyPasswordHash("0123456789abcdef", "pw", kLegacyHashRounds) + "');";
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  auto stored = [&] { return QueryText(path, "SELECT salt || '|' || hash FROM users"); };
  std::string old_row = stored();
  UserStore users(HashStrength::kTestMinimum);
  std::string error;
  ASSERT_TRUE(users.Open(path, error)) << error;
  EXPECT_EQ(users.Check("ann", "wrong"), UserStore::CheckResult::kWrong);
  EXPECT_EQ(stored(), old_row);  // a wrong password rewrites nothing
  EXPECT_EQ(users.Check("ann", "pw"), UserStore::CheckResult::kAccepted);
  EXPECT_EQ(stored().rfind("|$argon2id$", 0), 0u) << stored();
  EXPECT_EQ(users.Check("ann", "pw"), UserStore::CheckResult::kAccepted);
  EXPECT_EQ(users.Check("ann", "wrong"), UserStore::CheckResult::kWrong);
}

TEST(UserStore, AnInteractiveServerStrengthensWeakRowsAndATestServerLeavesThemAlone) {
  TempFolder folder;
  std::string path = (folder.Path() / "u.db").string();
  std::string error;
  {
    UserStore weak(HashStrength::kTestMinimum);
    ASSERT_TRUE(weak.Open(path, error)) << error;
    ASSERT_EQ(weak.Add("ann", "pw"), UserStore::AddResult::kAdded);
  }
  auto hash = [&] { return QueryText(path, "SELECT hash FROM users"); };
  std::string added = hash();
  EXPECT_NE(added.find("m=8,t=1"), std::string::npos) << added;
  {
    UserStore weak(HashStrength::kTestMinimum);
    ASSERT_TRUE(weak.Open(path, error)) << error;
    EXPECT_EQ(weak.Check("ann", "pw"), UserStore::CheckResult::kAccepted);
  }
  EXPECT_EQ(hash(), added);
  {
    UserStore strong;
    ASSERT_TRUE(strong.Open(path, error)) << error;
    EXPECT_EQ(strong.Check("ann", "pw"), UserStore::CheckResult::kAccepted);
  }
  std::string strengthened = hash();
  EXPECT_NE(strengthened.find("m=65536,t=2"), std::string::npos) << strengthened;
  UserStore weak(HashStrength::kTestMinimum);
  ASSERT_TRUE(weak.Open(path, error)) << error;
  EXPECT_EQ(weak.Check("ann", "pw"), UserStore::CheckResult::kAccepted);
  EXPECT_EQ(hash(), strengthened);  // never weakened
}

}  // namespace
}  // namespace vorelin
