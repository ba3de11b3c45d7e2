// Lines from anyone to the reference login server: no crash, an answer only to a whole
// request, and no user registered under a name the rule refuses.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "login_service.h"
#include "net/login_replies.h"
#include "net/user_name_rules.h"
#include "user_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorelin;
  static UserStore* users = [] {
    auto* store = new UserStore(HashStrength::kTestMinimum);
    std::string error;
    if (!store->Open(":memory:", error)) __builtin_trap();
    store->Add("ann", "pw");
    return store;
  }();
  static LoginService service(*users, LoginServiceOptions{});
  std::string_view line(reinterpret_cast<const char*>(data), size);
  size_t fields = 0;
  ServerMessage request = DecodeServerMessage(line, &fields);
  std::optional<LoginAnswer> answer = service.Answer(line, std::chrono::steady_clock::now());
  if (!answer) return 0;
  if (fields < 2) __builtin_trap();
  if (request.code == kCodeRegister) {
    if (fields < 4 || request.sub_code != kClientSubCode) __builtin_trap();
    bool acceptable = IsAcceptableUserName(request.texts[0], nullptr);
    if (answer->reply.code == kCodeRegistered && !acceptable) __builtin_trap();
  }
  if (request.code == kCodeLogin && answer->reply.code == kCodeLoginAccepted &&
      !IsAcceptableUserName(request.texts[0], nullptr))
    __builtin_trap();
  return 0;
}
