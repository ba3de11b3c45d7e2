// The chart control's information board: painting it beside the panes, its 跟踪 miniature
// charts, and the cursor information text handed to the host.
#include <algorithm>

#include "chart/background.h"
#include "chart/cursor_info_text.h"
#include "chart/gp.h"
#include "chart/pane_painter.h"
#include "market/stock_quote.h"

namespace vorelin {

namespace {

constexpr int kTrackingBarSpacing = 6;

void PaintChartBackground(Canvas& canvas, const PaneStyle& style) {
  if (style.fill_style == BackStyle::wNone) {
    canvas.FillRect(0, 0, canvas.Width(), canvas.Height(), style.background);
  } else {
    FillBackground(canvas, style.fill_colour, style.background, style.fill_style);
  }
}

}  // namespace

void TGP::SetBoardFont(const Font& font) {
  board_font_ = font;
  MarkDirty();
}

void TGP::SetBoardTrades(std::vector<BoardTrade> trades) {
  board_trades_ = std::move(trades);
  MarkDirty();
}

void TGP::DrawBoard(int chart_width) {
  auto board = back_buffer_->CreateBitmap(board_width_, height_);
  BoardInput input;
  input.record = &blocks_->stock_record;
  // Code and name only as the chart was given them: a masked stock stays masked here.
  input.label = StkLabel;
  input.name = StkName;
  input.zixuan = zixuan_;
  input.format = format_str_;
  input.board_font = board_font_;
  input.chart_font = style_.font;
  input.style = style_;
  input.line_colour = kline_flags_[0].frame_colour;
  input.reference = PrevClose();
  input.tab = info_str_;
  input.trades = &board_trades_;
  input.strip_height = kTabStripHeight;
  const BoardLayout layout = PaintBoard(*board, input);
  if (info_str_ == kBoardTabs[2]) DrawTracking(*board, layout);
  board_split_ = layout.split;
  board_tab_width_ = layout.tab_width;
  back_buffer_->Draw(chart_width, 0, *board);
}

void TGP::DrawTracking(Canvas& board, const BoardLayout& layout) {
  const int width = board_width_ - 2;
  const int top = layout.quote_bottom;
  const int strip = layout.strip_top;
  // Each miniature draws with its own copy of the pane's flags, so the pane keeps its axes.
  auto draw = [&](PaneFormula& formula, PaneFlags flags, int height, int y, int first_bar, double scale) {
    if (width <= 0 || height <= 0) return;
    auto bitmap = board.CreateBitmap(width, height);
    PaintChartBackground(*bitmap, style_);
    DrawPaneInput input;
    input.flags = flags;
    input.flags.cursor = false;
    input.style = style_;
    input.first_bar = first_bar;
    input.scale = scale;
    input.program_folder = ProgramFolder;
    DrawPane(*bitmap, formula, input);
    board.Draw(1, y, *bitmap);
  };
  if (show_fs_) {
    PaneFormula& price = *panes_[0];
    if (price.BarCount() <= 0) return;
    PaneFlags flags = kline_flags_[0];
    flags.left_axis = false;
    flags.bottom_axis = false;
    flags.title = true;
    const int first = std::max(0, price.BarCount() - width / kTrackingBarSpacing);
    draw(price, flags, strip - top - 4, top, first, kTrackingBarSpacing);
    return;
  }
  const int h1 = (strip - top - 8) * 2 / 3;
  PaneFlags price_flags = fs_flags_[0];
  price_flags.left_axis = false;
  price_flags.title = false;
  draw(*fs_panes_[0], price_flags, h1, top + 4, 0, scale_);
  PaneFlags volume_flags = fs_flags_[1];
  volume_flags.left_axis = false;
  volume_flags.title = false;
  volume_flags.bottom_axis = false;
  draw(*fs_panes_[1], volume_flags, strip - top - h1, top + h1, 0, scale_);
}

void TGP::HandCursorInfo() {
  CursorInfoInput input;
  input.reference = PrevClose();
  input.capital = ReadStockCapital(blocks_->stock_record);
  std::string text;
  if (show_fs_) {
    input.bar = fs_reports_[0].cursor_bar;
    text = TimeSharingCursorInfo(*fs_panes_[0], input);
  } else {
    input.bar = kline_reports_[0].cursor_bar;
    input.period = ZhouQi();
    for (int i = 0; i < tech_windows_; ++i) {
      const float value = kline_reports_[static_cast<size_t>(i)].cursor_value;
      if (value != static_cast<float>(kChartNoValue)) {
        input.cursor_value = value;
        break;
      }
    }
    input.ex_rights = panes_[0]->ExRightsEvents();
    input.hide_date = HideDates();
    input.trade_lines = TradeMarkTextsAt(input.bar);
    text = KLineCursorInfo(*panes_[0], input);
  }
  if (!text.empty()) host_->SetInfoWindowText(StkName, text);
}

}  // namespace vorelin
