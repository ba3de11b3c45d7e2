// The one rule for user names, shared by the login server and the trainer's user dialog.
#include "net/user_name_rules.h"

namespace vorelin {
namespace {

bool IsForbidden(unsigned char c) { return c < 0x20 || c == 0x7F || c == '[' || c == ']' || c == '='; }

}  // namespace

bool IsAcceptableUserName(const std::string& name, std::string* reason) {
  const char* refusal = nullptr;
  if (name.empty()) {
    refusal = kEmptyUserNameText;
  } else {
    for (char c : name) {
      if (IsForbidden(static_cast<unsigned char>(c))) {
        refusal = kForbiddenUserNameCharacterText;
        break;
      }
    }
  }
  if (refusal && reason) *reason = refusal;
  return refusal == nullptr;
}

}  // namespace vorelin
