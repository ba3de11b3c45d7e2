// What the trainer sends on the login link and what it shows and does for each reply: the
// login dialog, the user dialog and the main window each have their own reply decisions.
#pragma once

#include <string>

#include "net/server_message.h"

namespace vorelin {

// The program's own version date, sent with the version question.
inline constexpr int kProgramVersionDate = 20140605;
inline constexpr int kClientSubCode = 15;

inline constexpr int kCodeRegister = 0;
inline constexpr int kCodeLogin = 1;
inline constexpr int kCodeLoginAccepted = 7;
inline constexpr int kCodeWrongPassword = 8;
inline constexpr int kCodeNameTaken = 10;
inline constexpr int kCodeRegistered = 11;
inline constexpr int kCodeVersion = 12;
inline constexpr int kSubCodeLatestVersion = 16;
inline constexpr int kSubCodeNewVersion = 17;
inline constexpr int kCodeLocked = 20;

inline constexpr const char* kNotConnectedText = "服务器未连接！";
inline constexpr const char* kWrongPasswordText = "用户名或密码错误，重试！";
inline constexpr const char* kNameTakenText = "此用户名已注册，请重新注册！";
inline constexpr const char* kRegisteredText = "注册成功！";
inline constexpr const char* kLatestVersionText = "您当前使用的是最新版本！";
inline constexpr const char* kUpgradeCaption = "升级";
inline constexpr const char* kUpgradeQuestion = "发现新版本，是否升级？";
inline constexpr const char* kEmptyNameOrPasswordText = "用户名或密码不能为空！";
inline constexpr const char* kPasswordsDifferText = "请确认两次输入密码一致且不为空！";
// The administrator's contact shown in the locked message, unless configured otherwise.
inline constexpr const char* kDefaultAdminContact = "（电话：010-00000000）";

ServerMessage LoginMessage(const std::string& name, const std::string& password);
ServerMessage RegistrationMessage(const std::string& name, const std::string& password);
ServerMessage VersionQuestion();

std::string LockedUserText(const std::string& admin_contact);

// The login dialog's decision for a reply.
struct LoginReplyAction {
  enum class Kind { kIgnore, kAccept, kRefuse };
  Kind kind = Kind::kIgnore;
  // kAccept: the welcome (texts 1-3 joined), shown after the dialog closes with OK and the
  // user box text became the session user. kRefuse: the message; both boxes are emptied,
  // focus goes to the user box and the login button is enabled again.
  std::string message;
};
LoginReplyAction DecideLoginReply(const ServerMessage& reply, const std::string& admin_contact);

// The user dialog's message for a reply; empty when the reply is ignored.
std::string DecideUserDialogReply(const ServerMessage& reply, const std::string& admin_contact);

// The main window's decision for a reply.
struct MainWindowReplyAction {
  enum class Kind { kIgnore, kShow, kAskUpgrade };
  Kind kind = Kind::kIgnore;
  std::string message;  // kShow: the text; kAskUpgrade: the question (caption kUpgradeCaption)
  std::string address;  // kAskUpgrade: what to open in the web browser on Yes
};
MainWindowReplyAction DecideMainWindowReply(const ServerMessage& reply,
                                            const std::string& admin_contact);

// The user dialog's '注册' checks. send = the registration may be sent.
struct RegistrationCheck {
  bool send = false;
  std::string message;           // shown when not sending
  bool clear_passwords = false;  // both password boxes are emptied
};
RegistrationCheck CheckRegistration(const std::string& name, const std::string& password,
                                    const std::string& confirmation);

// The logged-in user's name: set once when the server accepts a login, never changed.
class SessionUser {
 public:
  // False (and the name unchanged) when a user is already set.
  bool Set(const std::string& name);
  bool IsSet() const { return set_; }
  const std::string& Name() const { return name_; }

 private:
  bool set_ = false;
  std::string name_;
};

}  // namespace vorelin
