#include "app/intraday_controller.h"

#include "common/numbers.h"
#include "market/transaction_list.h"
#include "net/quote_protocol.h"

namespace vorelin {

void FillTransactionList(QListWidget& list, const std::vector<std::string>& lines) {
  list.clear();
  for (const std::string& line : lines) {
    auto* item = new QListWidgetItem(QString::fromStdString(line), &list);
    if (const std::optional<uint32_t> colour = ListLineColour(line)) item->setForeground(ToQColor(*colour));
  }
}

IntradayController::IntradayController(std::filesystem::path root, TGP& chart,
                                       PracticeSession& session, SidePanel& side,
                                       MessageSink& messages, QuoteServerAddress quote_server,
                                       std::function<void(const std::string&)> set_caption,
                                       QObject* parent)
    : QObject(parent),
      root_(root),
      chart_(chart),
      session_(session),
      side_(side),
      messages_(messages),
      quote_server_(std::move(quote_server)),
      set_caption_(std::move(set_caption)),
      view_(root, *this) {
  tick_timer_.setObjectName("tmrTick");
  connect(&tick_timer_, &QTimer::timeout, this, [this] {
    if (!chart_.ShowFs()) {
      tick_timer_.stop();
      return;
    }
    view_.TickStep(session_.Replay().Base());
  });
  connect_watch_.setInterval(100);
  connect(&connect_watch_, &QTimer::timeout, this, [this] {
    if (!receiver_) {
      connect_watch_.stop();
      return;
    }
    if (!receiver_->IsConnected()) return;
    connect_watch_.stop();
    if (chart_.ShowFs() && view_.Points().empty() && waiting_date_ != 0) OpenDate(waiting_date_);
  });
}

IntradayController::~IntradayController() { Shutdown(); }

void IntradayController::Shutdown() {
  closing_ = true;
  tick_timer_.stop();
  connect_watch_.stop();
  if (invoker_) invoker_->Close();
  if (receiver_) {
    receiver_->Detach();
    receiver_->Stop();
    receiver_.reset();
  }
}

const TStockDirEntry* IntradayController::CurrentStock() {
  return session_.Directory().FindByCode(session_.Replay().Account().StockCode);
}

int IntradayController::CurrentRowDate() {
  const Tstock& base = session_.Replay().Base();
  const int row = base.CurrentRow;
  if (row < 0 || row >= static_cast<int>(base.Bars.size())) return kFallbackIntradayDate;
  return ParseIntOr(base.Bars[static_cast<size_t>(row)].date, kFallbackIntradayDate);
}

void IntradayController::OpenDate(int date) {
  if (!chart_.ShowFs()) chart_.SetShowFs(true);
  chart_.SelectFigureDay(date);
  view_.SetReferenceHigh(session_.Replay().ReferenceHigh());
  std::string error;
  const bool had_receiver = receiver_ != nullptr;
  if (!view_.Open(date, CurrentStock(), session_.Replay().Boxes.PlaySpeed, error))
    messages_.Show(error);
  waiting_date_ = date;
  if (!had_receiver && receiver_) connect_watch_.start();
}

void IntradayController::ToggleView() {
  if (chart_.ShowFs()) {
    tick_timer_.stop();
    chart_.SetShowFs(false);
    session_.Replay().Redraw();
    set_caption_(std::string());
    return;
  }
  OpenDate(CurrentRowDate());
  tick_timer_.start();
}

void IntradayController::ToggleTicks() {
  if (!chart_.ShowFs()) return;
  tick_timer_.isActive() ? tick_timer_.stop() : tick_timer_.start();
}

void IntradayController::BeforeStep() { view_.ClearTransactions(); }

void IntradayController::AfterStep() {
  ReplayController& r = session_.Replay();
  if (receiver_) {
    if (receiver_->IsConnected()) {
      if (const TStockDirEntry* stock = CurrentStock()) view_.RequestDayTransactions(*stock, r.CurrentDate());
    } else {
      StartReceiver();
    }
  }
  if (chart_.ShowFs()) OpenDate(r.CurrentDate());
}

void IntradayController::EnsureQuoteReceiver() {
  if (!receiver_) StartReceiver();
}

void IntradayController::StartReceiver() {
  if (closing_) return;
  if (receiver_) {
    receiver_->Detach();
    receiver_->Stop();
  }
  if (!invoker_) invoker_ = std::make_shared<QtMainThreadInvoker>();
  receiver_ = TRecvData::Create(
      quote_server_, invoker_, [this](const QuoteAnswer& answer) { OnAnswer(answer); },
      [this](ReceiverEnd reason) { OnEnd(reason); });
  receiver_->Start();
}

void IntradayController::OnAnswer(const QuoteAnswer& answer) {
  if (answer.type == kMinuteDataType) {
    view_.OnMinuteAnswer(answer.minutes);
    if (chart_.ShowFs()) tick_timer_.start();
  } else if (answer.type == kTransactionsType) {
    ReplayController& r = session_.Replay();
    view_.OnTransactionsAnswer(answer.ticks, r.CurrentDate(), r.Base());
  }
}

void IntradayController::OnEnd(ReceiverEnd reason) {
  receiver_.reset();
  if (closing_ || reason == ReceiverEnd::kStopped) return;
  const ReceiverEndTexts texts = EndNoticeTexts(reason);
  if (!texts.failure_text.empty()) messages_.Show(texts.failure_text);
  set_caption_(texts.caption);
  messages_.Show(texts.message);
}

void IntradayController::RequestMinuteData(const TStockDirEntry& stock, int date) {
  if (receiver_) receiver_->AddRequest({MinuteDataRequest(date, stock.Market(), stock.Code())});
}

void IntradayController::RequestTransactions(const TStockDirEntry& stock, int date, int start) {
  if (receiver_)
    receiver_->AddRequest(
        {TransactionsRequest(date, stock.Market(), stock.Code(), static_cast<uint16_t>(start), 2000)});
}

void IntradayController::SetTickTimer(bool on, int interval_ms) {
  tick_timer_.setInterval(interval_ms > 0 ? interval_ms : 1000);
  on ? tick_timer_.start() : tick_timer_.stop();
}

void IntradayController::AppendTick(int minute, double price, double amount, double volume) {
  chart_.AppendTick(minute, price, amount, volume);
}

void IntradayController::SetPankouLines(const std::vector<std::string>& lines) {
  FillTransactionList(*side_.lstPankou, lines);
}

void IntradayController::SetDayTrades(const std::vector<TTradeTick>& ticks) {
  chart_.SetBoardTrades(BoardTradesOf(ticks));
}

void IntradayController::SetTransactionLines(const std::vector<std::string>& lines) {
  FillTransactionList(*side_.lstTransactions, lines);
}

}  // namespace vorelin
