// The user-name rule: names that would break a config.ini section header or key are refused
// with the message the user sees; every other name, Chinese included, is taken as typed.
#include <gtest/gtest.h>

#include "net/user_name_rules.h"

namespace vorelin {
namespace {

struct NameCase {
  const char* name;
  std::string user_name;
  const char* refusal;  // nullptr: accepted
};

TEST(UserNameRules, AcceptedAndRefusedNames) {
  const char* kForbidden = "用户名不能包含换行、控制字符、[、]或=！";
  const NameCase cases[] = {
      {"plain", "alice", nullptr},
      {"Chinese", "张三", nullptr},
      {"spaces and punctuation", "li si_2.0-(x)", nullptr},
      {"empty", "", "用户名不能为空！"},
      {"line feed", "a\nb", kForbidden},
      {"carriage return", "a\rb", kForbidden},
      {"a new section", "x]\r\n[系统设置", kForbidden},
      {"opening bracket", "[a", kForbidden},
      {"closing bracket", "a]", kForbidden},
      {"equals sign", "名称=x", kForbidden},
      {"tab", "a\tb", kForbidden},
      {"zero byte", std::string("a\0b", 3), kForbidden},
      {"delete", "a\x7f", kForbidden},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string reason = "unchanged";
    EXPECT_EQ(IsAcceptableUserName(c.user_name, &reason), c.refusal == nullptr);
    EXPECT_EQ(reason, c.refusal ? c.refusal : "unchanged");
  }
  EXPECT_FALSE(IsAcceptableUserName("a=b", nullptr));
}

}  // namespace
}  // namespace vorelin
