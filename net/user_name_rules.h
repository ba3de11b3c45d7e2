// Which user names may be registered. A name becomes a section header of config.ini and a
// key of the journal, so nothing in it may end a line or start a section or a value.
#pragma once

#include <string>

namespace vorelin {

inline constexpr const char* kEmptyUserNameText = "用户名不能为空！";
inline constexpr const char* kForbiddenUserNameCharacterText =
    "用户名不能包含换行、控制字符、[、]或=！";

// True when `name` may be registered. False for an empty name and for one holding CR, LF or
// another control character, "[", "]" or "="; `reason` (when given) then receives the
// message to show, else it is left unchanged.
bool IsAcceptableUserName(const std::string& name, std::string* reason);

}  // namespace vorelin
