#include "practice/replay_controller.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <system_error>

#include "common/data_root.h"
#include "common/file_listing.h"
#include "common/format.h"
#include "common/text_file.h"
#include "common/numbers.h"
#include "market/bar_columns.h"
#include "practice/replay_quote.h"
#include "practice/trading_rules.h"

namespace vorelin {
namespace {

struct PeriodEntry {
  const char* caption;
  int n;
  const char* week_label;
};

const PeriodEntry kDayPeriods[] = {
    {"日线", 1, ""}, {"周线", 5, "周线"}, {"月线", 22, "月线"}, {"季度线", 66, "季线"},
    {"年线", 250, "年线"}};
const PeriodEntry kMinutePeriods[] = {
    {"1分钟", 1, ""},    {"5分钟", 5, ""},     {"15分钟", 15, ""},    {"30分钟", 30, ""},
    {"60分钟", 60, ""},  {"日线", 240, ""},    {"周线", 1200, ""},    {"月线", 5280, ""},
    {"季度线", 15840, ""}, {"年线", 60000, ""}};

bool Exists(const std::filesystem::path& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::string NoDataFilesMessage(const std::filesystem::path& folder) {
  return "路径'" + folder.string() + "'没有数据文件，请先导入数据文件！";
}

std::string FormatPickerDate(int yyyymmdd, std::string_view format) {
  const int year = yyyymmdd / 10000, month = yyyymmdd / 100 % 100, day = yyyymmdd % 100;
  std::string out;
  for (size_t i = 0; i < format.size();) {
    auto starts = [&](std::string_view token) {
      if (format.size() - i < token.size()) return false;
      for (size_t k = 0; k < token.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(format[i + k])) != token[k]) return false;
      return true;
    };
    if (starts("yyyy")) { out += Format("%04d", year); i += 4; }
    else if (starts("yy")) { out += Format("%02d", year % 100); i += 2; }
    else if (starts("mm")) { out += Format("%02d", month); i += 2; }
    else if (starts("m")) { out += std::to_string(month); i += 1; }
    else if (starts("dd")) { out += Format("%02d", day); i += 2; }
    else if (starts("d")) { out += std::to_string(day); i += 1; }
    else out += format[i++];
  }
  return out;
}

ReplayController::ReplayController(std::filesystem::path root, ChartPort& chart,
                                   MessageSink& messages)
    : root_(std::move(root)),
      chart_(chart),
      messages_(messages),
      random_(static_cast<unsigned>(
          std::chrono::steady_clock::now().time_since_epoch().count())),
      base_(&messages),
      aggregate_(&messages) {}

void ReplayController::SetJournal(const JournalStore* journal, std::string user,
                                  ScreenshotWriter screenshot) {
  journal_ = journal;
  user_ = std::move(user);
  screenshot_ = std::move(screenshot);
}

std::filesystem::path ReplayController::DataFilePath() const {
  if (!IsSafeStockCode(Boxes.StockCode)) return {};
  return root_ / (Boxes.Period == 0 ? kMinDataFolder : kDayDataFolder) /
         (Boxes.StockCode + ".TXT");
}

void ReplayController::ApplyStockCode(const std::string& code) {
  Boxes.StockCode = code;
  ApplyFeeRates();
}

void ReplayController::ApplyFeeRates() {
  account_.BuyRate = ParseDecimalOr(Boxes.BuyFee) / 1000;
  account_.SellRate = ParseDecimalOr(Boxes.SellFee) / 1000;
  const TradingRules rules = TradingRulesOf(Boxes);
  account_.TPlusOne = rules.t_plus_one;
  account_.StampDutyRate = rules.stamp_duty_rate;
  account_.MinCommission = rules.minimum_commission;
}

void ReplayController::AdoptOpenedStock() {
  // Only a stock whose bars were loaded becomes the account's: a typed or refused code must
  // never name the trades made at another stock's prices.
  account_.StockCode = Boxes.StockCode;
  if (!directory_) return;
  if (const TStockDirEntry* entry = directory_->FindByCode(account_.StockCode)) {
    account_.StockName = entry->Name();
    stock_record_ = *entry;
    LabelChart();
  }
}

void ReplayController::ShowBoardQuote() {
  LabelChart();
  ShowReplayQuote(base_, base_.CurrentRow);
}

void ReplayController::LabelChart() {
  chart_.SetStkLabel(ShownStockCode());
  chart_.SetStkName(ShownStockName());
}

void ReplayController::ShowReplayQuote(const Tstock& series, int row) {
  if (!blind_) {
    chart_.SetQuote(ReplayQuoteRecord(stock_record_, series.Bars, row));
    return;
  }
  // The board reads the code, name and capital from the record: a blank one gives nothing
  // away, while the replayed prices are shown as they are.
  TStockDirEntry masked;
  masked.SetName(kMaskedText);
  chart_.SetQuote(ReplayQuoteRecord(masked, series.Bars, row));
}

bool ReplayController::LoadBaseFile(const std::filesystem::path& path) {
  base_.FileName = path.string();
  base_.PeriodMultiplier = 1;
  if (!base_.LoadBars()) return false;
  AdoptOpenedStock();
  return true;
}

void ReplayController::KeepOpenStockInBox() {
  if (!account_.StockCode.empty()) ApplyStockCode(account_.StockCode);
}

void ReplayController::RevealRange(Tstock& series, int from, int to) {
  // Rows saved for another stock may lie outside this file: only rows that exist are shown.
  const int last = std::min(series.BarCount, static_cast<int>(series.Bars.size())) - 1;
  to = std::min(to, last);
  from = std::max(from, 0);
  series.Cursor = to + 1;
  if (to < from) return;
  const BarColumns bars = ColumnsOf(series.Bars, from, to);
  const TBarRecord& newest = series.Bars[static_cast<size_t>(to)];
  reference_high_ = static_cast<float>(newest.high);
  current_date_ = ParseIntOr(newest.date, 20101001);
  account_.Mark(newest.close);
  series.SetCurrentRow(to);

  chart_.ResetPriceData();
  chart_.SelectFigureSet(FigureSetKey(&series == &aggregate_ ? aggregate_.PeriodMultiplier : 1));
  LabelChart();
  chart_.SetWeek(&series == &aggregate_ ? period_label_ : std::string());
  ShowReplayQuote(series, to);
  chart_.SetShowBar3d(false);
  for (size_t c = 0; c < BarColumns::kNames.size(); ++c)
    chart_.SetSeries(BarColumns::kNames[c], bars[c], c + 1 == BarColumns::kNames.size());
}

std::string ReplayController::FigureSetKey(int n) const {
  return account_.StockCode + (Boxes.Period == 0 ? "|min|" : "|day|") + std::to_string(n);
}

void ReplayController::AppendNextBar() {
  const TBarRecord bar = base_.NextBar();
  const int date = ParseIntOr(bar.date, 19911010);
  ShowReplayQuote(base_, base_.Cursor - 1);
  chart_.AppendBar(date, ParseIntOr(bar.time, 0), bar.open, bar.high, bar.low, bar.close,
                   bar.amount, bar.vol);
  chart_.SelectFigureSet(FigureSetKey(1));
  reference_high_ = static_cast<float>(bar.high);
  account_.Mark(bar.close);
  current_date_ = date;
  chart_.SetStkLabel(ShownStockCode());
  chart_.SetStkName(ShownStockName());
  DisplayUpdate();
}

void ReplayController::StepForward() {
  if (base_.IsAtEnd()) {
    StopPlay();
    messages_.Show(kLastRowMessage);
    EndBlind();
    return;
  }
  if (base_.IsAtStart()) {
    // Shares held stay with their stock, whatever the box holds at this moment.
    if (account_.LongQty != 0) KeepOpenStockInBox();
    chart_.ClearData();
    if (!LoadBaseFile(DataFilePath())) {
      messages_.Show(MissingFileMessage(DataFilePath()));
      return;
    }
    if (base_.IsAtEnd()) return;  // the reloaded file has no row at the cursor
    AppendNextBar();
    // The bar just shown is the one before the cursor; keep the current row on it, so a
    // redraw never shows a bar the trainee has not reached.
    base_.SetCurrentRow(base_.Cursor - 1);
    BeginTrainingSession();
  } else if (base_.PeriodMultiplier == 1) {
    const int r = base_.CurrentRow;
    AppendNextBar();
    base_.SetCurrentRow(r + 1);
    if (base_.Cursor % 10 == 0 && hooks_.save_settings) hooks_.save_settings();
  } else if (base_.Cursor < base_.BarCount - 1) {
    base_.Cursor += 1;
    base_.SetCurrentRow(base_.Cursor);
    ShowPeriod(base_.PeriodMultiplier, period_label_);
  }
  DisplayUpdate();
}

void ReplayController::NextClick() {
  if (hooks_.before_next) hooks_.before_next();
  StepForward();
  if (hooks_.after_next) hooks_.after_next();
}

void ReplayController::Redraw() {
  if (base_.BarCount <= 0) {
    messages_.Show(kNotLoadedMessage);
    return;
  }
  chart_.ClearData();
  chart_.BeginUpdate();
  RevealRange(base_, base_.StartRow, base_.CurrentRow);
  DisplayUpdate();
  chart_.EndUpdate();
  base_.PeriodMultiplier = 1;
  if (hooks_.refresh_multi_period) hooks_.refresh_multi_period();
}

void ReplayController::OpenStock() {
  const std::filesystem::path path = DataFilePath();
  base_.FileName = path.string();
  chart_.ClearData();
  if (Exists(path) && LoadBaseFile(path)) RevealRange(base_, base_.StartRow, base_.CurrentRow);
  BeginTrainingSession();
  DisplayUpdate();
}

bool ReplayController::LoadRandomWindow() {
  chart_.ClearData();
  if (!LoadBaseFile(DataFilePath())) return false;
  auto below = [this](int limit) {
    return limit <= 0 ? 0 : std::uniform_int_distribution<int>(0, limit - 1)(random_);
  };
  const int end = below(base_.BarCount);
  int start = below(end);
  if (end - start > 100) start = end - 100;
  chart_.SetShowFs(false);
  chart_.SetShowBoard(false);
  RevealRange(base_, start, end);
  base_.StartRow = start;
  base_.SetCurrentRow(end);
  base_.Cursor = end + 1;
  BeginTrainingSession();
  DisplayUpdate();
  return true;
}

std::string ReplayController::PickRandomStock() {
  const std::filesystem::path folder =
      root_ / (Boxes.Period == 0 ? kMinDataFolder : kDayDataFolder) / "";
  const std::vector<std::filesystem::path> files = ListFiles(folder, "*.txt", true);
  if (files.empty()) {
    messages_.Show(NoDataFilesMessage(folder));
    return {};
  }
  random_.seed(static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
  const size_t pick = std::uniform_int_distribution<size_t>(0, files.size() - 1)(random_);
  return files[pick].stem().string();
}

void ReplayController::ShowPeriod(int n, std::string label) {
  period_label_ = std::move(label);
  chart_.SetShowFs(false);
  if (n == 1) {
    Redraw();
    return;
  }
  if (base_.BarCount <= 0) {
    messages_.Show(kNotLoadedMessage);
    return;
  }
  aggregate_.CopyFrom(base_);
  aggregate_.FileName = base_.FileName;
  base_.PeriodMultiplier = n;
  aggregate_.PeriodMultiplier = n;
  aggregate_.Aggregate();
  aggregate_.Cursor = 0;
  chart_.ClearData();
  RevealRange(aggregate_, 0, aggregate_.BarCount - 1);
}

bool ReplayController::PeriodCommand(std::string_view caption) {
  auto run = [&](const auto& table) {
    for (const PeriodEntry& entry : table) {
      if (caption != entry.caption) continue;
      ShowPeriod(entry.n, entry.week_label);
      return true;
    }
    return false;
  };
  return Boxes.Period == 0 ? run(kMinutePeriods) : run(kDayPeriods);
}

void ReplayController::PreviousBar() {
  base_.SetCurrentRow(base_.CurrentRow - 1);
  Redraw();
}

void ReplayController::StartRowEnter() {
  // A negative row would leave the cursor before the file; row 0 is the first there is.
  const int a = std::max(ParseIntOr(Boxes.StartRow, 1), 0);
  if (a >= base_.BarCount) {
    messages_.Show(kRowTooLargeMessage + std::to_string(base_.BarCount));
    return;
  }
  base_.Cursor = a;
  base_.StartRow = 1;
  base_.SetCurrentRow(a);
  Redraw();
  BeginTrainingSession();
}

void ReplayController::StartRowDoubleClick() {
  if (account_.LongQty > 0) {
    messages_.Show(kStartRowPositionMessage);
    return;
  }
  chart_.ClearData();
  Boxes.StartRow = "1";
  base_.Cursor = 1;
  base_.StartRow = 1;
  base_.SetCurrentRow(1);
  Redraw();
  BeginTrainingSession();
}

void ReplayController::SelectStartDate(const std::string& date_text) {
  if (base_.BarCount <= 0) return;
  if (!base_.FindDate(ParseIntOr(date_text, 0))) {
    messages_.Show(kDateNotFoundMessage + date_text);
    return;
  }
  const int found = base_.FoundIndex;
  chart_.ClearData();
  base_.Cursor = found;
  base_.StartRow = found / 2;
  base_.SetCurrentRow(found);
  Redraw();
  BeginTrainingSession();
  messages_.Show(kDateFoundMessage + date_text);
}

bool ReplayController::RandomTraining() {
  if (account_.LongQty != 0) {
    messages_.Show(kPositionOpenMessage);
    return false;
  }
  ApplyStockCode(PickRandomStock());
  if (!Exists(DataFilePath())) {
    KeepOpenStockInBox();
    return false;
  }
  chart_.ClearData();
  const bool opened = LoadRandomWindow();
  if (hooks_.refresh_multi_period) hooks_.refresh_multi_period();
  return opened;
}

void ReplayController::BlindTraining() {
  if (account_.LongQty != 0) {
    messages_.Show(kPositionOpenMessage);
    return;
  }
  blind_ = true;
  blind_trades_ = 0;
  chart_.SetHideDates(true);
  if (RandomTraining()) return;
  // Nothing was opened: no blind session to hide.
  blind_ = false;
  chart_.SetHideDates(false);
  ShowBoardQuote();
}

void ReplayController::EndBlind() {
  if (!blind_) return;
  blind_ = false;
  chart_.SetHideDates(false);
  ShowBoardQuote();
  messages_.Show(BlindRevealMessage());
  DisplayUpdate();
}

std::string ReplayController::BlindRevealMessage() const {
  auto date_of = [this](int row) {
    return row >= 0 && row < static_cast<int>(base_.Bars.size())
               ? base_.Bars[static_cast<size_t>(row)].date
               : std::string();
  };
  return "盲盘结束：" + account_.StockCode + " " + account_.StockName + "，" +
         date_of(base_.StartRow) + " 至 " + date_of(base_.CurrentRow);
}

std::string ReplayController::WindowCaption(const std::string& product,
                                            const std::string& override_text) const {
  if (blind_) return product + " - " + kBlindTrainingCaption;
  if (!override_text.empty()) return override_text;
  const std::string& name = account_.StockName;
  return product + (name.empty() ? std::string() : " - " + name) + "  " + account_.StockCode;
}

void ReplayController::StockCodeEnter() {
  if (account_.LongQty != 0) {
    KeepOpenStockInBox();
    messages_.Show(kPositionOpenMessage);
    return;
  }
  if (!IsSafeStockCode(Boxes.StockCode)) {
    const std::string typed = Boxes.StockCode;
    KeepOpenStockInBox();
    messages_.Show(UnsafeStockCodeMessage(typed));
    return;
  }
  const std::filesystem::path path = DataFilePath();
  if (!Exists(path)) {
    KeepOpenStockInBox();
    messages_.Show(MissingFileMessage(path));
    return;
  }
  LoadRandomWindow();
  messages_.Show(kLoadedMessage);
}

void ReplayController::SetPlaySpeed(const std::string& text) {
  Boxes.PlaySpeed = text;
  play_interval_ = ParseIntOr(text, 1) * 100;
}

void ReplayController::PlayClick() {
  SetPlaySpeed(Boxes.PlaySpeed);
  playing_ = !playing_;
}

void ReplayController::PlayTick() {
  if (!TimerRuns()) return;
  if (chart_.ShowFs()) {
    StopPlay();
    return;
  }
  NextClick();
}

void ReplayController::BuyClick() { Trade(true); }
void ReplayController::SellClick() { Trade(false); }

void ReplayController::Trade(bool buy) {
  // Only an empty or zero box means "use the choice": a negative quantity is a mistake.
  if (ParseDecimalOr(QuantityBox) < 0) {
    messages_.Show(kBadQuantityMessage);
    DisplayUpdate();
    return;
  }
  if (!(ParseDecimalOr(QuantityBox) > 0)) {
    const double fill = buy ? account_.BuyChoiceQuantity(BuyChoice)
                            : account_.SellChoiceQuantity(SellChoice);
    QuantityBox = Format("%.0f", fill);
  }
  const double qty = ParseDecimalOr(QuantityBox);
  if (const char* refusal = PriceLimitRefusal(
          TradingRulesOf(Boxes), buy, account_.Price,
          PreviousClose(base_.Bars, base_.CurrentRow, Boxes.Period == 0), account_.StockCode,
          account_.StockName)) {
    messages_.Show(refusal);
    DisplayUpdate();
    return;
  }
  account_.SetTradingDay(current_date_);
  const bool done = buy ? account_.Buy(account_.Price, qty) : account_.Sell(account_.Price, qty);
  if (!done) {
    messages_.Show(account_.LastMessage);
    DisplayUpdate();
    return;
  }
  if (journal_) {
    TradeEntry entry{user_, account_.StockCode, buy ? kBuyDirection : kSellDirection,
                     current_date_, QuantityBox, StoredReason(ReasonBox)};
    RecordedTrade recorded;
    std::string error;
    if (!journal_->RecordTrade(entry, account_, screenshot_, recorded, error))
      messages_.Show(error);
  }
  const size_t row = static_cast<size_t>(base_.CurrentRow);
  const TBarRecord bar = row < base_.Bars.size() ? base_.Bars[row] : TBarRecord{};
  training_.trades.push_back({base_.CurrentRow, ParseIntOr(bar.date, 0), ParseIntOr(bar.time, 0),
                              buy, account_.Price, qty, account_.Commission, account_.StampDuty,
                              buy ? 0 : account_.ProfitLoss, account_.Cash, account_.LongQty,
                              StoredReason(ReasonBox)});
  chart_.SetTradeMarks(training_.trades);
  if (blind_) ++blind_trades_;
  reasons_.Remember(ReasonBox);
  messages_.Show(buy ? kBoughtMessage : kSoldMessage);
  DisplayUpdate();
}

void ReplayController::BeginTrainingSession() {
  training_ = TrainingSession{base_.CurrentRow, account_.Cash, account_.LongQty, {}};
  chart_.SetTradeMarks(training_.trades);
}

SessionReport ReplayController::Report() const {
  return BuildSessionReport(base_.Bars, training_, base_.CurrentRow);
}

std::string ReplayController::ReportText() const {
  const SessionReport report = Report();
  if (blind_) return SessionReportText(report, "");
  const std::string identity = account_.StockCode + " " + account_.StockName + "    " +
                               std::to_string(report.first_date) + " - " +
                               std::to_string(report.last_date);
  return SessionReportText(report, identity);
}

UserSettings ReplayController::SettingsToSave() const {
  UserSettings saved = Boxes;
  if (!account_.StockCode.empty()) saved.StockCode = account_.StockCode;
  return saved;
}

void ReplayController::DisplayUpdate() {
  QuantityBox = "0";
  if (hooks_.display_changed) hooks_.display_changed();
}

}  // namespace vorelin
