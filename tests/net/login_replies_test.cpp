// What the login dialog, the user dialog and the main window show and do for each reply.
#include <gtest/gtest.h>

#include "net/login_replies.h"

namespace vorelin {
namespace {

ServerMessage Reply(int code, int sub_code = 0, std::string text1 = "null") {
  ServerMessage m;
  m.code = code;
  m.sub_code = sub_code;
  m.texts.fill("null");
  m.texts[0] = std::move(text1);
  return m;
}

const std::string kContact = "：管理员";
const std::string kLocked = "此用户已被锁定，请联系管理员：管理员！";

TEST(LoginReplies, Messages) {
  EXPECT_EQ(LoginMessage("u", "").texts[1], "");  // an empty password is sent as it is
  ServerMessage version = VersionQuestion();
  EXPECT_EQ(version.code, 12);
  EXPECT_EQ(version.sub_code, 20140605);
  EXPECT_EQ(version.texts[0], "TEST");
  EXPECT_EQ(version.texts[1], "TEST");
  EXPECT_EQ(RegistrationMessage("n", "p").code, 0);
  EXPECT_EQ(RegistrationMessage("n", "p").sub_code, 15);
}

TEST(LoginReplies, LoginDialog) {
  ServerMessage welcome = Reply(7, 0, "欢迎");
  welcome.texts[1] = "，张三";
  welcome.texts[2] = "！";
  LoginReplyAction accepted = DecideLoginReply(welcome, kContact);
  EXPECT_EQ(accepted.kind, LoginReplyAction::Kind::kAccept);
  EXPECT_EQ(accepted.message, "欢迎，张三！");

  struct Case { const char* name; ServerMessage reply; LoginReplyAction::Kind kind; std::string text; };
  const Case cases[] = {
      {"wrong", Reply(8), LoginReplyAction::Kind::kRefuse, "用户名或密码错误，重试！"},
      {"locked", Reply(20), LoginReplyAction::Kind::kRefuse, kLocked},
      {"registration reply ignored", Reply(11), LoginReplyAction::Kind::kIgnore, ""},
      {"version reply ignored", Reply(12, 16), LoginReplyAction::Kind::kIgnore, ""},
      {"undecodable text (code 0) ignored", ServerMessage{}, LoginReplyAction::Kind::kIgnore, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoginReplyAction a = DecideLoginReply(c.reply, kContact);
    EXPECT_EQ(a.kind, c.kind);
    EXPECT_EQ(a.message, c.text);
  }
}

TEST(LoginReplies, UserDialog) {
  struct Case { int code; std::string text; };
  const Case cases[] = {{8, "用户名或密码错误，重试！"}, {10, "此用户名已注册，请重新注册！"},
                        {11, "注册成功！"},             {20, kLocked},
                        {12, ""},                       {7, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(DecideUserDialogReply(Reply(c.code, 16), kContact), c.text);
  }
}

TEST(LoginReplies, MainWindow) {
  using Kind = MainWindowReplyAction::Kind;
  MainWindowReplyAction latest = DecideMainWindowReply(Reply(12, 16), kContact);
  EXPECT_EQ(latest.kind, Kind::kShow);
  EXPECT_EQ(latest.message, "您当前使用的是最新版本！");
  MainWindowReplyAction newer = DecideMainWindowReply(Reply(12, 17, "dl.example/v2.zip"), kContact);
  EXPECT_EQ(newer.kind, Kind::kAskUpgrade);
  EXPECT_EQ(newer.message, "发现新版本，是否升级？");
  EXPECT_EQ(newer.address, "http://dl.example/v2.zip");
  EXPECT_EQ(DecideMainWindowReply(Reply(8), kContact).message, "用户名或密码错误，重试！");
  EXPECT_EQ(DecideMainWindowReply(Reply(20), kContact).message, kLocked);
  EXPECT_EQ(DecideMainWindowReply(Reply(12, 18), kContact).kind, Kind::kIgnore);
  EXPECT_EQ(DecideMainWindowReply(Reply(11), kContact).kind, Kind::kIgnore);
}

TEST(LoginReplies, RegistrationChecks) {
  struct Case { const char* name; const char* user; const char* pass; const char* again;
                bool send; std::string text; bool clear; };
  const Case cases[] = {
      {"empty name", "", "p", "p", false, "用户名或密码不能为空！", false},
      {"empty password", "u", "", "", false, "用户名或密码不能为空！", false},
      {"passwords differ", "u", "p", "q", false, "请确认两次输入密码一致且不为空！", true},
      {"fine", "u", "p", "p", true, "", false},
      {"line break", "a\n[系统设置]", "p", "p", false, "用户名不能包含换行、控制字符、[、]或=！", false},
      {"section name", "[sec]", "p", "p", false, "用户名不能包含换行、控制字符、[、]或=！", false},
      {"key and value", "a=b", "p", "p", false, "用户名不能包含换行、控制字符、[、]或=！", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RegistrationCheck r = CheckRegistration(c.user, c.pass, c.again);
    EXPECT_EQ(r.send, c.send);
    EXPECT_EQ(r.message, c.text);
    EXPECT_EQ(r.clear_passwords, c.clear);
  }
}

TEST(LoginReplies, SessionUserIsSetOnce) {
  SessionUser user;
  EXPECT_FALSE(user.IsSet());
  EXPECT_TRUE(user.Set("alice"));
  EXPECT_FALSE(user.Set("bob"));
  EXPECT_EQ(user.Name(), "alice");
}

}  // namespace
}  // namespace vorelin
