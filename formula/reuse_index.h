// Which earlier compiled statement already computes a right side, so that a temporary takes
// its name instead of computing the same thing again.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

namespace vorelin {

// Indexes the statements NAME:=BODY of a program as they are appended. A statement stops
// being reusable once a later one assigns NAME or a name that BODY reads (the texts between
// "(", ")" and ","); that never ends, so a lookup drops such statements for good.
class ReuseIndex {
 public:
  // Records the statement just appended to the program (quoted text restored).
  void Add(const std::string& statement);
  // The name of the earliest reusable statement whose BODY (attributes aside) equals
  // `body`, or an empty text.
  std::string Find(const std::string& body);

 private:
  struct Entry {
    std::string name;
    size_t position;  // in the program
  };
  struct SameBody {
    std::vector<Entry> entries;  // oldest first
    size_t first = 0;            // those before it are no longer reusable
  };
  bool AssignedAfter(const std::string& name, size_t position) const;

  size_t count_ = 0;  // statements added
  std::unordered_map<std::string, SameBody> byBody_;
  std::unordered_map<std::string, size_t> lastAssigned_;  // name -> its latest statement
};

}  // namespace vorelin
