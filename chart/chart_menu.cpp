// The context menu's items in the order the user sees them.
#include "chart/chart_menu.h"

namespace vorelin {

namespace {

ChartMenuItem Item(std::string caption, MenuAction action, bool checkable = false) {
  ChartMenuItem item;
  item.caption = std::move(caption);
  item.action = action;
  item.checkable = checkable;
  return item;
}

ChartMenuItem Separator() { return Item("-", MenuAction::kNone); }

ChartMenuItem Submenu(std::string caption, std::vector<ChartMenuItem> items) {
  ChartMenuItem item = Item(std::move(caption), MenuAction::kNone);
  item.items = std::move(items);
  return item;
}

std::vector<ChartMenuItem> GradientItems() {
  const char* const kCaptions[] = {"取消渐变", "左到右",     "右到左",     "上到下",     "下到上",
                                   "左上到右下", "左下到右上", "右上到左下", "右下到左上", "中间扩散"};
  std::vector<ChartMenuItem> items;
  for (int k = 0; k < 10; ++k) {
    items.push_back(Item(kCaptions[k], MenuAction::kGradient));
    items.back().tag = kGradientTagBase + k;
  }
  return items;
}

std::vector<ChartMenuItem> SwitchItems() {
  return {Item("显示光标", MenuAction::kToggleCursor),   Item("显示指标栏", MenuAction::kToggleTab),
          Item("显示信息板", MenuAction::kToggleBoard),  Item("切换分时图", MenuAction::kToggleFs),
          Item("分时全高", MenuAction::kToggleFsAll),    Item("分时全宽", MenuAction::kToggleFsFull),
          Item("显示上边", MenuAction::kToggleTop),      Item("显示下边", MenuAction::kToggleBottom),
          Item("显示右边", MenuAction::kToggleRight),    Item("显示左边", MenuAction::kToggleLeft)};
}

std::vector<ChartMenuItem> PaneCountItems() {
  const char* const kNumerals[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
  std::vector<ChartMenuItem> items;
  for (int count = 1; count <= 10; ++count) {
    items.push_back(Item(std::string(kNumerals[count - 1]) + "个窗口", MenuAction::kPaneCount));
    items.back().tag = kPaneCountTagBase + count;
    items.back().shortcut = "Alt+" + std::to_string(count % 10);
  }
  return items;
}

ChartMenuItem* FindIn(std::vector<ChartMenuItem>& items, const std::string* caption, MenuAction action) {
  for (ChartMenuItem& item : items) {
    if (caption != nullptr ? item.caption == *caption : item.action == action) return &item;
    if (ChartMenuItem* found = FindIn(item.items, caption, action)) return found;
  }
  return nullptr;
}

}  // namespace

ChartMenu BuildChartMenu(const std::vector<std::string>& tab_names) {
  ChartMenu menu = {
      Item("指标用法注释", MenuAction::kUsageNotes),
      Item("调整指标参数", MenuAction::kAdjustParameters),
      Item("修改指标公式", MenuAction::kEditFormula),
      Item("恢复默认指标", MenuAction::kRestoreDefault),
      Item("加载指标公式", MenuAction::kLoadFormula),
      Separator(),
      Item("保存原始数据", MenuAction::kSaveRawData),
      Item("加载原始数据", MenuAction::kLoadRawData),
      Item("保存指标数据", MenuAction::kSaveTable),
      Item("保存EXCEL", MenuAction::kSaveCsv),
      Item("保存全部EXCEL", MenuAction::kSaveCsvAll),
      Separator(),
      Item("高清图像", MenuAction::kHighDefinition, true),
      Item("立体图", MenuAction::kBar3d, true),
      Item("保存指标图像", MenuAction::kSavePaneImage),
      Item("保存整个图像", MenuAction::kSaveAllImage),
      Item("保存到粘贴板", MenuAction::kCopyToClipboard),
      Separator(),
      Submenu("背景渐变", GradientItems()),
      Item("前景色", MenuAction::kForeground),
      Item("背景色", MenuAction::kBackground),
      Item("取消背景", MenuAction::kNoBackground),
      Separator(),
      Item("普通K线", MenuAction::kCandle, true),
      Item("美国线", MenuAction::kAmerican, true),
      Separator(),
      Submenu("部分设置", SwitchItems()),
      Submenu("技术指标", {}),
      Submenu("窗口个数", PaneCountItems()),
      Item("删除窗口", MenuAction::kRemovePane),
  };
  for (size_t i = 0; i < menu.size(); ++i) menu[i].tag = static_cast<int>(i) + 1;
  SetIndicatorItems(menu, tab_names);
  return menu;
}

void SetIndicatorItems(ChartMenu& menu, const std::vector<std::string>& tab_names) {
  const std::string header = "技术指标";
  ChartMenuItem* submenu = FindMenuItem(menu, header);
  if (submenu == nullptr) return;
  submenu->items.clear();
  for (size_t position = kFirstIndicatorTab; position < tab_names.size(); ++position) {
    submenu->items.push_back(Item(tab_names[position], MenuAction::kIndicator));
    submenu->items.back().tag = kIndicatorTagBase + static_cast<int>(position);
  }
}

ChartMenuItem* FindMenuItem(ChartMenu& menu, const std::string& caption) {
  return FindIn(menu, &caption, MenuAction::kNone);
}

ChartMenuItem* FindMenuItem(ChartMenu& menu, MenuAction action) { return FindIn(menu, nullptr, action); }

}  // namespace vorelin
