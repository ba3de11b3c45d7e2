// Price adjustment for ex-rights events. The unadjusted prices are kept as Q_HIGH, Q_LOW,
// Q_CLOSE and Q_OPEN in a store that recompiling leaves alone, so prices are always adjusted
// from the originals and never twice.
#include <algorithm>
#include <array>

#include "formula/interpreter.h"

namespace vorelin {

namespace {

constexpr std::array<const char*, 4> kPrices = {"high", "low", "close", "open"};

// The bar with the date, or between two bars the later one; -1 outside the data.
int FindBar(const Tbian& dates, int date) {
  const int n = dates.count;
  if (n == 0 || date < dates.values[0] || date > dates.values[n - 1]) return -1;
  int lo = 0;
  int hi = n - 1;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (dates.values[mid] < date) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

}  // namespace

void TGS::SetExRights(std::vector<ExRightsRecord> records) {
  if (records.size() > static_cast<size_t>(kExRightsCapacity)) records.resize(kExRightsCapacity);
  exRights_ = std::move(records);
}

bool TGS::SetAdjustment(int type) {
  adjustmentType_ = type;
  if (!ApplyAdjustment()) return false;
  Run();
  return true;
}

// Restores the originals (saving them first on fresh data) and applies the recorded type.
// True when the prices were restored and, for types 1 and 2, at least one record applied.
bool TGS::ApplyAdjustment() {
  if (exRights_.empty()) return false;
  Tbian* dates = FindSeries("date");
  std::array<Tbian*, 4> prices{};
  for (size_t k = 0; k < kPrices.size(); ++k) {
    prices[k] = FindSeries(kPrices[k]);
    if (prices[k] == nullptr) return false;
  }
  if (dates == nullptr) return false;

  journal_->Record(0);
  for (size_t k = 0; k < kPrices.size(); ++k) {
    Tbian& price = *prices[k];
    const std::string originalName = std::string("q_") + kPrices[k];
    Tbian* original = originals_->Find(originalName);
    if (original == nullptr) original = &originals_->Add(originalName);
    // Bars appended since the originals were saved arrive unadjusted: they extend them.
    const int saved = std::min(original->count, price.count);
    original->values.resize(static_cast<size_t>(price.count));
    std::copy(price.values.begin() + saved, price.values.begin() + price.count,
              original->values.begin() + saved);
    original->count = price.count;
    std::copy(original->values.begin(), original->values.begin() + price.count,
              price.values.begin());
  }
  if (adjustmentType_ == 0) return true;

  std::array<ExRightsRecord, kExRightsCapacity> slots{};
  std::copy(exRights_.begin(), exRights_.end(), slots.begin());
  bool applied = false;
  auto apply = [&](const ExRightsRecord& record, bool forward) {
    const int bar = FindBar(*dates, record.date);
    if (bar <= 0) return;
    const float h = 1.0f + record.bonus / 10.0f + record.rights / 10.0f;
    const float l = record.rights * record.rightsPrice / 10.0f - record.cash / 10.0f;
    for (Tbian* price : prices) {
      const int from = forward ? 0 : bar;
      const int to = forward ? bar : price->count;
      for (int i = from; i < to; ++i) {
        const float v = static_cast<float>(price->values[i]);
        price->values[i] = forward ? (v + l) / h : v * h - l;
      }
    }
    applied = true;
  };
  if (adjustmentType_ == 2) {
    for (int k = kExRightsCapacity - 1; k >= 0; --k) {
      if (slots[k].flag == 1) apply(slots[k], true);
    }
  } else if (adjustmentType_ == 1) {
    for (int k = 0; k < kExRightsCapacity && slots[k].flag != 0; ++k) apply(slots[k], false);
  }
  return applied;
}

}  // namespace vorelin
