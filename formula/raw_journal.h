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
    // The older half of many changes folds into one that starts at their lowest bar and
    // carries the newest of their moments: a question about a moment before it gets an
    // earlier bar than needed, never a later one; later moments are answered exactly.
    if (changes_.size() > kKept) {
      const size_t folded = changes_.size() / 2;
      Change merged = changes_[folded - 1];
      for (size_t k = 0; k < folded; ++k) {
        merged.firstBar = std::min(merged.firstBar, changes_[k].firstBar);
      }
      changes_.erase(changes_.begin(), changes_.begin() + static_cast<long>(folded) - 1);
      changes_.front() = merged;
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
