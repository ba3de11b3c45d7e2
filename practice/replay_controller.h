// The main window's replay: which rows of the stock's file the trainee has seen, every
// command that moves them, what the chart receives, and the buy and sell commands at the
// last revealed close. Timers belong to the app; this says what a tick does.
#pragma once

#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>

#include "common/message_sink.h"
#include "market/bar_series.h"
#include "market/stock_directory.h"
#include "practice/account.h"
#include "practice/chart_port.h"
#include "practice/journal_store.h"
#include "practice/session_report.h"
#include "practice/settings.h"
#include "practice/trade_reasons.h"

namespace vorelin {

inline constexpr const char* kLastRowMessage = "已到最后行！";
inline constexpr const char* kNotLoadedMessage = "尚未载入！";
inline constexpr const char* kRowTooLargeMessage = "当前行大于最大行";
inline constexpr const char* kDateFoundMessage = "已找到当前日期";
inline constexpr const char* kDateNotFoundMessage = "没找到当前日期";
inline constexpr const char* kPositionOpenMessage = "当前未清仓，请清仓后更换！";
inline constexpr const char* kStartRowPositionMessage = "当前股票未清仓，请清仓后再更换开始行！";
inline constexpr const char* kLoadedMessage = "数据载入成功！";
inline constexpr const char* kBoughtMessage = "买入成功！";
inline constexpr const char* kSoldMessage = "卖出成功";
inline constexpr const char* kPlayCaption = "播放";
inline constexpr const char* kPauseCaption = "暂停";
inline constexpr const char* kBlindTrainingCaption = "盲盘训练";
inline constexpr const char* kEndBlindCaption = "结束盲盘";
// What blind training shows in place of the stock's code, name and dates.
inline constexpr const char* kMaskedText = "******";

// "路径'" + folder + "'没有数据文件，请先导入数据文件！".
std::string NoDataFilesMessage(const std::filesystem::path& folder);

// The date picker's value in the date-format box's format: yyyy, yy, mm, m, dd, d; every
// other character is copied.
std::string FormatPickerDate(int yyyymmdd, std::string_view format);

struct ReplayHooks {
  std::function<void()> save_settings;      // every tenth bar at the base period
  std::function<void()> display_changed;    // refresh the account boxes and report
  std::function<void()> before_next;        // empty the transaction list
  std::function<void()> after_next;         // multi-period window, quotes, intraday view
  std::function<void()> refresh_multi_period;
};

class ReplayController {
 public:
  ReplayController(std::filesystem::path root, ChartPort& chart, MessageSink& messages);

  void SetStockDirectory(const StockDirectory* directory) { directory_ = directory; }
  void SetJournal(const JournalStore* journal, std::string user, ScreenshotWriter screenshot);
  void SetHooks(ReplayHooks hooks) { hooks_ = std::move(hooks); }
  void SetRandomSeed(unsigned seed) { random_.seed(seed); }

  // The window's boxes: code, period choice, fees, start row, speed (with the settings'
  // other values), and the quantity box.
  UserSettings Boxes;
  std::string QuantityBox = "0";
  std::string BuyChoice = "全仓";
  std::string SellChoice = "全仓";
  // The reason box: stored with each trade ("理由" when empty) and remembered.
  std::string ReasonBox;
  ReasonHistory& Reasons() { return reasons_; }
  // The session in training: from the bar shown when this stock's window was opened, with
  // every trade made since.
  const TrainingSession& Training() const { return training_; }
  SessionReport Report() const;
  // The report page's text, naming the stock and its dates.
  std::string ReportText() const;

  Tstock& Base() { return base_; }
  Tstock& Aggregated() { return aggregate_; }
  TGpAcount& Account() { return account_; }
  int CurrentDate() const { return current_date_; }
  float ReferenceHigh() const { return reference_high_; }

  // root + "MinData" (period choice 0) or "DayData" + code + ".TXT"; empty when the code is
  // not a plain file name.
  std::filesystem::path DataFilePath() const;
  bool MinutePeriodMenuEnabled() const { return Boxes.Period == 0; }
  bool DayPeriodMenuEnabled() const { return Boxes.Period != 0; }

