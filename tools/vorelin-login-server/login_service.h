// The reference login server's answers: login, registration and version questions.
#pragma once

#include <optional>
#include <string>

#include "net/server_message.h"
#include "user_store.h"

namespace vorelin {

struct LoginServiceOptions {
  std::string welcome = "欢迎使用Vorelin训练系统";
  int version = 0;  // newest program version date offered; 0 = the client is always current
  std::string download;  // where that version is, without "http://"
};

// The reply to one decoded message; nothing for messages the server does not answer.
std::optional<ServerMessage> AnswerRequest(const ServerMessage& request, UserStore& users,
                                           const LoginServiceOptions& options);

}  // namespace vorelin
