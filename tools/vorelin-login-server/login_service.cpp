// One request, one reply; the codes are those the trainer's reply handlers act on.
#include "login_service.h"

#include "net/login_replies.h"
#include "net/user_name_rules.h"

namespace vorelin {
namespace {

// Code, sub-code, name and password; a login may come without its password (the trainer
// sends an empty one as typed, and the empty piece is dropped on decoding).
constexpr size_t kRequestFields = 4;
constexpr size_t kLoginFieldsWithoutPassword = 3;
constexpr size_t kVersionFields = 2;

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

std::optional<LoginAnswer> LoginService::Answer(std::string_view line,
                                                std::chrono::steady_clock::time_point now) {
  size_t fields = 0;
  ServerMessage request = DecodeServerMessage(line, &fields);
  const std::string& name = request.texts[0];
  switch (request.code) {
    case kCodeLogin:
      if (fields < kLoginFieldsWithoutPassword || request.sub_code != kClientSubCode)
        return std::nullopt;
      return Login(name, fields >= kRequestFields ? request.texts[1] : "", now);
    case kCodeRegister:
      if (fields < kRequestFields || request.sub_code != kClientSubCode) return std::nullopt;
      return Register(name, request.texts[1], now);
    case kCodeVersion: {
      if (fields < kVersionFields) return std::nullopt;
      if (options_.version > request.sub_code && !options_.download.empty()) {
        ServerMessage reply = Reply(kCodeVersion, kSubCodeNewVersion);
        reply.texts[0] = WithoutSeparators(options_.download);
        return LoginAnswer{reply, now};
      }
      return LoginAnswer{Reply(kCodeVersion, kSubCodeLatestVersion), now};
    }
    default:
      return std::nullopt;
  }
}

LoginAnswer LoginService::Login(const std::string& name, const std::string& password,
                                std::chrono::steady_clock::time_point now) {
  // Rows written before names had rules may hold such a name; it must never become the
  // trainer's session user.
  if (!IsAcceptableUserName(name, nullptr)) return {Reply(kCodeWrongPassword), now};
  std::chrono::steady_clock::time_point at = throttle_.AnswerTime(name, now);
  UserStore::CheckResult result = users_.Check(name, password);
  throttle_.Record(name, result == UserStore::CheckResult::kWrong, now);
  switch (result) {
    case UserStore::CheckResult::kAccepted: {
      // Texts 2 and 3 must not be empty: a missing text reads as "null" on the client.
      ServerMessage reply = Reply(kCodeLoginAccepted);
      reply.texts[0] = WithoutSeparators(options_.welcome);
      reply.texts[1] = "，" + WithoutSeparators(name);
      reply.texts[2] = "！";
      return {reply, at};
    }
    case UserStore::CheckResult::kLocked:
      return {Reply(kCodeLocked), at};
    case UserStore::CheckResult::kWrong:
      break;
  }
  return {Reply(kCodeWrongPassword), at};
}

std::optional<LoginAnswer> LoginService::Register(const std::string& name,
                                                  const std::string& password,
                                                  std::chrono::steady_clock::time_point now) {
  std::string reason;
  if (!IsAcceptableUserName(name, &reason)) {
    // 8 is what the trainer's user dialog shows for a refused registration.
    ServerMessage reply = Reply(kCodeWrongPassword);
    reply.texts[0] = reason;
    return LoginAnswer{reply, now};
  }
  switch (users_.Add(name, password)) {
    case UserStore::AddResult::kAdded: return LoginAnswer{Reply(kCodeRegistered), now};
    case UserStore::AddResult::kTaken: return LoginAnswer{Reply(kCodeNameTaken), now};
    case UserStore::AddResult::kFailed: return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace vorelin
