// Which bars of the raw data changed since a given moment: every change of the raw series
// notes its first bar, so a run can tell "bars were only appended" from anything else.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace vorelin {

class RawJournal {
 public:
  // A change of the raw data from bar `firstBar` on (0: anything may have changed).
  void Record(int firstBar) {
    ++serial_;
    changes_.push_back({serial_, std::max(firstBar, 0)});
    // Many changes fold into one that starts at the lowest bar: later questions about an
    // older moment then get an earlier bar than needed, never a later one.
    if (changes_.size() > kKept) {
      int lowest = INT_MAX;
      for (const Change& change : changes_) lowest = std::min(lowest, change.firstBar);
      changes_.assign(1, {serial_, lowest});
    }
  }
  uint64_t Serial() const { return serial_; }
  // The first bar changed after moment `serial`; INT_MAX when nothing changed.
  int FirstChangedSince(uint64_t serial) const {
    int first = INT_MAX;
    for (auto it = changes_.rbegin(); it != changes_.rend() && it->serial > serial; ++it) {
      first = std::min(first, it->firstBar);
    }
    return first;
  }

 private:
  struct Change {
    uint64_t serial;
    int firstBar;
  };
  static constexpr size_t kKept = 64;
  uint64_t serial_ = 0;
  std::vector<Change> changes_;
};

}  // namespace vorelin
