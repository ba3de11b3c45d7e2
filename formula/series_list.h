// The interpreter's list of named series: kept in the order they were made (exports list
// them so) and found by name through a hash index, since a long formula makes thousands.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "formula/series.h"

namespace vorelin {

class SeriesList {
 public:
  using Items = std::vector<std::unique_ptr<Tbian>>;

  // The series of that (lower-case) name, or null.
  Tbian* Find(std::string_view lowerName) const {
    const auto found = byName_.find(lowerName);
    return found != byName_.end() ? found->second : nullptr;
  }
  // Appends a series without values; the caller has made sure the name is new.
  Tbian& Add(std::string lowerName) {
    auto series = std::make_unique<Tbian>();
    series->name = std::move(lowerName);
    byName_.emplace(series->name, series.get());
    items_.push_back(std::move(series));
    return *items_.back();
  }
  void clear() {
    byName_.clear();
    items_.clear();
  }
  bool empty() const { return items_.empty(); }
  Tbian& front() const { return *items_.front(); }
  Items::const_iterator begin() const { return items_.begin(); }
  Items::const_iterator end() const { return items_.end(); }

 private:
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
  };

  Items items_;
  std::unordered_map<std::string, Tbian*, NameHash, std::equal_to<>> byName_;
};

}  // namespace vorelin
