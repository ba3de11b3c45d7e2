// Lookup of a pane's figures without creating an empty list.
#include "chart/figures.h"

namespace vorelin {

const std::vector<XXLine>* FigureStore::Find(const PaneFormula* pane) const {
  const auto set = sets_.find(key_);
  if (set == sets_.end()) return nullptr;
  const auto list = set->second.find(pane);
  return list == set->second.end() ? nullptr : &list->second;
}

}  // namespace vorelin
