// Repainting the chart control into its back buffer, the tab strip, and the chart images.
#include <algorithm>
#include <cctype>

#include "chart/background.h"
#include "chart/gp.h"
#include "chart/image_files.h"
#include "chart/pane_painter.h"
#include "formula/function_table.h"

namespace vorelin {

namespace {

bool EndsWithJpg(const std::string& file) {
  if (file.size() < 4) return false;
  std::string tail = file.substr(file.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".jpg";
}

Colour Lighter(Colour c) {
  return Rgb((RedOf(c) + 28) & 0xFF, (GreenOf(c) + 28) & 0xFF, (BlueOf(c) + 28) & 0xFF);
}

void PaintBackground(Canvas& canvas, const PaneStyle& style) {
  if (style.fill_style == BackStyle::wNone) {
    canvas.FillRect(0, 0, canvas.Width(), canvas.Height(), style.background);
  } else {
    FillBackground(canvas, style.fill_colour, style.background, style.fill_style);
  }
}

}  // namespace

void TGP::DrawOnePane(PaneFormula& formula, PaneFlags& flags, PaneReport& report, int width, int height,
                      int y0, int first_bar, int cursor_y, int cursor_x, double scale, Canvas& target) {
  if (width <= 0 || height <= 0) return;
  // Straight into the target where it can: a pane bitmap would be allocated, filled and
  // copied over on every repaint.
  std::unique_ptr<Canvas> band = target.Band(y0, width, height);
  const bool direct = band != nullptr;
  auto bitmap = direct ? std::move(band) : target.CreateBitmap(width, height);
  // A gradient starts from black, as a new bitmap is.
  if (direct && style_.fill_style != BackStyle::wNone) bitmap->FillRect(0, 0, width, height, 0);
  PaintBackground(*bitmap, style_);
  flags.focused = host_->HasFocus();
  DrawPaneInput input;
  input.flags = flags;
  input.style = style_;
  input.origin_x = 0;
  input.origin_y = y0;
  input.first_bar = first_bar;
  input.cursor_x = cursor_x;
  input.cursor_y = cursor_y;
  input.scale = scale;
  input.program_folder = ProgramFolder;
  input.figures = figures_.Find(&formula, IsTimeSharingPane(formula));
  if (flags.price_pane && &formula == panes_[0].get()) input.trade_marks = &trade_marks_;
  report = DrawPane(*bitmap, formula, input);
  if (!direct) target.Draw(0, y0, *bitmap);
}

void TGP::RepaintChart() {
  if (update_lock_) return;
  dirty_ = false;
  if (!SettleLayout()) return;
  const int chart_width = ChartWidth();
  const bool keyboard = cursor_.y == -2;
  if (!back_buffer_ || back_buffer_->Width() != width_ || back_buffer_->Height() != height_) {
    back_buffer_ = canvases_(width_, height_);
  }
  back_buffer_->SetFont(style_.font);
  kline_flags_[0].stock_name = StkName;
  kline_flags_[0].stock_label = StkLabel;
  for (PaneFlags& flags : kline_flags_) flags.period_label = Week;
  fs_flags_[0].stock_name = StkName;
  fs_flags_[0].stock_label = StkLabel;
  panes_[0]->SetStockTexts(StkName, StkLabel, Week);
  fs_panes_[0]->SetStockTexts(StkName, StkLabel, "");

  if (show_fs_) {
    const int price = fs_heights_[0];
    DrawOnePane(*fs_panes_[0], fs_flags_[0], fs_reports_[0], chart_width, price, 0, 0, cursor_.y, cursor_.x,
                scale_, *back_buffer_);
    const int volume_y = keyboard ? -2 : cursor_.y < price ? -1 : cursor_.y - price;
    DrawOnePane(*fs_panes_[1], fs_flags_[1], fs_reports_[1], chart_width, height_ - price, price, 0, volume_y,
                cursor_.x, scale_, *back_buffer_);
  } else {
    int y0 = 0;
    for (int i = 0; i < tech_windows_; ++i) {
      const auto index = static_cast<size_t>(i);
      const int cursor_y = keyboard ? -2 : (y0 < cursor_.y ? cursor_.y - y0 : -1);
      DrawOnePane(*panes_[index], kline_flags_[index], kline_reports_[index], chart_width, heights_[index], y0,
                  left_bar_, cursor_y, cursor_.x, scale_, *back_buffer_);
      y0 += heights_[index];
    }
    if (show_tab_) DrawTabStrip(chart_width);
  }
  if (show_board_) DrawBoard(chart_width);
  if (info_shown_) HandCursorInfo();
  if (drawing_tool_.Active() && drawing_tool_.Placed() > 0) DrawRubberBand();
  host_->ShowBuffer(*back_buffer_);
}

void TGP::PaintIfDirty() {
  if (dirty_) RepaintChart();
}

void TGP::DrawTabStrip(int chart_width) {
  auto strip = back_buffer_->CreateBitmap(chart_width, kTabStripHeight);
  strip->SetFont(style_.font);
  const Colour frame = kline_flags_[0].frame_colour;
  strip->SetPen({frame, 1, PenStyle::kSolid});
  strip->SetBrush({Lighter(style_.background), false});
  strip->Rectangle(0, 0, chart_width, kTabStripHeight);
  strip->SetTextBackground(false, 0);
  const std::string current = AsciiUpper(panes_[static_cast<size_t>(selected_)]->ShortName());
  const int text_y = (kTabStripHeight - strip->TextExtent("88").height) / 2;
  int x = 0;
  for (size_t k = 0; k < tab_names_.size() && k < tab_widths_.size(); ++k) {
    const std::string& name = tab_names_[k];
    const int width = strip->TextExtent(name).width + 9;
    tab_widths_[k] = width;
    if (width_ < x + width + 20) {
      strip->SetPen({frame, 1, PenStyle::kSolid});
      strip->SetBrush({0x008000, false});
      strip->Rectangle(x, 0, width_, kTabStripHeight);
      break;
    }
    if (static_cast<int>(k) == tab_category_) strip->FillRect(x, 0, x + width + 1, kTabStripHeight, 0x505050);
    strip->SetTextColour(name == current ? 0xFFFF00 : 0xFFFFFF);
    strip->TextOut(x + 4, text_y, name);
    strip->SetPen({frame, 1, PenStyle::kSolid});
    strip->MoveTo(x + width, 0);
    strip->LineTo(x + width, kTabStripHeight);
    x += width;
  }
  back_buffer_->Draw(0, height_ - kTabStripHeight, *strip);
}

bool TGP::SaveAllImage(const std::string& file) {
  const bool saved_tab = show_tab_;
  if (show_tab_) {
    show_tab_ = false;
    ProportionalRefit();
  }
  cursor_ = {-1, -1};
  RepaintChart();
  RgbImage image{width_, height_, std::vector<uint8_t>(static_cast<size_t>(width_) * height_ * 3)};
  if (back_buffer_) {
    auto picture = back_buffer_->CreateBitmap(width_, height_);
    picture->FillRect(0, 0, width_, height_, style_.background);
    picture->Draw(0, 0, *back_buffer_);
    image = picture->ReadPixels();
  }
  if (saved_tab) {
    // Back without painting: the tab strip shows again with the next paint.
    show_tab_ = true;
    ProportionalRefit();
    MarkDirty();
  }
  return EndsWithJpg(file) ? WriteJpegFile(file, image) : WriteBmpFile(file, image);
}

bool TGP::SavePaneImage(const std::string& file) {
  if (!back_buffer_) back_buffer_ = canvases_(std::max(width_, 1), std::max(height_, 1));
  const int height = show_fs_ ? fs_heights_[static_cast<size_t>(fs_selected_)]
                              : heights_[static_cast<size_t>(selected_)];
  if (width_ <= 0 || height <= 0) return false;
  auto picture = back_buffer_->CreateBitmap(width_, height);
  picture->FillRect(0, 0, width_, height, style_.background);
  if (show_fs_) {
    const auto index = static_cast<size_t>(fs_selected_);
    PaneFlags flags = fs_flags_[index];
    PaneReport report;
    DrawOnePane(*fs_panes_[index], flags, report, width_, height, 0, 0, -1, -1, scale_, *picture);
  } else {
    const auto index = static_cast<size_t>(selected_);
    PaneFlags flags = kline_flags_[index];
    PaneReport report;
    DrawOnePane(*panes_[index], flags, report, width_, height, 0, left_bar_, -1, -1, scale_, *picture);
  }
  return WriteBmpFile(file, picture->ReadPixels());
}

bool TGP::CopyToClipboard() {
  if (!back_buffer_) return false;
  return host_->PutOnClipboard(back_buffer_->ReadPixels());
}

}  // namespace vorelin
