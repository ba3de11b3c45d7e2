// The chart page's intraday view and quote link: F5, a chosen bar's date, Space, the tick
// timer, each replay step's transactions, the two lists, and the quote receiver started
// and restarted on demand.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include <QListWidget>

#include "app/qt_main_thread_invoker.h"
#include "app/side_panel.h"
#include "chart/gp.h"
#include "market/intraday_view.h"
#include "practice/practice_session.h"

namespace vorelin {

class IntradayController final : public QObject, public IntradayHost {
  Q_OBJECT

 public:
  IntradayController(std::filesystem::path root, TGP& chart, PracticeSession& session,
                     SidePanel& side, MessageSink& messages, QuoteServerAddress quote_server,
                     std::function<void(const std::string&)> set_caption, QObject* parent = nullptr);
  ~IntradayController() override;

  // F5 on the chart.
  void ToggleView();
  // A bar's date chosen on the chart.
  void OpenDate(int date);
  // Space on the chart while the intraday view is on.
  void ToggleTicks();
  // What comes before and after each replay step.
  void BeforeStep();
  void AfterStep();
  // The window closes: the receiver is let go and nothing more reaches the window.
  void Shutdown();

  const IntradayView& View() const { return view_; }
  bool ReceiverConnected() const { return receiver_ && receiver_->IsConnected(); }

  // IntradayHost.
  void EnsureQuoteReceiver() override;
  void RequestMinuteData(const TStockDirEntry& stock, int date) override;
  void RequestTransactions(const TStockDirEntry& stock, int date, int start) override;
  void SetCaption(const std::string& caption) override { set_caption_(caption); }
  void ShowMessage(const std::string& text) override { messages_.Show(text); }
  void SetTickTimer(bool on, int interval_ms) override;
  // The board keeps the replay's quote and the stock's names over the cleared chart.
  void ClearData() override {
    chart_.ClearData();
    session_.Replay().ShowBoardQuote();
  }
  void SetFsAll(bool on) override { chart_.SetFsAll(on); }
  void SetFsFull(bool on) override { chart_.SetFsFull(on); }
  void SetPrevClose(double close) override { chart_.SetPrevClose(close); }
  void AppendTick(int minute, double price, double amount, double volume) override;
  void ResetIntradayFormulaData() override { chart_.FsPane(0).ClearData(); }
  void MarkAccount(double price) override { session_.Replay().Account().Mark(price); }
  void SetPankouLines(const std::vector<std::string>& lines) override;
  void SetTransactionLines(const std::vector<std::string>& lines) override;
  void SetDayTrades(const std::vector<TTradeTick>& ticks) override;
  void UpdateDisplay() override { session_.Replay().DisplayUpdate(); }

 private:
  void StartReceiver();
  void OnAnswer(const QuoteAnswer& answer);
  void OnEnd(ReceiverEnd reason);
  const TStockDirEntry* CurrentStock();
  int CurrentRowDate();

  std::filesystem::path root_;
  TGP& chart_;
  PracticeSession& session_;
  SidePanel& side_;
  MessageSink& messages_;
  QuoteServerAddress quote_server_;
  std::function<void(const std::string&)> set_caption_;
  IntradayView view_;
  QTimer tick_timer_;
  // A day opened before the new receiver was connected is asked for again once it is.
  QTimer connect_watch_;
  int waiting_date_ = 0;
  std::shared_ptr<QtMainThreadInvoker> invoker_;
  std::shared_ptr<TRecvData> receiver_;
  bool closing_ = false;
};

// Colours the list's lines as the transaction lists do: "B" red, "S" green.
void FillTransactionList(QListWidget& list, const std::vector<std::string>& lines);

}  // namespace vorelin
