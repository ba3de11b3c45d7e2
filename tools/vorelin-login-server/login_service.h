// The reference login server's answers: login, registration and version questions, each
// read only when it arrives whole, and logins slowed down for names under guessing.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "login_throttle.h"
#include "net/server_message.h"
#include "user_store.h"

namespace vorelin {

struct LoginServiceOptions {
  std::string welcome = "欢迎使用Vorelin训练系统";
  int version = 0;  // newest program version date offered; 0 = the client is always current
  std::string download;  // where that version is, without "http://"
};

struct LoginAnswer {
  ServerMessage reply;
  std::chrono::steady_clock::time_point send_at;  // later than arrival for a slowed-down name
};

class LoginService {
 public:
  LoginService(UserStore& users, LoginServiceOptions options)
      : users_(users), options_(std::move(options)) {}

  // The answer to one received line that arrived at `now`. Nothing for a line that is no
  // whole request: not Base64, too few fields, a login or registration whose sub-code is not
  // the client's, or a registration without a password. A name that may not be registered
  // is refused with code 8 and the reason as text 1.
  std::optional<LoginAnswer> Answer(std::string_view line,
                                    std::chrono::steady_clock::time_point now);

 private:
  LoginAnswer Login(const std::string& name, const std::string& password,
                    std::chrono::steady_clock::time_point now);
  std::optional<LoginAnswer> Register(const std::string& name, const std::string& password,
                                      std::chrono::steady_clock::time_point now);

  UserStore& users_;
  LoginServiceOptions options_;
  LoginThrottle throttle_;
};

}  // namespace vorelin
