// Lookup of a pane's figures without creating an empty list, and the sets' keys.
#include "chart/figures.h"

namespace vorelin {

std::string FigureStore::SetKey(bool day_pane) const {
  return day_pane ? key_ + "|day " + std::to_string(day_) : key_;
}

const std::vector<XXLine>* FigureStore::Find(const PaneFormula* pane, bool day_pane) const {
  const auto set = sets_.find(SetKey(day_pane));
  if (set == sets_.end()) return nullptr;
  const auto list = set->second.find(pane);
  return list == set->second.end() ? nullptr : &list->second;
}

void FigureStore::ClearSelectedSet() {
  sets_.erase(SetKey(false));
  sets_.erase(SetKey(true));
}

}  // namespace vorelin
