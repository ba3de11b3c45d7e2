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

// The figures of every pane formula, one set per stock and period, and for the panes of
// one day's minutes one set per stock and day. The selected set is what the panes show;
// switching sets leaves the others untouched.
class FigureStore {
 public:
  void SelectSet(const std::string& key) { key_ = key; }
  const std::string& SelectedSet() const { return key_; }
  void SelectDay(int date) { day_ = date; }
  int SelectedDay() const { return day_; }
  // The pane's figures in the selected set (of the selected day for a day's pane), in
  // drawing order.
  std::vector<XXLine>& Of(const PaneFormula* pane, bool day_pane) { return sets_[SetKey(day_pane)][pane]; }
  const std::vector<XXLine>* Find(const PaneFormula* pane, bool day_pane) const;
  // Empties every pane's list of the selected set and of its selected day.
  void ClearSelectedSet();

 private:
  std::string SetKey(bool day_pane) const;

  std::string key_;
  int day_ = 0;
  std::map<std::string, std::map<const PaneFormula*, std::vector<XXLine>>> sets_;
};

}  // namespace vorelin
