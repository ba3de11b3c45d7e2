// Cost distribution: COST(N) and WINNER(P) build a volume-by-price table bar by bar from
// high, low and volume and read it after every bar.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "formula/functions/argument_values.h"
#include "formula/functions/families.h"
#include "formula/interpreter.h"

namespace vorelin {

namespace {

constexpr double M = kNoValue;
constexpr size_t kSlotCapacity = 20'001;

// Accumulated volume per price, prices rounded to 0.1 and kept ascending.
class PriceTable {
 public:
  // Spreads the bar's volume over `steps` equal price steps from low up to high. A bar with
  // high = low only adds to the total. When the table is full, a share for a new price
  // counts in the total but has no slot.
  void AddBar(double high, double low, double volume, int steps) {
    total_ += volume;
    const double share = volume / steps;
    const double step = (high - low) / steps;
    if (!(step > 0) || !std::isfinite(step)) return;
    double p = low;
    // Summing the steps in doubles can leave p just below high after `steps` steps, which
    // adds one step; a step too small to move p must not loop for ever.
    for (int k = 0; k <= steps && p < high; ++k, p += step) {
      Add(std::rint(p * 10) / 10, share);  // to nearest, ties to even
    }
  }

  // The price of the first slot below which more than percent/100 of the volume lies; 0 when
  // there is none. No value without any volume.
  double Cost(double percent) const {
    if (total_ == 0) return M;
    double below = 0;
    for (const Slot& slot : slots_) {
      if (below / total_ > percent / 100) return slot.price;
      below += slot.volume;
    }
    return 0;
  }

  // The share of the volume at prices not above `price`. No value without any volume.
  double Winner(double price) const {
    if (total_ == 0) return M;
    double below = 0;
    for (const Slot& slot : slots_) {
      if (slot.price > price) break;
      below += slot.volume;
    }
    return below / total_;
  }

 private:
  struct Slot {
    double price;
    double volume;
  };

  // The steps of a bar climb through neighbouring prices, so the slot of the previous step
  // or the one after it is tried before a search.
  void Add(double price, double share) {
    for (size_t k = last_; k < slots_.size() && k <= last_ + 1; ++k) {
      if (slots_[k].price == price) {
        slots_[k].volume += share;
        last_ = k;
        return;
      }
    }
    auto at = std::lower_bound(slots_.begin(), slots_.end(), price,
                               [](const Slot& slot, double p) { return slot.price < p; });
    last_ = static_cast<size_t>(at - slots_.begin());
    if (at != slots_.end() && at->price == price) {
      at->volume += share;
    } else if (slots_.size() < kSlotCapacity) {
      slots_.insert(at, {price, share});
    }
  }

  std::vector<Slot> slots_;
  size_t last_ = 0;
  double total_ = 0;
};

bool Distribution(TGS& gs, const std::string& result, const std::vector<std::string>& args,
                  bool cost) {
  const char* name = cost ? "COST(N)" : "WINNER(N)";
  const Tbian* high = gs.FindSeries("high");
  const Tbian* low = gs.FindSeries("low");
  const Tbian* vol = gs.FindSeries("vol");
  if (high == nullptr || low == nullptr || vol == nullptr) {
    gs.SetError(std::string(name) + "需要最高，最低，成交量三种原始数据!");
    return false;
  }
  ArgumentReader in(gs, args, name, "未定义!");
  Operand argument;
  if (!in.Value(0, "N", argument)) return false;

  const int count = gs.BarCount();
  const BarInput h(Operand{high}, result, count), l(Operand{low}, result, count),
      v(Operand{vol}, result, count), a(argument, result, count);
  const int steps = cost ? 10 : 100;
  PriceTable table;
  Tbian& out = gs.CreateResult(result, count);
  for (int t = 0; t < count; ++t) {
    table.AddBar(h[t], l[t], v[t], steps);
    if (a[t] == M) {
      out.values[t] = M;
    } else {
      out.values[t] = cost ? table.Cost(a[t]) : table.Winner(a[t]);
    }
  }
  ReplaceNonFinite(out);
  return true;
}

bool Cost(TGS& gs, const std::string& result, const std::string&,
          const std::vector<std::string>& args) {
  return Distribution(gs, result, args, true);
}

bool Winner(TGS& gs, const std::string& result, const std::string&,
            const std::vector<std::string>& args) {
  return Distribution(gs, result, args, false);
}

constexpr LibraryEntry kEntries[] = {{"cost", Cost}, {"winner", Winner}};

}  // namespace

LibraryFamily CostFamily() { return {kEntries}; }

}  // namespace vorelin
