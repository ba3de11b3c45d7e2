// Reuse of temporaries: a right side is found by hashing, and a candidate is checked against
// the latest assignment of each name it depends on.
#include "formula/reuse_index.h"

#include "formula/compiler.h"

namespace vorelin {

void ReuseIndex::Add(const std::string& statement) {
  const size_t position = count_++;
  std::string assigned, expression;
  SplitNamePart(statement, assigned, expression);
  while (!assigned.empty() && (assigned.back() == '=' || assigned.back() == ':')) {
    assigned.pop_back();
  }
  if (!assigned.empty()) lastAssigned_[assigned] = position;
  const size_t sep = statement.find(":=");
  if (sep == std::string::npos) return;
  std::string body, attributes;
  SplitAttributes(std::string_view(statement).substr(sep + 2), body, attributes);
  byBody_[std::move(body)].entries.push_back({statement.substr(0, sep), position});
}

bool ReuseIndex::AssignedAfter(const std::string& name, size_t position) const {
  const auto found = lastAssigned_.find(name);
  return found != lastAssigned_.end() && found->second > position;
}

std::string ReuseIndex::Find(const std::string& body) {
  const auto found = byBody_.find(body);
  if (found == byBody_.end()) return {};
  SameBody& same = found->second;
  for (; same.first < same.entries.size(); ++same.first) {
    const Entry& entry = same.entries[same.first];
    bool reusable = entry.name.empty() || !AssignedAfter(entry.name, entry.position);
    for (size_t start = 0; reusable && start <= body.size();) {
      size_t end = body.find_first_of("(),", start);
      if (end == std::string::npos) end = body.size();
      if (end > start) reusable = !AssignedAfter(body.substr(start, end - start), entry.position);
      start = end + 1;
    }
    if (reusable) return entry.name;
  }
  return {};
}

}  // namespace vorelin
