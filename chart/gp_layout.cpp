// Pane heights, the visible window of bars and the hit test of the chart control.
#include <algorithm>

#include "chart/gp.h"
#include "common/numbers.h"

namespace vorelin {

void TGP::DefaultSplit() {
  const int available = AvailableHeight();
  const int n = tech_windows_;
  const int s = available / (n + 1);
  heights_[0] = 2 * s;
  for (int i = 1; i < n; ++i) heights_[static_cast<size_t>(i)] = s;
  int sum = 0;
  for (int i = 0; i < n; ++i) sum += heights_[static_cast<size_t>(i)];
  if (sum < available) heights_[static_cast<size_t>(n - 1)] += available - sum;
  layout_height_ = available;
}

void TGP::ProportionalRefit() {
  const int available = AvailableHeight();
  const int old = layout_height_ == 0 ? height_ : layout_height_;
  const int n = tech_windows_;
  const double ratio = static_cast<double>(available) / old;
  int sum = 0;
  for (int i = 0; i < n; ++i) {
    int& h = heights_[static_cast<size_t>(i)];
    h = TruncToInt(h * ratio);
    sum += h;
  }
  if (sum < available) {
    if (available - sum < available / (n + 1)) {
      heights_[static_cast<size_t>(n - 1)] += available - sum;
    } else {
      DefaultSplit();
    }
  }
  layout_height_ = available;
}

void TGP::ComputeVisibleWindow(int chart_width) {
  const int axes = (kline_flags_[0].left_axis ? 50 : 0) + (kline_flags_[0].right_axis ? 50 : 0);
  const int count = panes_[0]->BarCount();
  int k = (chart_width - axes) / scale_;
  if (k < 4) {
    scale_ = std::max(1, scale_ / 2);
    k = (chart_width - axes) / scale_;
  }
  if (chart_width != previous_width_) {
    left_bar_ = previous_first_bar_ + (previous_width_ - axes) / previous_scale_ - k;
    previous_width_ = chart_width;
  }
  if (scale_ != previous_scale_) {
    left_bar_ = previous_first_bar_ + (chart_width - axes) / previous_scale_ - k;
    previous_scale_ = scale_;
  }
  if (count < left_bar_ + k) left_bar_ = std::max(0, count - k);
  left_bar_ = std::max(0, left_bar_);
}

bool TGP::SettleLayout() {
  const int chart_width = ChartWidth();
  const bool keyboard = cursor_.y == -2;
  if (cursor_.x > chart_width && !keyboard) cursor_ = {-1, -1};
  if (chart_width <= 9 || height_ <= 9) return false;
  if (heights_[0] == 0) DefaultSplit();
  if (show_fs_) {
    if (fs_heights_[0] == 0) {
      fs_heights_[0] = height_ * 2 / 3;
      fs_heights_[1] = height_ - fs_heights_[0];
    }
    const int left = fs_flags_[0].left_axis ? 50 : 0;
    const int right = fs_flags_[0].right_axis ? 50 : 0;
    if (!keyboard && (cursor_.x < left || cursor_.x > chart_width - right)) cursor_ = {-1, -1};
    previous_width_ = chart_width;
  } else {
    ComputeVisibleWindow(chart_width);
    previous_first_bar_ = left_bar_;
  }
  return true;
}

void TGP::SetCursorPoint(int x, int y) {
  cursor_ = {x, y};
  MarkDirty();
}

void TGP::HitTest(int x, int y) {
  wei_style_ = TWeiStyle::wsNone;
  hit_pane_ = nullptr;
  int w = width_;
  const int h = height_;
  if (show_board_) {
    const int board = w - board_width_;
    if (Inside(x, y, board, 0, w, h)) {
      wei_style_ = TWeiStyle::wsInfo;
      cursor_ = {-1, -1};
    }
    if (Inside(x, y, board, board_split_, w, h - kTabStripHeight)) {
      wei_style_ = TWeiStyle::wsFenJia;
      cursor_ = {-1, -1};
    }
    if (Inside(x, y, board, h - kTabStripHeight, w, h)) wei_style_ = TWeiStyle::wsBTab;
    if (Inside(x, y, board - 1, 0, board + 1, h)) wei_style_ = TWeiStyle::wsBSize;
    w -= board_width_ + 2;
  }
  if (show_fs_) {
    const int right = w - 50 * (fs_flags_[0].right_axis ? 1 : 0);
    const int price = fs_heights_[0];
    if (Inside(x, y, 0, 0, right, price)) {
      wei_style_ = TWeiStyle::wsFS;
      hit_pane_ = fs_panes_[0].get();
    }
    if (Inside(x, y, 0, price, right, h)) {
      wei_style_ = TWeiStyle::wsVol;
      hit_pane_ = fs_panes_[1].get();
    }
    if (Inside(x, y, 0, price - 1, w, price + 1)) wei_style_ = TWeiStyle::wsFSize;
  } else if (tech_windows_ == 1) {
    // Within the chart area only, so that the board keeps its own regions.
    if (Inside(x, y, 0, 0, w, h)) {
      wei_style_ = Inside(x, y, 0, h - kTabStripHeight, w, h) ? TWeiStyle::wsTab : TWeiStyle::wsGS1;
      hit_pane_ = panes_[0].get();
    }
  } else {
    if (Inside(x, y, 0, h - kTabStripHeight, w, h)) wei_style_ = TWeiStyle::wsTab;
    if (wei_style_ == TWeiStyle::wsNone) {
      int y0 = 0;
      for (int i = 0; i < tech_windows_; ++i) {
        const auto index = static_cast<size_t>(i);
        const int right = w - 50 * (kline_flags_[index].right_axis ? 1 : 0);
        if (Inside(x, y, 0, y0 + 1, right, y0 + heights_[index] - 1)) {
          wei_style_ = static_cast<TWeiStyle>(static_cast<int>(TWeiStyle::wsGS1) + i);
          hit_pane_ = panes_[index].get();
          break;
        }
        y0 += heights_[index];
      }
    }
    if (wei_style_ == TWeiStyle::wsNone) {
      int y0 = heights_[0];
      for (int i = 1; i < tech_windows_; ++i) {
        const auto index = static_cast<size_t>(i);
        const int right = w - 50 * (kline_flags_[index].right_axis ? 1 : 0);
        if (Inside(x, y, 0, y0 - 1, right, y0 + 1)) {
          wei_style_ = TWeiStyle::wsKSize;
          break;
        }
        y0 += heights_[index];
      }
    }
  }
  if (wei_style_ == TWeiStyle::wsFSize || wei_style_ == TWeiStyle::wsKSize) {
    host_->SetPointer(PointerShape::kVerticalSplit);
  } else if (wei_style_ == TWeiStyle::wsBSize) {
    host_->SetPointer(PointerShape::kHorizontalSplit);
  } else {
    host_->SetPointer(drawing_tool_.Active() ? PointerShape::kDrawing : PointerShape::kDefault);
  }
}

}  // namespace vorelin
