// The chart control: creation, properties, feeding data and loading formulas.
#include "chart/gp.h"

#include <algorithm>

#include "chart/quote_blocks.h"

namespace vorelin {

namespace {
// Stands in for the window of a chart drawn offscreen: no focus, no dialogs, nothing shown.
ChartHost& WindowlessHost() {
  struct Windowless final : ChartHost {
    void ShowBuffer(const Canvas&) override {}
  };
  static Windowless host;
  return host;
}
}  // namespace

TGP::TGP(int width, int height, CanvasFactory canvases, PaneFormulaFactory formulas,
         const IndicatorLibrary& library, ChartHost* host)
    : width_(width), height_(height), canvases_(std::move(canvases)), library_(library),
      host_(host != nullptr ? host : &WindowlessHost()),
      blocks_(std::make_unique<ChartBlocks>()), previous_width_(width) {
  fs_panes_[0] = formulas(nullptr);
  fs_panes_[1] = formulas(fs_panes_[0].get());
  for (auto& pane : fs_panes_) pane->ExcludeFromAdjustment();
  panes_[0] = formulas(nullptr);
  for (int i = 1; i < kPaneCount; ++i) panes_[static_cast<size_t>(i)] = formulas(panes_[0].get());

  PaneFlags& fs_price = fs_flags_[0];
  fs_price.price_pane = true;
  fs_price.right_axis = true;
  PaneFlags& fs_volume = fs_flags_[1];
  fs_volume.title = false;
  fs_volume.right_axis = true;
  fs_volume.bottom_axis = true;
  for (int i = 0; i < kPaneCount; ++i) {
    PaneFlags& flags = kline_flags_[static_cast<size_t>(i)];
    flags.time_sharing = false;
    flags.period = TWeekStyle::wsDay;
    panes_[static_cast<size_t>(i)]->SetPeriodCode(static_cast<int>(TWeekStyle::wsDay));
  }
  kline_flags_[0].price_pane = true;
  kline_flags_[0].left_axis = false;
  kline_flags_[0].right_axis = true;
  kline_flags_[0].selected = true;
  kline_flags_[2].bottom_axis = true;
  Week = PeriodName(TWeekStyle::wsDay);
  for (auto& pane : fs_panes_) pane->AttachBlocks(blocks_.get());
  for (auto& pane : panes_) pane->AttachBlocks(blocks_.get());

  tab_names_ = {"指标", "全部", "高级"};
  for (const std::string& name : library_.Names(1)) tab_names_.push_back(name);
  menu_ = BuildChartMenu(tab_names_);

  auto load = [this](PaneFormula& pane, const std::string& name) {
    const std::string text = library_.FormulaText(name);
    if (text.empty()) return;
    pane.CompileText(text);  // without data the run fails quietly; the program stays
    pane.SetFileName(name + ".Wfc");
  };
  load(*fs_panes_[0], "Fs");
  load(*fs_panes_[1], "fsvol");
  load(*panes_[0], "MA");
  load(*panes_[1], "vol");
  for (int i = 2; i < kPaneCount; ++i) {
    const size_t tab = static_cast<size_t>(i) + 1;
    if (tab < tab_names_.size()) load(*panes_[static_cast<size_t>(i)], tab_names_[tab]);
  }
}

TGP::~TGP() = default;

void TGP::MarkDirty() {
  const bool was_dirty = dirty_;
  dirty_ = true;
  if (update_lock_) return;
  // The view moves as if each change had been painted at once (an append shows the newest
  // bars even when a resize came before it); only the drawing waits for the host.
  SettleLayout();
  // One request per clean-to-dirty change: the host paints once for everything after it.
  if (!was_dirty) host_->RequestRepaint();
}

void TGP::ReportError(PaneFormula& pane) {
  if (OnError) OnError(pane.ErrorText());
}

void TGP::ForAllFlags(const std::function<void(PaneFlags&)>& change) {
  for (PaneFlags& flags : kline_flags_) change(flags);
  for (PaneFlags& flags : fs_flags_) change(flags);
}

void TGP::RerunShownPanes() {
  for (int i = 0; i < tech_windows_; ++i) {
    PaneFormula& pane = *panes_[static_cast<size_t>(i)];
    if (!pane.Run()) ReportError(pane);
  }
}

void TGP::RerunTimeSharing() {
  for (auto& pane : fs_panes_) {
    if (!pane->Run()) ReportError(*pane);
  }
}

void TGP::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  if (fs_heights_[0] == 0) {
    DefaultSplit();
    if (tech_windows_ < 2) fs_heights_[0] = height_;
  } else {
    ProportionalRefit();
    const double ratio = static_cast<double>(height_) / std::max(fs_heights_[0] + fs_heights_[1], 1);
    fs_heights_[0] = static_cast<int>(fs_heights_[0] * ratio);
    fs_heights_[1] = height_ - fs_heights_[0];
  }
  MarkDirty();
}

