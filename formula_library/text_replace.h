// Exact, case-sensitive replacement of every occurrence, for the editors' text rewrites.
#pragma once

#include <string>
#include <string_view>

namespace vorelin {

inline std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  size_t at = 0;
  while (!from.empty() && (at = text.find(from, at)) != std::string::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

}  // namespace vorelin