  // What a change of the code box does: the box and the fee rates. The account takes the
  // code (and the stock's name and quote) only when that stock's bars are loaded.
  void ApplyStockCode(const std::string& code);
  // The fee boxes (per mille) as the account's commission rates.
  void ApplyFeeRates();
  // The settings as they are saved: the boxes, with the code of the stock in practice
  // rather than whatever is typed in the box.
  UserSettings SettingsToSave() const;
  // Hands rows from .. to of `series` to the chart (rows outside the series are left out)
  // and marks the account to the last one's close.
  void RevealRange(Tstock& series, int from, int to);
  void AppendNextBar();
  // The chart's figure set for the open stock at `n` base rows per bar.
  std::string FigureSetKey(int n) const;
  // Hands the chart again the stock's code, name and the quote of the last revealed row, as
  // after a reveal (for views that clear the chart without revealing bars).
  void ShowBoardQuote();
  void StepForward();
  // '下一K线', Enter on the chart and a play tick.
  void NextClick();
  void Redraw();
  void OpenStock();
  // False when the data file cannot be read (nothing shown).
  bool LoadRandomWindow();
  // A random data file's code of the period's folder; empty (with the message) when none.
  std::string PickRandomStock();
  // Shows the revealed rows at n base rows per bar; `label` is the chart's period label
  // (`Week`) for as long as that period is shown.
  void ShowPeriod(int n, std::string label = {});
  // A period command by caption ('日线', '周线' … for day data, '1分钟' … '年线' for minute
  // data, as the period choice selects); false for an unknown caption.
  bool PeriodCommand(std::string_view caption);

  void PreviousBar();
  void StartRowEnter();
  void StartRowDoubleClick();
  void SelectStartDate(const std::string& date_text);
  // True when a random stock's window was opened.
  bool RandomTraining();
  void StockCodeEnter();

  // '盲盘训练': random training with the stock's code, name and dates hidden everywhere
  // until '结束盲盘' or the end of the data. Refused while shares are held.
  void BlindTraining();
  // '结束盲盘': the stock, its name and the dates shown, in a message and again everywhere.
  void EndBlind();
  bool Blind() const { return blind_; }
  // "盲盘结束：" + code + " " + name + "，" + first shown date + " 至 " + last.
  std::string BlindRevealMessage() const;
  // The code and name as the window and the chart may show them.
  std::string ShownStockCode() const { return blind_ ? kMaskedText : account_.StockCode; }
  std::string ShownStockName() const { return blind_ ? kMaskedText : account_.StockName; }
  // The main window's caption: `override_text` (the intraday view's) when there is one, else
  // the product caption with the stock; in blind training never a code, name or date.
  std::string WindowCaption(const std::string& product, const std::string& override_text) const;
  // How many of the journal's newest rows belong to the blind session (0 when not blind).
  size_t MaskedJournalRows() const { return blind_ ? blind_trades_ : 0; }

  // Play: the interval is the speed box (1 when not a number) × 100 ms. The timer ticks
  // only while playing with an interval above 0, so speed "0" never ticks.
  void PlayClick();
  void SetPlaySpeed(const std::string& text);
  void StopPlay() { playing_ = false; }
  bool Playing() const { return playing_; }
  int PlayInterval() const { return play_interval_; }
  bool TimerRuns() const { return playing_ && play_interval_ > 0; }
  const char* PlayCaption() const { return playing_ ? kPauseCaption : kPlayCaption; }
  void PlayTick();

  // '买入' and '卖出' at the account's current price, journalled with a screenshot.
  void BuyClick();
  void SellClick();

  void DisplayUpdate();
  // '恢复缺省' under the fee boxes.
  void RestoreDefaultFees() {
    Boxes.BuyFee = kRestoredBuyFee;
    Boxes.SellFee = kRestoredSellFee;
  }

 private:
  void Trade(bool buy);
  // Loads the base series from `path` and makes its stock the account's; false when the
  // file cannot be read (the account keeps its stock).
  bool LoadBaseFile(const std::filesystem::path& path);
  void AdoptOpenedStock();
  // The board's quote is that of row `row` of `series`, never the directory's stored one.
  void ShowReplayQuote(const Tstock& series, int row);
  // A refused change puts the code of the stock in practice back into the box.
  void KeepOpenStockInBox();
  void BeginTrainingSession();
  // The stock's code, name and directory record to the chart, masked in blind training.
  void LabelChart();

  std::filesystem::path root_;
  ChartPort& chart_;
  MessageSink& messages_;
  const StockDirectory* directory_ = nullptr;
  TStockDirEntry stock_record_;  // the directory's record of the stock in practice
  std::string period_label_;     // `Week` of the period shown; clearing the chart clears it there
  const JournalStore* journal_ = nullptr;
  std::string user_;
  ScreenshotWriter screenshot_;
  ReplayHooks hooks_;
  std::mt19937 random_;

  Tstock base_;
  Tstock aggregate_;
  TGpAcount account_{10000};
  int current_date_ = 0;
  float reference_high_ = 0;
  bool playing_ = false;
  int play_interval_ = 1000;
  ReasonHistory reasons_;
  TrainingSession training_;
  bool blind_ = false;
  size_t blind_trades_ = 0;
};

}  // namespace vorelin