void TGP::SetTechWindows(int value) {
  if (value > kPaneCount || value < 1 || value == tech_windows_) return;
  kline_flags_[static_cast<size_t>(selected_)].selected = false;
  kline_flags_[static_cast<size_t>(tech_windows_ - 1)].bottom_axis = false;
  for (int i = tech_windows_; i < value; ++i) {
    PaneFormula& pane = *panes_[static_cast<size_t>(i)];
    if (!pane.Run()) ReportError(pane);
  }
  tech_windows_ = value;
  if (show_bottom_) kline_flags_[static_cast<size_t>(value - 1)].bottom_axis = true;
  if (selected_ > value - 1) selected_ = value - 1;
  kline_flags_[static_cast<size_t>(selected_)].selected = true;
  DefaultSplit();
  MarkDirty();
}

void TGP::SetLeftBar(int value) {
  if (value <= 0 || value >= panes_[0]->BarCount()) return;
  left_bar_ = value;
  MarkDirty();
}

void TGP::SetScale(int value) {
  if (value <= 1) return;
  scale_ = value;
  MarkDirty();
}

double TGP::PrevClose() const { return kline_flags_[0].prev_close; }

void TGP::SetPrevClose(double value) {
  ForAllFlags([value](PaneFlags& f) { f.prev_close = value; });
  MarkDirty();
}

bool TGP::High() const {
  return show_fs_ ? fs_flags_[static_cast<size_t>(fs_selected_)].high_definition
                  : kline_flags_[static_cast<size_t>(selected_)].high_definition;
}

void TGP::SetHigh(bool value) {
  ForAllFlags([value](PaneFlags& f) { f.high_definition = value; });
  MarkDirty();
}

void TGP::SetZhouQi(TWeekStyle value) {
  Week = PeriodName(value);
  ForAllFlags([value](PaneFlags& f) { f.period = value; });
  for (auto& pane : panes_) pane->SetPeriodCode(static_cast<int>(value));
  for (auto& pane : fs_panes_) pane->SetPeriodCode(static_cast<int>(value));
  MarkDirty();
}

void TGP::SetQuanStyle(TQuanStyle value) {
  for (PaneFlags& f : kline_flags_) f.quan = value;
  panes_[0]->SetAdjustment(static_cast<int>(value));
  for (auto& pane : panes_) {
    if (!pane->Run()) ReportError(*pane);
  }
  if (show_fs_) {
    SetShowFs(false);
  } else {
    MarkDirty();
  }
}

void TGP::SetShowFs(bool value) {
  show_fs_ = value;
  host_->SetPointer(PointerShape::kDefault);
  if (info_shown_) host_->SetInfoWindowHeight(value ? 115 : 215);
  MarkDirty();
}

void TGP::SetShowCursor(bool value) {
  if (!value) {
    if (info_shown_) host_->HideInfoWindow();
    info_shown_ = false;
    cursor_ = {-1, -1};
  } else if (!info_shown_) {
    ShowInfoWindow(false);
  }
  ForAllFlags([value](PaneFlags& f) { f.cursor = value; });
  MarkDirty();
}

void TGP::SetShowTab(bool value) {
  if (value == show_tab_) return;
  show_tab_ = value;
  ProportionalRefit();
  MarkDirty();
}

void TGP::SetShowTop(bool value) {
  show_top_ = value;
  kline_flags_[0].title = value;
  fs_flags_[0].title = value;
  MarkDirty();
}

void TGP::SetShowBottom(bool value) {
  show_bottom_ = value;
  kline_flags_[static_cast<size_t>(tech_windows_ - 1)].bottom_axis = value;
  fs_flags_[1].bottom_axis = value;
  MarkDirty();
}

void TGP::SetShowLeft(bool value) {
  show_left_ = value;
  for (int i = 0; i < tech_windows_; ++i) kline_flags_[static_cast<size_t>(i)].left_axis = value;
  MarkDirty();
}

