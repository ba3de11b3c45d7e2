// The chart control: ten stacked K-line panes and the two-pane time-sharing view, each pane
// a formula; layout, visible window, hit test, feeding data, repaint, mouse and keys, the
// context menu and chart images.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/board_painter.h"
#include "chart/chart_host.h"
#include "chart/chart_menu.h"
#include "chart/chart_types.h"
#include "chart/drawing_tools.h"
#include "chart/trade_marks.h"
#include "market/stock_directory.h"

namespace vorelin {

// Builds a pane formula; children share their parent's raw series.
using PaneFormulaFactory = std::function<std::unique_ptr<PaneFormula>(PaneFormula* parent)>;
// A blank canvas of the given size (the back buffer and every pane bitmap are of its kind).
using CanvasFactory = std::function<std::unique_ptr<Canvas>(int width, int height)>;

// The built-in indicator texts by name, and the names of a menu tab (1, 2, or -1 for all).
class IndicatorLibrary {
 public:
  virtual ~IndicatorLibrary() = default;
  virtual std::string FormulaText(const std::string& name) const = 0;
  virtual std::vector<std::string> Names(int tab) const = 0;
};

inline constexpr int kTabStripHeight = 18;
inline constexpr int kPaneCount = 10;

class TGP {
 public:
  TGP(int width, int height, CanvasFactory canvases, PaneFormulaFactory formulas,
      const IndicatorLibrary& library, ChartHost* host = nullptr);
  ~TGP();
  TGP(const TGP&) = delete;
  TGP& operator=(const TGP&) = delete;

  // Events.
  std::function<void(int date, float price)> OnGPDate;
  std::function<void(const std::string& error)> OnError;
  std::function<void(TWeiStyle)> ONGPDBClick;
  std::function<void()> ONMouseWheelUp;
  std::function<void()> ONMouseWheelDown;

  // Size of the control; refits the pane heights.
  void Resize(int width, int height);
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }

  // Published properties.
  int TechWindows() const { return tech_windows_; }
  // 1 … 10; other values and the current value are ignored.
  void SetTechWindows(int value);
  int LeftBar() const { return left_bar_; }
  // Accepts only 0 < value < bar count of pane 0.
  void SetLeftBar(int value);
  int Scale() const { return scale_; }
  // Accepts only values above 1.
  void SetScale(int value);
  double PrevClose() const;
  void SetPrevClose(double value);
  bool High() const;
  void SetHigh(bool value);
  const std::string& FormatStr() const { return format_str_; }
  void SetFormatStr(const std::string& value) { format_str_ = value; }
  std::string StkName, StkLabel = "000001", Week;
  TWeekStyle ZhouQi() const { return kline_flags_[0].period; }
  void SetZhouQi(TWeekStyle value);
  TQuanStyle QuanStyle() const { return kline_flags_[0].quan; }
  void SetQuanStyle(TQuanStyle value);
  bool ShowFs() const { return show_fs_; }
  void SetShowFs(bool value);
  bool ShowCursor() const { return fs_flags_[0].cursor; }
  void SetShowCursor(bool value);
  bool ShowTab() const { return show_tab_; }
  void SetShowTab(bool value);
  bool ShowTop() const { return show_top_; }
  void SetShowTop(bool value);
  bool ShowBottom() const { return show_bottom_; }
  void SetShowBottom(bool value);
  bool ShowLeft() const { return show_left_; }
  void SetShowLeft(bool value);
  bool ShowRight() const { return show_right_; }
  void SetShowRight(bool value);
  bool ShowBoard() const { return show_board_; }
  void SetShowBoard(bool value);
  int BoradWidth() const { return board_width_; }
  void SetBoradWidth(int value);
  bool ShowHighLow() const { return kline_flags_[0].high_low; }
  void SetShowHighLow(bool value);
  bool ShowMenu() const { return show_menu_; }
  void SetShowMenu(bool value) { show_menu_ = value; }
  bool ShowBar3d() const { return kline_flags_[0].bar3d; }
  void SetShowBar3d(bool value);
  bool ShowCurWindow() const { return kline_flags_[0].highlight_selected; }
  void SetShowCurWindow(bool value);
  bool ZiXuan() const { return zixuan_; }
  void SetZiXuan(bool value);
  TKStyple KStyle() const { return kline_flags_[0].kstyle; }
  void SetKStyle(TKStyple value);
  Colour LineColor() const { return kline_flags_[0].frame_colour; }
  void SetLineColor(Colour value);
  Colour FillColor() const { return style_.fill_colour; }
  void SetFillColor(Colour value);
  BackStyle FillStyle() const { return style_.fill_style; }
  void SetFillStyle(BackStyle value);
  Colour Color() const { return style_.background; }
  void SetColor(Colour value);
  const Font& ChartFont() const { return style_.font; }
  void SetChartFont(const Font& font);
  bool FsAll() const { return fs_flags_[0].fs_all; }
  void SetFsAll(bool value);
  bool FsFull() const { return fs_flags_[0].fs_full; }
  void SetFsFull(bool value);
  bool PR10() const { return fs_flags_[0].pr10; }
  void SetPR10(bool value);
  int FsRow() const { return fs_flags_[0].fs_row; }
  void SetFsRow(int value);
  int FsCol() const { return fs_flags_[0].fs_col; }
  void SetFsCol(int value);
  int Period = 0;
  // Double-click toggling the information window and the keyboard cursor need it on.
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool value) { show_hint_ = value; }
  const std::string& InfoStr() const { return info_str_; }
  const Font& BoardFont() const { return board_font_; }
  void SetBoardFont(const Font& font);
  // The board's trade list (分笔, 分价), oldest first; ClearData empties it.
  void SetBoardTrades(std::vector<BoardTrade> trades);
  const std::vector<BoardTrade>& BoardTrades() const { return board_trades_; }
  TWeiStyle WeiStyle() const { return wei_style_; }
  // Where "signals\" and drawgbk pictures are found and the menu writes its files.
  std::string ProgramFolder;

  // Feeding data.
  void AddValue(const std::string& name, bool append, bool recalculate, double value);
  void AppendBar(double date, double time, double open, double high, double low, double close,
                 double amount, double vol);
  void AddFsValue(const std::string& name, bool append, bool recalculate, double value);
  void AppendTick(double time, double close, double amount, double vol);
  void SetSeries(const std::string& name, const std::vector<double>& values, bool recalculate);
  void ClearData();
  // Changes between BeginUpdate and EndUpdate ask the host for nothing; EndUpdate paints
  // once when anything changed.
  void BeginUpdate() { update_lock_ = true; }
  void EndUpdate();

  // Formulas.
  bool LoadIndicator(PaneFormula& pane, const std::string& name);
  // 0 … 9 a K-line pane, -1 the time-sharing price pane, -2 its volume pane.
  bool LoadPaneFormula(int index, const std::string& file_name);
  bool RunInCurrentPane(const std::string& text);
  float GetLastValue(const std::string& name);
  void RestoreDefaultIndicators();
  void RemoveCurrentPane();
  void SetQuote(const TStockDirEntry& record);
  // The trainee's trades on the price pane; they stay through ClearData, so they follow the
  // replay's redraws and period changes.
  void SetTradeMarks(std::vector<TradeMark> marks);
  const std::vector<TradeMark>& TradeMarks() const { return trade_marks_; }
  // "买入 10.50" / "卖出 …" for the trades at price-pane bar `bar`.
  std::vector<std::string> TradeMarkTextsAt(int bar);
  // Blind training: no pane shows a date (axis labels, crosshair box, minute ticks).
  void SetHideDates(bool on);
  bool HideDates() const { return kline_flags_[0].hide_dates; }

  // Screen.
  void HitTest(int x, int y);
  PaneFormula* HitPane() const { return hit_pane_; }
  // Setters, data and events only mark the chart dirty (asking the host for a repaint);
  // RepaintChart composes the back buffer now, PaintIfDirty only when something changed.
  // Neither paints while the update lock is set.
  void RepaintChart();
  void PaintIfDirty();
  bool NeedsRepaint() const { return dirty_; }
  // Mouse position over the chart, or (bar index, -2) in keyboard cursor mode; -1 none.
  void SetCursorPoint(int x, int y);
  Point CursorPoint() const { return cursor_; }

  // Mouse and keys as the window receives them, in chart coordinates. What the chart does
  // not handle itself goes on to the host's event of the same name.
  void MouseDown(MouseButton button, int x, int y);
  void MouseMove(unsigned buttons, int x, int y);
  void MouseUp(MouseButton button, int x, int y);
  void DoubleClick(int x, int y);
  // Only the low byte counts, as a signed byte: 120 is up, -120 down, the rest nothing.
  void MouseWheel(int delta);
  // Alt + digit (the system key) sets TechWindows, 0 meaning 10.
  void KeyDown(ChartKey key, KeyModifiers modifiers);
  void FocusLost();
  // `move_mouse` puts the pointer just outside the chart, so that mouse moves do not take
  // over from the keyboard cursor.
  void ShowInfoWindow(bool move_mouse);
  bool InfoWindowShown() const { return info_shown_; }
  // The press point while a button is down, else (-1, -1).
  Point DragOrigin() const { return drag_; }

  // The context menu with its check marks and enabled items as of now; nullptr when
  // ShowMenu is off. Check marks follow the pane under the mouse, when there is one.
  const ChartMenu* OpenContextMenu();
  // Runs the first menu item with the trimmed caption, as if it were clicked.
  void DoMenuCommand(const std::string& caption);

  // Drawing tools: 1 … 24 pick that tool (the pointer shows it) with the button's name;
  // 0 switches drawing off; 25 clears all figures; 26 hides the figures while its button
  // is down and shows them when it is up.
  void StartDrawingTool(int tool, const std::string& name, bool button_down = false);
  // Empties the figure lists of every pane (of the current stock and period).
  void ClearDrawings();
  void SetDrawingsVisible(bool shown);
  bool DrawingsVisible() const { return kline_flags_[0].drawings_shown; }
  const DrawingTool& Tool() const { return drawing_tool_; }
  // Figures are kept per `key` (stock and period, as the feeder names them); the panes show
  // the selected key's figures.
  void SelectFigureSet(const std::string& key);
  // The time-sharing panes show the figures of one day (YYYYMMDD) of the selected set.
  void SelectFigureDay(int date);
  // The pane's figures in the selected set; empty when it has none.
  std::vector<XXLine> FiguresOf(const PaneFormula& pane) const;

  // Images: false when the file could not be written.
  bool SaveAllImage(const std::string& file);
  bool SavePaneImage(const std::string& file);
  bool CopyToClipboard();

  // State the menus, board and tests read.
  PaneFormula& Pane(int index) { return *panes_[static_cast<size_t>(index)]; }
  PaneFormula& FsPane(int index) { return *fs_panes_[static_cast<size_t>(index)]; }
  const PaneFlags& PaneFlagsOf(int index) const { return kline_flags_[static_cast<size_t>(index)]; }
  const PaneFlags& FsPaneFlagsOf(int index) const { return fs_flags_[static_cast<size_t>(index)]; }
  const PaneReport& ReportOf(int index) const { return kline_reports_[static_cast<size_t>(index)]; }
  const PaneReport& FsReportOf(int index) const { return fs_reports_[static_cast<size_t>(index)]; }
  int PaneHeight(int index) const { return heights_[static_cast<size_t>(index)]; }
  int FsHeight(int index) const { return fs_heights_[static_cast<size_t>(index)]; }
  int SelectedPane() const { return selected_; }
  void SelectPane(int index);
  const std::vector<std::string>& TabNames() const { return tab_names_; }
  int TabCategory() const { return tab_category_; }
  const ChartBlocks& Blocks() const { return *blocks_; }
  const Canvas* BackBuffer() const { return back_buffer_.get(); }
  int ChartWidth() const { return show_board_ ? width_ - board_width_ : width_; }
  int BoardSplit() const { return board_split_; }
  int BoardTabWidth() const { return board_tab_width_; }

 private:
  void MarkDirty();
  // The layout part of a repaint (cursor checks, split, visible window): false when the
  // control is too small to draw.
  bool SettleLayout();
  int AvailableHeight() const { return show_tab_ ? height_ - kTabStripHeight : height_; }
  void DefaultSplit();
  void ProportionalRefit();
  void ComputeVisibleWindow(int chart_width);
  void RerunShownPanes();
  void RerunTimeSharing();
  void ReportError(PaneFormula& pane);
  void ForAllFlags(const std::function<void(PaneFlags&)>& change);
  void DrawOnePane(PaneFormula& formula, PaneFlags& flags, PaneReport& report, int width, int height,
                   int y0, int first_bar, int cursor_y, int cursor_x, double scale, Canvas& target);
  void DrawTabStrip(int chart_width);
  void DrawBoard(int chart_width);
  void DrawTracking(Canvas& board, const BoardLayout& layout);
  void HandCursorInfo();
  void ClickTab(int x);
  void SetTabCategory(int category);
  void Drag(int x, int y);
  void StepKeyboardCursor(bool left);
  PaneFlags* FlagsOf(const PaneFormula* pane);
  // Drawing tools (gp_drawing.cpp).
  void DrawingPress(int x, int y);
  void DrawingMove(int x, int y);
  void DrawingRelease(int x, int y);
  Point ClampToDrawingPlot(int x, int y) const;
  const PaneReport& DrawingReport() const;
  PaneFormula& DrawingFormula();
  void StoreFigure();
  void DrawRubberBand();
  bool IsTimeSharingPane(const PaneFormula& pane) const;
  void RunMenuItem(const ChartMenuItem& item);
  void RunPaneMenuAction(const ChartMenuItem& item);
  void RestoreDefaultOfHitPane();
  void LoadRawDataIntoHitPane();
  std::string InProgramFolder(const std::string& file_name) const;
  std::string ExportFileName(const std::string& extension) const;
  void ConfirmExport(bool written, const std::string& file);

  int width_;
  int height_;
  CanvasFactory canvases_;
  const IndicatorLibrary& library_;
  ChartHost* host_;  // never null: a windowless chart gets a host that does nothing
  std::unique_ptr<ChartBlocks> blocks_;
  std::array<std::unique_ptr<PaneFormula>, kPaneCount> panes_;
  std::array<std::unique_ptr<PaneFormula>, 2> fs_panes_;
  std::array<PaneFlags, kPaneCount> kline_flags_;
  std::array<PaneFlags, 2> fs_flags_;
  std::array<PaneReport, kPaneCount> kline_reports_;
  std::array<PaneReport, 2> fs_reports_;
  std::array<int, kPaneCount> heights_{};
  std::array<int, 2> fs_heights_{};
  int board_split_ = 0;
  Font board_font_;
  std::vector<BoardTrade> board_trades_;
  int tech_windows_ = 3;
  int selected_ = 0;
  int fs_selected_ = 0;
  PaneFormula* hit_pane_ = nullptr;
  TWeiStyle wei_style_ = TWeiStyle::wsNone;
  int left_bar_ = 0;
  int scale_ = 5;
  int previous_scale_ = 5;
  int previous_first_bar_ = 0;
  int previous_width_;
  Point cursor_{-1, -1};
  Point drag_{-1, -1};
  int layout_height_ = 0;
  std::vector<std::string> tab_names_;
  std::vector<TradeMark> trade_marks_;
  std::array<int, 101> tab_widths_{};
  int tab_category_ = 0;
  int board_tab_width_ = 0;
  std::string info_str_ = "分笔";
  bool info_shown_ = false;
  bool info_placed_ = false;
  bool show_hint_ = true;
  ChartMenu menu_;
  bool update_lock_ = false;
  bool dirty_ = true;  // nothing painted yet
  std::unique_ptr<Canvas> back_buffer_;
  std::string format_str_ = "%7.2f";
  bool show_fs_ = false;
  bool show_tab_ = true;
  bool show_top_ = true;
  bool show_bottom_ = true;
  bool show_left_ = true;
  bool show_right_ = true;
  bool show_board_ = true;
  int board_width_ = 200;
  bool show_menu_ = true;
  bool zixuan_ = false;
  PaneStyle style_;
  DrawingTool drawing_tool_;
  FigureStore figures_;
  // The pane the points are placed in: 0 … 9 a K-line pane, 10 and 11 the time-sharing panes.
  int drawing_pane_ = 0;
};

}  // namespace vorelin
