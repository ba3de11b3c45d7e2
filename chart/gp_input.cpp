// The chart control's mouse and keys: selecting panes and tabs, dragging the view, pane
// borders and the board edge, zooming, the keyboard cursor and the information window.
#include <algorithm>
#include <cstdint>

#include "chart/gp.h"
#include "common/numbers.h"

namespace vorelin {

namespace {

constexpr int kMinPaneHeight = 21;
constexpr int kMinBoardWidth = 150;  // exclusive
constexpr int kMinFsPriceHeight = 101;

bool IsDigit(ChartKey key) { return key >= ChartKey::kDigit0 && key <= ChartKey::kDigit9; }

}  // namespace

void TGP::MouseDown(MouseButton button, int x, int y) {
  if (!host_->HasFocus()) host_->RequestFocus();
  drag_ = {x, y};
  if (drawing_tool_.Active()) {
    DrawingPress(x, y);
    return;
  }
  HitTest(x, y);
  const int region = static_cast<int>(wei_style_);
  const int first_pane = static_cast<int>(TWeiStyle::wsGS1);
  switch (wei_style_) {
    case TWeiStyle::wsBTab: {
      // The board has not told its tab width before its first paint.
      if (board_tab_width_ > 0) {
        const int k = (x + board_width_ - width_) / board_tab_width_;
        if (k >= 0 && k < 3) info_str_ = kBoardTabs[k];
      }
      MarkDirty();
      return;
    }
    case TWeiStyle::wsTab:
      ClickTab(x);
      return;
    case TWeiStyle::wsFS:
    case TWeiStyle::wsVol:
      fs_selected_ = wei_style_ == TWeiStyle::wsFS ? 0 : 1;
      MarkDirty();
      break;
    default:
      if (region >= first_pane && region < first_pane + kPaneCount) SelectPane(region - first_pane);
      break;
  }
  host_->MouseDown(button, x, y);
}

void TGP::ClickTab(int x) {
  int right = 0;
  for (size_t k = 0; k < tab_names_.size() && k < tab_widths_.size(); ++k) {
    right += tab_widths_[k];
    if (width_ < right + 20) return;  // the strip draws no tab there
    if (right <= x) continue;
    if (k < static_cast<size_t>(kFirstIndicatorTab)) {
      SetTabCategory(static_cast<int>(k));
    } else if (LoadIndicator(*panes_[static_cast<size_t>(selected_)], tab_names_[k])) {
      MarkDirty();
    }
    return;
  }
}

void TGP::SetTabCategory(int category) {
  if (category == tab_category_) return;
  tab_category_ = category;
  static const int kLibraryTabs[] = {1, -1, 2};
  tab_names_ = {"指标", "全部", "高级"};
  for (const std::string& name : library_.Names(kLibraryTabs[category])) tab_names_.push_back(name);
  SetIndicatorItems(menu_, tab_names_);
  MarkDirty();
}

void TGP::MouseMove(unsigned buttons, int x, int y) {
  if (!host_->HasFocus() && !host_->InfoWindowIsForeground()) return;
  cursor_ = {x, y};
  if (drawing_tool_.Placed() > 0) {
    DrawingMove(x, y);
    return;
  }
  if (drag_.x < 0) {
    HitTest(x, y);
    if (ShowCursor()) MarkDirty();
    host_->MouseMove(buttons, x, y);
    return;
  }
  Drag(x, y);
  MarkDirty();
}

void TGP::Drag(int x, int y) {
  switch (wei_style_) {
    case TWeiStyle::wsBSize: {
      const int board = width_ - x;
      if (board > kMinBoardWidth && board < width_ * 4 / 5) board_width_ = board;
      return;
    }
    case TWeiStyle::wsFSize: {
      const int price = y + fs_heights_[0] - drag_.y;
      if (price < kMinFsPriceHeight || price >= height_ * 4 / 5) return;
      fs_heights_[0] = price;
      fs_heights_[1] = height_ - price;
      drag_.y = y;
      return;
    }
    case TWeiStyle::wsKSize: {
      int y0 = heights_[0];
      for (int i = 1; i < tech_windows_; ++i) {
        const auto below = static_cast<size_t>(i);
        const int right = width_ - (kline_flags_[below].right_axis ? 50 : 0);
        if (Inside(drag_.x, drag_.y, 0, y0 - 1, right, y0 + 1)) {
          const int delta = y - drag_.y;
          int& upper = heights_[below - 1];
          int& lower = heights_[below];
          if (upper + delta >= kMinPaneHeight && lower - delta >= kMinPaneHeight) {
            upper += delta;
            lower -= delta;
            drag_.y = y;
          }
          return;
        }
        y0 += heights_[below];
      }
      return;
    }
    default:
      // One bar per pixel: dragging to the right shows older bars.
      left_bar_ = std::max(0, left_bar_ + drag_.x - x);
      drag_.x = x;
      return;
  }
}

void TGP::MouseUp(MouseButton button, int x, int y) {
  drag_ = {-1, -1};
  if (drawing_tool_.Active()) {
    DrawingRelease(x, y);
    return;
  }
  host_->MouseUp(button, x, y);
}

void TGP::DoubleClick(int x, int y) {
  if (show_hint_ && (wei_style_ == TWeiStyle::wsGS1 || wei_style_ == TWeiStyle::wsFS)) {
    if (info_shown_) {
      SetShowCursor(false);
    } else {
      ShowInfoWindow(false);
      SetShowCursor(true);
    }
    return;
  }
  host_->DoubleClick(x, y);
  if (ONGPDBClick) ONGPDBClick(wei_style_);
}

void TGP::MouseWheel(int delta) {
  const auto low = static_cast<int8_t>(static_cast<uint8_t>(delta & 0xFF));
  if (low == 120 && ONMouseWheelUp) ONMouseWheelUp();
  if (low == -120 && ONMouseWheelDown) ONMouseWheelDown();
}

void TGP::FocusLost() {
  if (!host_->InfoWindowIsForeground()) {
    if (info_shown_) host_->HideInfoWindow();
    info_shown_ = false;
    cursor_ = {-1, -1};
  }
  drag_ = {-1, -1};
  MarkDirty();
}

void TGP::KeyDown(ChartKey key, KeyModifiers modifiers) {
  if (modifiers.alt && IsDigit(key)) {
    const int digit = static_cast<int>(key) - static_cast<int>(ChartKey::kDigit0);
    SetTechWindows(digit == 0 ? 10 : digit);
    return;
  }
  switch (key) {
    case ChartKey::kEnter: {
      if (!ShowCursor() || show_fs_) return;
      PaneFormula& price = *panes_[0];
      const int k = kline_reports_[0].cursor_bar;
      const SeriesView date = price.FindSeries("date");
      const SeriesView close = price.FindSeries("Close");
      if (k > 0 && k < price.BarCount() && date && close && k < date.count && k < close.count && OnGPDate) {
        OnGPDate(TruncToInt(date[k]), static_cast<float>(close[k]));
      }
      return;
    }
    case ChartKey::kUp:
      if (!show_fs_ && scale_ * 6 < ChartWidth()) {
        scale_ += 3;
        MarkDirty();
      }
      return;
    case ChartKey::kDown:
      if (!show_fs_ && scale_ > 1) {
        scale_ = std::max(scale_ - 3, 3);
        MarkDirty();
      }
      return;
    case ChartKey::kLeft:
    case ChartKey::kRight:
      if (show_hint_) StepKeyboardCursor(key == ChartKey::kLeft);
      return;
    default:
      host_->KeyDown(key, modifiers);
      return;
  }
}

void TGP::StepKeyboardCursor(bool left) {
  PaneFormula& pane = show_fs_ ? *fs_panes_[0] : *panes_[0];
  const int count = pane.BarCount();
  int c = show_fs_ ? fs_reports_[0].cursor_bar : kline_reports_[0].cursor_bar;
  const bool shown = ShowCursor();
  if (!shown) {
    ShowInfoWindow(true);
    c = left ? count - 1 : show_fs_ ? 0 : left_bar_;
  }
  if (left && show_fs_) {
    if (c > 240) c = 239;
    c = shown ? std::max(c - 1, 0) : count - 1;
  } else if (left) {
    if (c >= count) c = count - 1;
    c = std::max(c - 1, 0);
    if (c < left_bar_) {
      if (left_bar_ < 1) {
        c = 0;
      } else {
        --left_bar_;  // the view scrolls with the cursor
      }
    }
  } else if (show_fs_) {
    if (c < std::min(count - 1, 239)) ++c;
  } else {
    if (c < count - 1) ++c;
    const int right_edge = scale_ + scale_ * (c - left_bar_) + (show_left_ ? 50 : 0);
    if (right_edge > ChartWidth() && c < count) ++left_bar_;
  }
  cursor_ = {c, -2};
  hit_pane_ = &pane;
  SetShowCursor(true);
}

void TGP::ShowInfoWindow(bool move_mouse) {
  if (move_mouse) host_->MoveMousePointer(-5, -5);
  InfoWindowPlacement placement;
  placement.place = !info_placed_;
  if (show_fs_) {
    placement.x = 80;
    placement.y = fs_heights_[0] / 2 + 10;
    placement.height = 120;
  } else {
    placement.x = 30;
    placement.y = heights_[0] * 2 / 3;
    placement.height = 215;
  }
  host_->ShowInfoWindow(placement);
  info_placed_ = true;
  info_shown_ = true;
}

}  // namespace vorelin
