// The trainee's desk `TForm1`: the chart page with its toolbar, formula panel and code box,
// the results and settings pages, the side panel with the trade and account pages, the
// menus and the timers. Each handler is one call into the practice session or the chart.
#pragma once

#include <QLineEdit>
#include <QMainWindow>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "app/chart_widget.h"
#include "app/drawing_tool_panel.h"
#include "app/equity_curve_view.h"
#include "app/formula_tree.h"
#include "app/journal_page.h"
#include "app/multi_period_window.h"
#include "app/picture_window.h"
#include "app/qt_login_link.h"
#include "app/intraday_controller.h"
#include "app/session_report_page.h"
#include "app/settings_page.h"
#include "app/side_panel.h"
#include "formula_chart/gp_chart_port.h"
#include "practice/practice_session.h"

namespace vorelin {

inline constexpr const char* kMainWindowCaption = "Vorelin训练系统";

class TForm1 final : public QMainWindow {
  Q_OBJECT

 public:
  TForm1(std::filesystem::path root, std::string user, MessageSink& messages,
         QWidget* parent = nullptr);
  ~TForm1() override;

  PracticeSession& Session() { return *session_; }
  ChartWidget& ChartView() { return *gp1_; }
  SidePanel& Side() { return *side_; }
  IntradayController& Intraday() { return *intraday_; }
  TfrmDzq& MultiPeriod() { return *dzq_; }
  DrawingToolPanel& DrawingTools() { return *pnltool_; }
  // The login link of the whole run: '版本升级', '账户管理' and the main window's replies.
  void AttachLoginLink(QtLoginLink& link);
  // Loads the user's settings and account and opens the stock (the first show does it).
  bool StartSession();

  // The commands of the buttons and keys.
  void NextClick();
  void BuyClick();
  void SellClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  QWidget* BuildChartPage();
  QWidget* BuildFormulaPanel();
  // Stock.Bin, made with its default categories when missing; the trainer ends without it.
  void OpenFormulaStore();
  QWidget* BuildArticle(const char* name, const char* text);
  void WireSidePanel();
  void WireSettingsPage();
  void WireReplayHooks();
  // Boxes of the replay into the widgets (after loading, resets and refused changes).
  void PushBoxes();
  void UpdateDisplay();
  // '盲盘训练' or, during one, '结束盲盘'.
  void BlindClick();
  // The code box: the stock's code, or in blind training the mask, not to be edited.
  void ShowCodeBox();
  // '买入' or '卖出' with the quantity and reason boxes as they are.
  void Trade(bool buy);
  // Results pages are rebuilt from the journal each time they are shown.
  void PageShown(int index);
  void SyncPlayTimer();
  void RunPeriodCommand(const QString& caption);
  // The multi-period window follows the revealed rows while it is shown.
  void RefreshMultiPeriod();
  // '划线': the drawing-tool panel and the menu's check mark, kept for the settings.
  void ShowDrawingTools(bool shown);
  void OpenInShell(const std::filesystem::path& path);
  void VersionClick();
  void AccountsClick();
  // The window caption: the given text, or the product caption with the stock.
  void SetCaption(const std::string& caption);

  std::filesystem::path root_;
  std::string user_;
  MessageSink& messages_;
  ChartWidget* gp1_;
  std::unique_ptr<GpChartPort> port_;
  std::unique_ptr<PracticeSession> session_;
  IntradayController* intraday_;
  TfrmDzq* dzq_;
  QTabWidget* pg2_;
  SidePanel* side_;
  SettingsPage* settings_;
  EquityCurveView* equity_;
  EquityCurveView* session_equity_;
  QWidget* equity_page_;
  SessionReportPage* report_;
  JournalPage* journal_;
  std::unique_ptr<TForm5> picture_window_;
  QLineEdit* edtgpdm_;
  QWidget* left_bar_;
  DrawingToolPanel* pnltool_;
  QAction* mnu_line_ = nullptr;
  std::unique_ptr<FormulaStore> formula_store_;
  FormulaTree* gs_view_;
  QTimer* tmrautorun_;
  QTimer* tmr_tmrsort_;
  QtLoginLink* link_ = nullptr;
  bool started_ = false;
  std::string caption_override_;
};

}  // namespace vorelin
