// Figures drawn with the drawing tools: each kept in bar and price coordinates, so it
// follows its bars when the view scrolls or zooms, in lists per pane formula. The lists
// are kept apart per stock and period for the whole session.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "chart/canvas.h"

namespace vorelin {

class PaneFormula;

// One stored figure (the chart's `XXLine` record).
struct XXLine {
  int tool = 0;
  std::string name;
  Colour colour = 0x00FFFF;
  int point_count = 0;
  PenStyle pen_style = PenStyle::kSolid;
  int pen_width = 1;
  int font_size = 8;
  std::string text;
  std::array<int, 3> bar{};
  std::array<float, 3> price{};
};

// The figures of every pane formula, one set per stock and period. The selected set is
// what the panes show; switching sets leaves the others untouched.
class FigureStore {
 public:
  void SelectSet(const std::string& key) { key_ = key; }
  const std::string& SelectedSet() const { return key_; }
  // The pane's figures in the selected set, in drawing order.
  std::vector<XXLine>& Of(const PaneFormula* pane) { return sets_[key_][pane]; }
  const std::vector<XXLine>* Find(const PaneFormula* pane) const;
  // Empties every pane's list of the selected set.
  void ClearSelectedSet() { sets_.erase(key_); }

 private:
  std::string key_;
  std::map<std::string, std::map<const PaneFormula*, std::vector<XXLine>>> sets_;
};

}  // namespace vorelin
