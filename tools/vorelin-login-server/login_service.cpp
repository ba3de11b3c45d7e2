// One request, one reply; the codes are those the trainer's reply handlers act on.
#include "login_service.h"

#include "net/login_replies.h"

namespace vorelin {
namespace {

ServerMessage Reply(int code, int sub_code = 0) {
  ServerMessage reply;
  reply.code = code;
  reply.sub_code = sub_code;
  return reply;
}

// A "~" in a text would split it on the client's side.
std::string WithoutSeparators(std::string text) {
  for (char& c : text) {
    if (c == '~') c = '-';
  }
  return text;
}

}  // namespace

std::optional<ServerMessage> AnswerRequest(const ServerMessage& request, UserStore& users,
                                           const LoginServiceOptions& options) {
  const std::string& name = request.texts[0];
  const std::string& password = request.texts[1];
  switch (request.code) {
    case kCodeLogin:
      switch (users.Check(name, password)) {
        case UserStore::CheckResult::kAccepted: {
          // Texts 2 and 3 must not be empty: a missing text reads as "null" on the client.
          ServerMessage reply = Reply(kCodeLoginAccepted);
          reply.texts[0] = WithoutSeparators(options.welcome);
          reply.texts[1] = "，" + WithoutSeparators(name);
          reply.texts[2] = "！";
          return reply;
        }
        case UserStore::CheckResult::kLocked:
          return Reply(kCodeLocked);
        case UserStore::CheckResult::kWrong:
          return Reply(kCodeWrongPassword);
      }
      return std::nullopt;
    case kCodeRegister:
      switch (users.Add(name, password)) {
        case UserStore::AddResult::kAdded: return Reply(kCodeRegistered);
        case UserStore::AddResult::kTaken: return Reply(kCodeNameTaken);
        case UserStore::AddResult::kFailed: return std::nullopt;
      }
      return std::nullopt;
    case kCodeVersion:
      if (options.version > request.sub_code && !options.download.empty()) {
        ServerMessage reply = Reply(kCodeVersion, kSubCodeNewVersion);
        reply.texts[0] = WithoutSeparators(options.download);
        return reply;
      }
      return Reply(kCodeVersion, kSubCodeLatestVersion);
    default:
      return std::nullopt;
  }
}

}  // namespace vorelin
