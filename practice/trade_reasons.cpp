#include "practice/trade_reasons.h"

#include <algorithm>

namespace vorelin {
namespace {

// One line without surrounding spaces: the journal list and config.ini hold single lines.
std::string OneLine(std::string_view text) {
  std::string line(text);
  std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
  const size_t a = line.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  return line.substr(a, line.find_last_not_of(' ') - a + 1);
}

std::string KeyOf(size_t index) { return "交易理由" + std::to_string(index + 1); }

}  // namespace

void ReasonHistory::Remember(std::string_view reason) {
  const std::string text = OneLine(reason);
  if (text.empty()) return;
  items_.erase(std::remove(items_.begin(), items_.end(), text), items_.end());
  items_.insert(items_.begin(), text);
  if (items_.size() > kRememberedReasons) items_.resize(kRememberedReasons);
}

void ReasonHistory::Read(const IniFile& ini, std::string_view user) {
  items_.clear();
  for (size_t i = 0; i < kRememberedReasons; ++i) {
    const std::string text = ini.ReadString(user, KeyOf(i), "");
    if (text.empty()) break;
    items_.push_back(text);
  }
}

bool ReasonHistory::Write(IniFile& ini, std::string_view user, std::string* error) const {
  IniFile next = ini;
  // The list never shrinks, so the keys written last time are all overwritten.
  for (size_t i = 0; i < items_.size(); ++i)
    if (!next.WriteString(user, KeyOf(i), items_[i], error)) return false;
  ini = std::move(next);
  return true;
}

std::string StoredReason(std::string_view box) {
  const std::string text = OneLine(box);
  return text.empty() ? std::string(kDefaultReason) : text;
}

}  // namespace vorelin
