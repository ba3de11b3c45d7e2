// The chart's context menu as plain data: captions in order, tags, shortcuts, check marks
// and submenus. The window renders it and hands the chosen caption to TGP::DoMenuCommand.
#pragma once

#include <string>
#include <vector>

namespace vorelin {

enum class MenuAction {
  kNone,  // separators and submenu headers
  kUsageNotes, kAdjustParameters, kEditFormula, kRestoreDefault, kLoadFormula,
  kSaveRawData, kLoadRawData, kSaveTable, kSaveCsv, kSaveCsvAll,
  kHighDefinition, kBar3d, kSavePaneImage, kSaveAllImage, kCopyToClipboard,
  kGradient, kForeground, kBackground, kNoBackground,
  kCandle, kAmerican,
  kToggleCursor, kToggleTab, kToggleBoard, kToggleFs, kToggleFsAll, kToggleFsFull,
  kToggleTop, kToggleBottom, kToggleRight, kToggleLeft,
  kIndicator, kPaneCount, kRemovePane
};

struct ChartMenuItem {
  std::string caption;  // "-" for a separator
  int tag = 0;
  MenuAction action = MenuAction::kNone;
  std::string shortcut;  // drawn right-aligned, e.g. "Alt+1"
  bool checkable = false;
  bool checked = false;
  bool enabled = true;
  std::vector<ChartMenuItem> items;  // a submenu's entries
};
using ChartMenu = std::vector<ChartMenuItem>;

inline constexpr int kGradientTagBase = 20480;   // + the BackStyle value
inline constexpr int kPaneCountTagBase = 6000;   // + the number of panes
inline constexpr int kIndicatorTagBase = 8000;   // + the position in the tab list
inline constexpr int kFirstIndicatorTab = 3;     // the category tabs come first

// The whole menu; its indicator submenu lists `tab_names` from the first indicator tab on.
ChartMenu BuildChartMenu(const std::vector<std::string>& tab_names);
// Refills the indicator submenu from a rebuilt tab list.
void SetIndicatorItems(ChartMenu& menu, const std::vector<std::string>& tab_names);
// The first item, depth first in menu order, with exactly this caption or this action;
// nullptr when there is none.
ChartMenuItem* FindMenuItem(ChartMenu& menu, const std::string& caption);
ChartMenuItem* FindMenuItem(ChartMenu& menu, MenuAction action);

}  // namespace vorelin
