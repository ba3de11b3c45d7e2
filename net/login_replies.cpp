// The reply tables of the login dialog, the user dialog and the main window.
#include "net/login_replies.h"

#include "net/user_name_rules.h"

namespace vorelin {
namespace {

ServerMessage CredentialsMessage(int code, const std::string& name, const std::string& password) {
  ServerMessage message;
  message.code = code;
  message.sub_code = kClientSubCode;
  message.texts[0] = name;
  message.texts[1] = password;
  return message;
}

}  // namespace

ServerMessage LoginMessage(const std::string& name, const std::string& password) {
  return CredentialsMessage(kCodeLogin, name, password);
}

ServerMessage RegistrationMessage(const std::string& name, const std::string& password) {
  return CredentialsMessage(kCodeRegister, name, password);
}

ServerMessage VersionQuestion() {
  ServerMessage message;
  message.code = kCodeVersion;
  message.sub_code = kProgramVersionDate;
  message.texts[0] = "TEST";
  message.texts[1] = "TEST";
  return message;
}

std::string LockedUserText(const std::string& admin_contact) {
  return "此用户已被锁定，请联系管理员" + admin_contact + "！";
}

LoginReplyAction DecideLoginReply(const ServerMessage& reply, const std::string& admin_contact) {
  switch (reply.code) {
    case kCodeLoginAccepted:
      return {LoginReplyAction::Kind::kAccept, reply.texts[0] + reply.texts[1] + reply.texts[2]};
    case kCodeWrongPassword:
      return {LoginReplyAction::Kind::kRefuse, kWrongPasswordText};
    case kCodeLocked:
      return {LoginReplyAction::Kind::kRefuse, LockedUserText(admin_contact)};
    default:
      return {};
  }
}

std::string DecideUserDialogReply(const ServerMessage& reply, const std::string& admin_contact) {
  switch (reply.code) {
    case kCodeWrongPassword: return kWrongPasswordText;
    case kCodeNameTaken: return kNameTakenText;
    case kCodeRegistered: return kRegisteredText;
    case kCodeLocked: return LockedUserText(admin_contact);
    default: return {};
  }
}

MainWindowReplyAction DecideMainWindowReply(const ServerMessage& reply,
                                            const std::string& admin_contact) {
  using Kind = MainWindowReplyAction::Kind;
  switch (reply.code) {
    case kCodeWrongPassword:
      return {Kind::kShow, kWrongPasswordText, {}};
    case kCodeLocked:
      return {Kind::kShow, LockedUserText(admin_contact), {}};
    case kCodeVersion:
      if (reply.sub_code == kSubCodeLatestVersion) return {Kind::kShow, kLatestVersionText, {}};
      if (reply.sub_code == kSubCodeNewVersion)
        return {Kind::kAskUpgrade, kUpgradeQuestion, "http://" + reply.texts[0]};
      return {};
    default:
      return {};
  }
}

RegistrationCheck CheckRegistration(const std::string& name, const std::string& password,
                                    const std::string& confirmation) {
  if (name.empty() || password.empty()) return {false, kEmptyNameOrPasswordText, false};
  // The name becomes a section of config.ini: nothing in it may rewrite that file.
  std::string reason;
  if (!IsAcceptableUserName(name, &reason)) return {false, reason, false};
  if (password != confirmation) return {false, kPasswordsDifferText, true};
  return {true, {}, false};
}

bool SessionUser::Set(const std::string& name) {
  if (set_) return false;
  set_ = true;
  name_ = name;
  return true;
}

}  // namespace vorelin