void TGP::SetShowRight(bool value) {
  show_right_ = value;
  for (int i = 0; i < tech_windows_; ++i) kline_flags_[static_cast<size_t>(i)].right_axis = value;
  MarkDirty();
}

void TGP::SetShowBoard(bool value) {
  show_board_ = value;
  MarkDirty();
}

void TGP::SetBoradWidth(int value) {
  board_width_ = value;
  MarkDirty();
}

void TGP::SetShowHighLow(bool value) {
  ForAllFlags([value](PaneFlags& f) { f.high_low = value; });
  MarkDirty();
}

void TGP::SetShowBar3d(bool value) {
  ForAllFlags([value](PaneFlags& f) { f.bar3d = value; });
  MarkDirty();
}

void TGP::SetShowCurWindow(bool value) {
  ForAllFlags([value](PaneFlags& f) { f.highlight_selected = value; });
  MarkDirty();
}

void TGP::SetZiXuan(bool value) {
  zixuan_ = value;
  MarkDirty();
}

void TGP::SetKStyle(TKStyple value) {
  ForAllFlags([value](PaneFlags& f) { f.kstyle = value; });
  MarkDirty();
}

void TGP::SetLineColor(Colour value) {
  ForAllFlags([value](PaneFlags& f) { f.frame_colour = value; });
  MarkDirty();
}

void TGP::SetFillColor(Colour value) {
  style_.fill_colour = value;
  MarkDirty();
}

void TGP::SetFillStyle(BackStyle value) {
  style_.fill_style = value;
  MarkDirty();
}

void TGP::SetColor(Colour value) {
  style_.background = value;
  MarkDirty();
}

void TGP::SetChartFont(const Font& font) {
  style_.font = font;
  MarkDirty();
}

void TGP::SetFsAll(bool value) {
  fs_flags_[0].fs_all = value;
  MarkDirty();
}

void TGP::SetFsFull(bool value) {
  fs_flags_[0].fs_full = value;
  fs_flags_[1].fs_full = value;
  MarkDirty();
}

void TGP::SetPR10(bool value) {
  fs_flags_[0].pr10 = value;
  MarkDirty();
}

void TGP::SetFsRow(int value) {
  for (PaneFlags& f : fs_flags_) f.fs_row = value;
  MarkDirty();
}

void TGP::SetFsCol(int value) {
  for (PaneFlags& f : fs_flags_) f.fs_col = value;
  MarkDirty();
}

void TGP::SelectPane(int index) {
  if (index < 0 || index >= tech_windows_) return;
  kline_flags_[static_cast<size_t>(selected_)].selected = false;
  selected_ = index;
  kline_flags_[static_cast<size_t>(selected_)].selected = true;
  MarkDirty();
}

void TGP::AddValue(const std::string& name, bool append, bool recalculate, double value) {
  panes_[0]->PushRawValue(name, value, append);
  if (!recalculate) return;
  left_bar_ = panes_[0]->BarCount() + 1;
  RerunShownPanes();
  if (!show_fs_) MarkDirty();
}

void TGP::AppendBar(double date, double time, double open, double high, double low, double close,
                    double amount, double vol) {
  AddValue("date", true, false, date);
  AddValue("time", true, false, time);
  AddValue("high", true, false, high);
  AddValue("low", true, false, low);
  AddValue("open", true, false, open);
  AddValue("close", true, false, close);
  AddValue("Amount", true, false, amount);
  AddValue("vol", true, true, vol);
}

void TGP::AddFsValue(const std::string& name, bool append, bool recalculate, double value) {
  fs_panes_[0]->PushRawValue(name, value, append);
  if (!recalculate) return;
  RerunTimeSharing();
  if (show_fs_) MarkDirty();
}

void TGP::AppendTick(double time, double close, double amount, double vol) {
  AddFsValue("time", true, false, time);
  AddFsValue("close", true, false, close);
  AddFsValue("amount", true, false, amount);
  AddFsValue("vol", true, true, vol);
}

void TGP::SetSeries(const std::string& name, const std::vector<double>& values, bool recalculate) {
  panes_[0]->SetRawSeries(name, values);
  if (!recalculate) return;
  if (left_bar_ == 0) left_bar_ = panes_[0]->BarCount() + 1;
  RerunShownPanes();
  if (!show_fs_) MarkDirty();
}

