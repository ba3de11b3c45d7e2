// The reason box of the trade group: the reasons last written, newest first, so a trainee
// picks a recurring one instead of typing it again. Kept in the user's section of config.ini.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/ini_file.h"

namespace vorelin {

inline constexpr const char* kDefaultReason = "理由";
inline constexpr size_t kRememberedReasons = 20;

class ReasonHistory {
 public:
  // Puts `reason` (as one line without surrounding spaces) first; an earlier copy moves up,
  // the oldest beyond 20 is forgotten, and an empty (or all-space) text changes nothing.
  void Remember(std::string_view reason);
  const std::vector<std::string>& Items() const { return items_; }

  // Keys "交易理由1" … "交易理由20" of the user's section; missing keys end the list.
  void Read(const IniFile& ini, std::string_view user);
  // False (ini as it was, `error` saying why) when the INI file refuses a value.
  bool Write(IniFile& ini, std::string_view user, std::string* error = nullptr) const;

 private:
  std::vector<std::string> items_;
};

// What a trade stores in sReason: the box's text as one line without surrounding spaces,
// or "理由" when that is empty.
std::string StoredReason(std::string_view box);

}  // namespace vorelin