void TGP::ClearData() {
  *blocks_ = ChartBlocks{};
  board_trades_.clear();
  StkName.clear();
  StkLabel.clear();
  Week.clear();
  left_bar_ = 0;
  for (auto& pane : panes_) pane->ClearData();
  for (auto& pane : fs_panes_) pane->ClearData();
  // The blocks stay attached so that DYNAINFO and FINANCE keep working for the next stock.
  for (auto& pane : panes_) pane->AttachBlocks(blocks_.get());
  for (auto& pane : fs_panes_) pane->AttachBlocks(blocks_.get());
  ForAllFlags([](PaneFlags& f) { f.prev_close = kChartNoValue; });
  kline_flags_[static_cast<size_t>(selected_)].selected = false;
  selected_ = tech_windows_ > 1 ? 1 : 0;
  kline_flags_[static_cast<size_t>(selected_)].selected = true;
  previous_scale_ = scale_;
  MarkDirty();
}

void TGP::EndUpdate() {
  update_lock_ = false;
  PaintIfDirty();
}

bool TGP::LoadIndicator(PaneFormula& pane, const std::string& name) {
  const std::string text = library_.FormulaText(name);
  if (text.empty()) return false;
  const bool ok = pane.CompileText(text);
  if (ok) {
    pane.SetFileName(name + ".Wfc");
    MarkDirty();
  } else {
    ReportError(pane);
  }
  return ok;
}

bool TGP::LoadPaneFormula(int index, const std::string& file_name) {
  PaneFormula* pane = nullptr;
  if (index >= 0 && index < kPaneCount) pane = panes_[static_cast<size_t>(index)].get();
  if (index == -1) pane = fs_panes_[0].get();
  if (index == -2) pane = fs_panes_[1].get();
  if (pane == nullptr) return false;
  const bool ok = pane->CompileFile(file_name);
  MarkDirty();
  return ok;
}

bool TGP::RunInCurrentPane(const std::string& text) {
  PaneFormula& pane = show_fs_ ? *fs_panes_[static_cast<size_t>(fs_selected_)]
                               : *panes_[static_cast<size_t>(selected_)];
  if (pane.CompileText(text)) {
    MarkDirty();
  } else {
    ReportError(pane);
  }
  return true;
}

float TGP::GetLastValue(const std::string& name) {
  const SeriesView series = panes_[0]->ResolveSeries(name);
  if (!series || series.count == 0) return static_cast<float>(kChartNoValue);
  return static_cast<float>(series[series.count - 1]);
}

void TGP::RestoreDefaultIndicators() {
  LoadIndicator(*fs_panes_[0], "FS");
  LoadIndicator(*fs_panes_[1], "FSVOL");
  LoadIndicator(*panes_[0], "MA");
  LoadIndicator(*panes_[1], "Vol");
  for (int i = 2; i < kPaneCount; ++i) {
    const size_t tab = static_cast<size_t>(i) + 1;
    if (tab < tab_names_.size()) LoadIndicator(*panes_[static_cast<size_t>(i)], tab_names_[tab]);
  }
  MarkDirty();
}

void TGP::RemoveCurrentPane() {
  const int n = tech_windows_;
  if (show_fs_ || n < 2 || selected_ < 1) return;
  const auto first = static_cast<size_t>(selected_);
  const auto last = static_cast<size_t>(n);
  std::rotate(panes_.begin() + static_cast<long>(first), panes_.begin() + static_cast<long>(first) + 1,
              panes_.begin() + static_cast<long>(last));
  std::rotate(kline_flags_.begin() + static_cast<long>(first), kline_flags_.begin() + static_cast<long>(first) + 1,
              kline_flags_.begin() + static_cast<long>(last));
  for (PaneFlags& f : kline_flags_) f.selected = false;
  tech_windows_ = n - 1;
  kline_flags_[last - 1].bottom_axis = false;
  if (show_bottom_) kline_flags_[static_cast<size_t>(tech_windows_ - 1)].bottom_axis = true;
  if (selected_ > tech_windows_ - 1) selected_ = tech_windows_ - 1;
  kline_flags_[static_cast<size_t>(selected_)].selected = true;
  heights_[0] = 0;
  MarkDirty();
}

void TGP::SetQuote(const TStockDirEntry& record) {
  blocks_->stock_record = record;
  DeriveQuoteBlocks(*blocks_);
  MarkDirty();
}

}  // namespace vorelin
