#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/add_user_dialog.h"
#include "app/article_texts.h"
#include "app/numeric_box_filter.h"
#include "common/ini_file.h"
#include "net/login_replies.h"
#include "practice/account_display.h"

namespace vorelin {
namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }
QString Q(const std::string& text) { return QString::fromStdString(text); }

const char* const kDayPeriodCaptions[] = {"日线", "周线", "月线", "季度线", "年线"};
const char* const kMinutePeriodCaptions[] = {"1分钟", "5分钟", "15分钟", "30分钟", "60分钟",
                                             "日线",  "周线",  "月线",   "季度线", "年线"};
const char* const kPaneCountCaptions[] = {"一个窗口", "二个窗口", "三个窗口", "四个窗口",
                                          "五个窗口", "六个窗口", "七个窗口", "八个窗口",
                                          "九个窗口", "十个窗口"};

// One point per revealed bar of the session, numbered from its first bar.
std::vector<EquityPoint> BarPoints(const std::vector<double>& values) {
  std::vector<EquityPoint> points;
  for (size_t i = 0; i < values.size(); ++i) points.push_back({static_cast<double>(i), values[i]});
  return points;
}

}  // namespace

TForm1::TForm1(std::filesystem::path root, std::string user, MessageSink& messages,
               QWidget* parent)
    : QMainWindow(parent), root_(std::move(root)), user_(std::move(user)), messages_(messages) {
  setObjectName("Form1");
  setWindowTitle(Q(kMainWindowCaption));
  gp1_ = new ChartWidget(messages_);
  gp1_->Chart().ProgramFolder = root_.string();
  gp1_->Chart().SetShowLeft(true);
  // Like every window the replay loads, the chart starts without the board; '显示信息板' in
  // the chart menu shows it (with the replayed quote and the day's trades).
  gp1_->Chart().SetShowBoard(false);
  port_ = std::make_unique<GpChartPort>(gp1_->Chart());
  OpenFormulaStore();
  ChartWidget* chart = gp1_;
  session_ = std::make_unique<PracticeSession>(
      root_, user_, *port_, messages_,
      [chart](const std::filesystem::path& jpg) { return chart->Chart().SaveAllImage(jpg.string()); });

  side_ = new SidePanel;
  settings_ = new SettingsPage;
  IniFile ini;
  ini.Load(session_->ConfigPath());
  const SystemSettings system = ReadSystemSettings(ini);
  QuoteServerAddress quote;
  quote.ipv4 = system.QuoteHost;
  quote.port = system.QuotePort;
  intraday_ = new IntradayController(root_, gp1_->Chart(), *session_, *side_, messages_, quote,
                                     [this](const std::string& caption) { SetCaption(caption); },
                                     this);
  gp1_->Chart().OnGPDate = [this](int date, float) { intraday_->OpenDate(date); };
  dzq_ = new TfrmDzq(root_, session_->Replay(), messages_, gp1_);
  pg2_ = new QTabWidget;
  pg2_->setObjectName("pg2");
  equity_ = new EquityCurveView;
  session_equity_ = new EquityCurveView;
  session_equity_->setObjectName("chtSessionEquity");
  session_equity_->SetTitle(Q("本次训练：账户资产与买入持有"), Q("本次训练尚无K线"));
  auto* equity_page = new QSplitter(Qt::Vertical);
  equity_page->setObjectName("splEquity");
  equity_page->addWidget(equity_);
  equity_page->addWidget(session_equity_);
  equity_page_ = equity_page;
  journal_ = new JournalPage(*session_, messages_);
  report_ = new SessionReportPage;
  picture_window_ = std::make_unique<TForm5>();
  journal_->SetPictureWindow(picture_window_.get());
  pg2_->addTab(BuildChartPage(), Q("盘感训练"));
  pg2_->addTab(equity_page_, Q("资金曲线"));
  pg2_->addTab(journal_, Q("交易日志"));
  pg2_->addTab(report_, Q(kSessionReportTitle));
  pg2_->addTab(BuildArticle("mmoTechnical", kTechnicalAnalysisArticle), Q("技术分析"));
  pg2_->addTab(BuildArticle("mmoPractice", kPracticeArticle), Q("盘感训练"));
  pg2_->addTab(settings_, Q("系统设置"));
  pg2_->addTab(BuildArticle("mmoAbout", kAboutText), Q("关于"));

  connect(pg2_, &QTabWidget::currentChanged, this, &TForm1::PageShown);

  auto* central = new QWidget;
  auto* layout = new QHBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(pg2_, 1);
  layout->addWidget(side_);
  setCentralWidget(central);

  auto* numeric = new NumericBoxFilter(this);
  for (QLineEdit* box : {side_->edtksh, settings_->edtmrfl, settings_->edtmcfl, settings_->edtbfjg,
                         settings_->cbbCszj->lineEdit(), settings_->edtStampDuty,
                         settings_->edtMinCommission})
    numeric->Watch(box);

  BuildMenus();
  WireSidePanel();
  WireSettingsPage();
  WireReplayHooks();

  tmrautorun_ = new QTimer(this);
  tmrautorun_->setObjectName("tmrautorun");
  connect(tmrautorun_, &QTimer::timeout, this, [this] {
    session_->Replay().PlayTick();
    SyncPlayTimer();
  });
  tmr_tmrsort_ = new QTimer(this);
  tmr_tmrsort_->setObjectName("tmrTmrsort");
  tmr_tmrsort_->setInterval(1000);
  connect(tmr_tmrsort_, &QTimer::timeout, this,
          [this] { side_->btnPlay->setText(Q(session_->Replay().PlayCaption())); });
  tmr_tmrsort_->start();

  connect(gp1_, &ChartWidget::NextBarRequested, this, &TForm1::NextClick);
  connect(gp1_, &ChartWidget::BuyRequested, this, &TForm1::BuyClick);
  connect(gp1_, &ChartWidget::SellRequested, this, &TForm1::SellClick);
  connect(gp1_, &ChartWidget::IntradayToggleRequested, intraday_, &IntradayController::ToggleView);
  connect(gp1_, &ChartWidget::TickToggleRequested, intraday_, &IntradayController::ToggleTicks);
  connect(dzq_, &TfrmDzq::NextBarRequested, this, &TForm1::NextClick);
  connect(dzq_, &TfrmDzq::BuyRequested, this, &TForm1::BuyClick);
  connect(dzq_, &TfrmDzq::SellRequested, this, &TForm1::SellClick);
  connect(dzq_, &TfrmDzq::MainChartSwitched, this, [this] {
    UpdateDisplay();
    gp1_->setFocus();
  });
  resize(1280, 760);
}

TForm1::~TForm1() = default;

QWidget* TForm1::BuildChartPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* tools = new QToolBar;
  tools->setObjectName("fltgpGTool");
  tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
  for (const char* caption : kDayPeriodCaptions) {
    QAction* action = tools->addAction(Q(caption));
    connect(action, &QAction::triggered, this, [this, caption] { RunPeriodCommand(Q(caption)); });
  }
  tools->addSeparator();
  auto* periods = new QToolButton;
  periods->setObjectName("btnPeriodMenu");
  periods->setText(Q("周期与窗口"));
  periods->setPopupMode(QToolButton::InstantPopup);
  auto* popup = new QMenu(periods);
  popup->setObjectName("pmPeriod");
  QMenu* day = popup->addMenu(Q("日线周期切换"));
  for (const char* caption : kDayPeriodCaptions)
    connect(day->addAction(Q(caption)), &QAction::triggered, this,
            [this, caption] { RunPeriodCommand(Q(caption)); });
  QMenu* minute = popup->addMenu(Q("分时周期切换"));
  for (const char* caption : kMinutePeriodCaptions)
    connect(minute->addAction(Q(caption)), &QAction::triggered, this,
            [this, caption] { RunPeriodCommand(Q(caption)); });
  QMenu* panes = popup->addMenu(Q("窗口个数"));
  for (int n = 1; n <= 10; ++n) {
    QAction* action = panes->addAction(Q(kPaneCountCaptions[n - 1]) + Q("  Alt+") +
                                       QString::number(n % 10));
    action->setData(n);
    connect(action, &QAction::triggered, this, [this, n] { gp1_->Chart().SetTechWindows(n); });
  }
  connect(popup->addAction(Q("删除窗口")), &QAction::triggered, this,
          [this] { gp1_->Chart().RemoveCurrentPane(); });
  QMenu* current = popup->addMenu(Q("当前指标"));
  connect(current->addAction(Q("恢复所有默认指标")), &QAction::triggered, this,
          [this] { gp1_->Chart().RestoreDefaultIndicators(); });
  // The chart's own menu items of these captions, enabled as the chart's menu has them.
  connect(current, &QMenu::aboutToShow, this, [this, current] {
    const ChartMenu* model = gp1_->Chart().OpenContextMenu();
    ChartMenu menu = model ? *model : ChartMenu{};
    for (QAction* action : current->actions()) {
      const ChartMenuItem* item = FindMenuItem(menu, action->text().toStdString());
      if (item != nullptr) action->setEnabled(item->enabled);
    }
  });
  for (const char* caption : {"修改指标公式", "指标用法注释", "调整指标参数", "恢复默认指标"}) {
    connect(current->addAction(Q(caption)), &QAction::triggered, this,
            [this, caption] { gp1_->Chart().DoMenuCommand(caption); });
  }
  QAction* multi_period = popup->addAction(Q(kMultiPeriodCaption));
  multi_period->setObjectName("actMultiPeriod");
  connect(multi_period, &QAction::triggered, this,
          [this] { dzq_->Open(session_->Replay().Boxes.Period); });
  QMenu* names = popup->addMenu(Q("技术指标"));
  for (const std::string& name : gp1_->Library().Names(-1)) {
    connect(names->addAction(Q(name)), &QAction::triggered, this, [this, name] {
      TGP& chart = gp1_->Chart();
      PaneFormula* pane = chart.HitPane() ? chart.HitPane() : &chart.Pane(chart.SelectedPane());
      chart.LoadIndicator(*pane, name);
    });
  }
  periods->setMenu(popup);
  tools->addWidget(periods);
  tools->addSeparator();
  QAction* toggle_panel = tools->addAction(Q("指标面板"));
  toggle_panel->setObjectName("actToggleFormulaPanel");

  left_bar_ = BuildFormulaPanel();
  connect(toggle_panel, &QAction::triggered, this,
          [this] { left_bar_->setVisible(!left_bar_->isVisible()); });

  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->setObjectName("spl1");
  splitter->addWidget(left_bar_);
  splitter->addWidget(gp1_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({170, 1000});

  auto* status = new QStatusBar;
  status->setObjectName("stat1");
  status->setSizeGripEnabled(false);
  auto* code_label = new QLabel(Q("商品代码"));
  code_label->setMinimumWidth(95);
  edtgpdm_ = new QLineEdit;
  edtgpdm_->setObjectName("edtgpdm");
  edtgpdm_->setToolTip(Q("双击此处可随机更换股票代码"));
  edtgpdm_->setMaximumWidth(110);
  edtgpdm_->installEventFilter(this);
  status->addWidget(code_label);
  status->addWidget(edtgpdm_);
  auto* keys = new QLabel(Q("回车：下一K线    F2：买入    F3：卖出"));
  keys->setObjectName("lblKeys");
  status->addPermanentWidget(keys);

  pnltool_ = new DrawingToolPanel(gp1_->Chart());
  auto* chart_row = new QHBoxLayout;
  chart_row->setSpacing(0);
  chart_row->addWidget(splitter, 1);
  chart_row->addWidget(pnltool_);

  layout->addWidget(tools);
  layout->addLayout(chart_row, 1);
  layout->addWidget(status);
  return page;
}

QWidget* TForm1::BuildFormulaPanel() {
  auto* panel = new QWidget;
  panel->setObjectName("LeftBar");
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* header = new QHBoxLayout;
  header->addWidget(new QLabel(Q("技术指标")), 1);
  auto* hide = new QToolButton;
  hide->setObjectName("btnHideFormulaPanel");
  hide->setText(Q("×"));
  hide->setAutoRaise(true);
  connect(hide, &QToolButton::clicked, panel, &QWidget::hide);
  header->addWidget(hide);
  layout->addLayout(header);
  gs_view_ = new FormulaTree(*formula_store_, messages_, [this](const std::string& name, const std::string& text) {
    gp1_->FormulaDialogs().LoadLibraryFormula(name, text);
  });
  if (formula_store_->IsOpen()) gs_view_->Fill();
  layout->addWidget(gs_view_, 1);
  panel->setMinimumWidth(120);
  return panel;
}

void TForm1::OpenFormulaStore() {
  formula_store_ = std::make_unique<FormulaStore>();
  const std::filesystem::path path = FormulaStore::PathIn(root_);
  std::string error;
  if (FormulaStore::CreateWithDefaults(path, error) && formula_store_->Open(path, error)) {
    gp1_->FormulaDialogs().SetStore(formula_store_.get());
    return;
  }
  messages_.Show(error);
  QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

QWidget* TForm1::BuildArticle(const char* name, const char* text) {
  auto* memo = new QPlainTextEdit(Q(text));
  memo->setObjectName(name);
  memo->setReadOnly(true);
  QFont font = memo->font();
  font.setPointSize(font.pointSize() + 1);
  memo->setFont(font);
  return memo;
}

void TForm1::BuildMenus() {
  QMenu* system = menuBar()->addMenu(Q("系统"));
  connect(system->addAction(Q("账户管理")), &QAction::triggered, this, &TForm1::AccountsClick);
  connect(system->addAction(Q("账户初始化")), &QAction::triggered, this, [this] {
    if (session_->ResetAccount()) PushBoxes();
    UpdateDisplay();
  });
  connect(system->addAction(Q("系统目录")), &QAction::triggered, this, [this] { OpenInShell(root_); });
  system->addSeparator();
  connect(system->addAction(Q("退出")), &QAction::triggered, this, &QWidget::close);

  QMenu* training = menuBar()->addMenu(Q("训练"));
  QAction* blind = training->addAction(Q(kBlindTrainingCaption));
  blind->setObjectName("mniBlindTraining");
  QAction* end_blind = training->addAction(Q(kEndBlindCaption));
  end_blind->setObjectName("mniEndBlind");
  connect(training, &QMenu::aboutToShow, this, [this, blind, end_blind] {
    blind->setEnabled(!session_->Replay().Blind());
    end_blind->setEnabled(session_->Replay().Blind());
  });
  connect(blind, &QAction::triggered, this, [this] {
    if (!session_->Replay().Blind()) BlindClick();
  });
  connect(end_blind, &QAction::triggered, this, [this] {
    if (session_->Replay().Blind()) BlindClick();
  });

  QMenu* look = menuBar()->addMenu(Q("外观"));
  connect(look->addAction(Q("白色主题")), &QAction::triggered, this,
          [this] { gp1_->Chart().SetColor(0xFFFFFF); });
  connect(look->addAction(Q("黑色主题")), &QAction::triggered, this, [this] { gp1_->Chart().SetColor(0); });

  QMenu* tools = menuBar()->addMenu(Q("工具"));
  mnu_line_ = tools->addAction(Q("划线"));
  mnu_line_->setObjectName("mnuLine");
  mnu_line_->setCheckable(true);
  mnu_line_->setChecked(true);
  connect(mnu_line_, &QAction::triggered, this, &TForm1::ShowDrawingTools);

  QMenu* help = menuBar()->addMenu(Q("帮助"));
  connect(help->addAction(Q("使用说明")), &QAction::triggered, this, [this] {
    const std::filesystem::path readme = std::filesystem::path(VORELIN_SOURCE_DIR) / "README.md";
    OpenInShell(readme);
  });
  connect(help->addAction(Q("版本升级")), &QAction::triggered, this, &TForm1::VersionClick);
  connect(help->addAction(Q("关于")), &QAction::triggered, this,
          [this] { messages_.Show(std::string("当前版本：") + VORELIN_VERSION); });
}

void TForm1::AttachLoginLink(QtLoginLink& link) {
  link_ = &link;
  link.SetReplyHandler([this](const ServerMessage& reply) {
    const MainWindowReplyAction action = DecideMainWindowReply(reply, kDefaultAdminContact);
    if (action.kind == MainWindowReplyAction::Kind::kShow) {
      messages_.Show(action.message);
    } else if (action.kind == MainWindowReplyAction::Kind::kAskUpgrade &&
               messages_.Ask(action.message)) {
      QDesktopServices::openUrl(QUrl(Q(action.address)));
    }
  });
}

void TForm1::VersionClick() {
  if (link_ != nullptr && link_->IsConnected()) {
    link_->Send(VersionQuestion());
    return;
  }
  messages_.Show(kNotConnectedText);
  if (link_ != nullptr) link_->Reconnect();
}

void TForm1::AccountsClick() {
  if (link_ == nullptr) {
    messages_.Show(kNotConnectedText);
    return;
  }
  TFrmAdd dialog(*link_, messages_, this);
  dialog.exec();
}

void TForm1::WireSidePanel() {
  ReplayController& r = session_->Replay();
  SidePanel& s = *side_;
  connect(s.btnNext, &QPushButton::clicked, this, &TForm1::NextClick);
  connect(s.btnBtnBuyOpen, &QPushButton::clicked, this, &TForm1::BuyClick);
  connect(s.btnBuyClose, &QPushButton::clicked, this, &TForm1::SellClick);
  connect(s.btnPri, &QPushButton::clicked, this, [this, &r] {
    r.PreviousBar();
    UpdateDisplay();
  });
  connect(s.btnBtnsjhg, &QPushButton::clicked, this, [this, &r] {
    r.RandomTraining();
    PushBoxes();
  });
  connect(s.btnBlindTraining, &QPushButton::clicked, this, &TForm1::BlindClick);
  connect(s.btnPlay, &QPushButton::clicked, this, [this, &r] {
    r.PlayClick();
    SyncPlayTimer();
  });
  connect(s.edtqhmmsl, &QLineEdit::textEdited, this,
          [&r](const QString& text) { r.QuantityBox = text.toStdString(); });
  connect(s.cbbbuy, &QComboBox::currentTextChanged, this,
          [&r](const QString& text) { r.BuyChoice = text.toStdString(); });
  connect(s.cbbsell, &QComboBox::currentTextChanged, this,
          [&r](const QString& text) { r.SellChoice = text.toStdString(); });
  connect(s.edtksh, &QLineEdit::textEdited, this,
          [&r](const QString& text) { r.Boxes.StartRow = text.toStdString(); });
  connect(s.edtksh, &QLineEdit::returnPressed, this, [this, &r] {
    r.StartRowEnter();
    UpdateDisplay();
  });
  s.edtksh->installEventFilter(this);
  connect(s.btnselectdate1, &QPushButton::clicked, this, [this, &r] {
    const QDate d = side_->dtp1->date();
    const int yyyymmdd = d.year() * 10000 + d.month() * 100 + d.day();
    r.SelectStartDate(FormatPickerDate(yyyymmdd, side_->edtrqgs->text().toStdString()));
    UpdateDisplay();
  });
  connect(edtgpdm_, &QLineEdit::textEdited, this,
          [&r](const QString& text) { r.ApplyStockCode(text.toStdString()); });
  connect(edtgpdm_, &QLineEdit::returnPressed, this, [this, &r] {
    if (r.Blind()) return;
    r.StockCodeEnter();
    RefreshMultiPeriod();
    PushBoxes();
  });
}

void TForm1::WireSettingsPage() {
  ReplayController& r = session_->Replay();
  SettingsPage& p = *settings_;
  connect(&p, &SettingsPage::PeriodChanged, this, [&r](int period) { r.Boxes.Period = period; });
  auto fees = [&r, &p] {
    r.Boxes.BuyFee = p.edtmrfl->text().toStdString();
    r.Boxes.SellFee = p.edtmcfl->text().toStdString();
    r.ApplyFeeRates();
  };
  connect(p.edtmrfl, &QLineEdit::textEdited, this, fees);
  connect(p.edtmcfl, &QLineEdit::textEdited, this, fees);
  connect(p.btnDefaultFees, &QPushButton::clicked, this, [this, &r, fees] {
    r.RestoreDefaultFees();
    settings_->edtmrfl->setText(Q(r.Boxes.BuyFee));
    settings_->edtmcfl->setText(Q(r.Boxes.SellFee));
    fees();
  });
  connect(p.cbbCszj, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    if (started_) session_->CapitalChanged(text.toStdString());
  });
  connect(p.edtbfjg, &QLineEdit::textEdited, this, [this, &r](const QString& text) {
    r.SetPlaySpeed(text.toStdString());
    SyncPlayTimer();
  });
  connect(&p, &SettingsPage::RulesChanged, this, [&r, &p] {
    p.ReadRules(r.Boxes);
    r.ApplyFeeRates();
  });
  connect(p.btnSaveSettings, &QPushButton::clicked, this, [this] { session_->SaveSettingsClick(); });
  connect(p.btnResetAccount, &QPushButton::clicked, this, [this] {
    if (session_->ResetAccount()) PushBoxes();
    UpdateDisplay();
  });
}

void TForm1::WireReplayHooks() {
  ReplayHooks hooks;
  hooks.save_settings = [this] { session_->Save(); };
  hooks.display_changed = [this] { UpdateDisplay(); };
  hooks.before_next = [this] { intraday_->BeforeStep(); };
  hooks.after_next = [this] {
    RefreshMultiPeriod();
    intraday_->AfterStep();
  };
  hooks.refresh_multi_period = [this] { RefreshMultiPeriod(); };
  session_->Replay().SetHooks(std::move(hooks));
}

bool TForm1::StartSession() {
  started_ = true;
  if (!session_->Start()) return false;
  side_->edtzhmc->setText(Q(user_));
  side_->ShowReasons(session_->Replay().Reasons().Items());
  PushBoxes();
  UpdateDisplay();
  IniFile ini;
  ini.Load(session_->ConfigPath());
  const SystemSettings system = ReadSystemSettings(ini);
  settings_->SetServers(system.LoginHost + ":" + std::to_string(system.LoginPort),
                        system.QuoteHost + ":" + std::to_string(system.QuotePort));
  return true;
}

void TForm1::PushBoxes() {
  const ReplayController& r = session_->Replay();
  const UserSettings& b = r.Boxes;
  side_->edtksh->setText(Q(b.StartRow));
  side_->edtcszj->setText(Q(b.AvailableCash));
  settings_->SetPeriod(b.Period);
  settings_->edtmrfl->setText(Q(b.BuyFee));
  settings_->edtmcfl->setText(Q(b.SellFee));
  settings_->edtbfjg->setText(Q(b.PlaySpeed));
  ShowDrawingTools(b.DrawingTools);
  settings_->ShowRules(b);
  // The date picker starts on the bar shown last, a date the data has (and no blind one).
  const int shown = r.CurrentDate();
  const QDate date(shown / 10000, shown / 100 % 100, shown % 100);
  if (date.isValid() && !r.Blind()) side_->dtp1->setDate(date);
  ShowCodeBox();
  const bool was_started = started_;
  started_ = false;  // filling the box is no change by the user
  settings_->cbbCszj->setCurrentText(Q(b.InitialCapital));
  started_ = was_started;
}

void TForm1::ShowDrawingTools(bool shown) {
  mnu_line_->setChecked(shown);
  pnltool_->setVisible(shown);
  pnltool_->LineTB()->setVisible(shown);
  session_->Replay().Boxes.DrawingTools = shown;
}

void TForm1::UpdateDisplay() {
  ReplayController& r = session_->Replay();
  side_->ShowAccount(BuildAccountDisplay(r.Account()));
  side_->edtqhmmsl->setText(Q(r.QuantityBox));
  side_->btnBlindTraining->setText(Q(r.Blind() ? kEndBlindCaption : kBlindTrainingCaption));
  if (r.Blind() != edtgpdm_->isReadOnly()) ShowCodeBox();
  SetCaption(caption_override_);
}

void TForm1::ShowCodeBox() {
  const ReplayController& r = session_->Replay();
  edtgpdm_->setReadOnly(r.Blind());
  edtgpdm_->setText(Q(r.Blind() ? std::string(kMaskedText) : r.Boxes.StockCode));
}

void TForm1::BlindClick() {
  ReplayController& r = session_->Replay();
  r.Blind() ? r.EndBlind() : r.BlindTraining();
  PushBoxes();
  UpdateDisplay();
}

void TForm1::SetCaption(const std::string& caption) {
  caption_override_ = caption;
  setWindowTitle(Q(session_->Replay().WindowCaption(kMainWindowCaption, caption)));
}

void TForm1::PageShown(int index) {
  QWidget* page = pg2_->widget(index);
  if (page == equity_page_) {
    std::vector<EquityPoint> points;
    if (session_->EquityPage(points)) equity_->SetPoints(std::move(points));
    const SessionReport report = session_->Replay().Report();
    session_equity_->SetPoints(BarPoints(report.equity));
    session_equity_->SetComparison(BarPoints(report.hold), Q("账户资产"), Q("买入持有"));
  } else if (page == journal_) {
    journal_->Refresh();
  } else if (page == report_) {
    report_->ShowText(session_->Replay().ReportText());
  }
}

void TForm1::SyncPlayTimer() {
  const ReplayController& r = session_->Replay();
  side_->btnPlay->setText(Q(r.PlayCaption()));
  if (r.TimerRuns()) {
    tmrautorun_->setInterval(r.PlayInterval());
    if (!tmrautorun_->isActive()) tmrautorun_->start();
  } else {
    tmrautorun_->stop();
  }
}

void TForm1::RunPeriodCommand(const QString& caption) {
  session_->Replay().PeriodCommand(caption.toStdString());
  UpdateDisplay();
}

void TForm1::RefreshMultiPeriod() { dzq_->RefreshIfShown(session_->Replay().Boxes.Period); }

void TForm1::NextClick() {
  session_->Replay().NextClick();
  SyncPlayTimer();
}

void TForm1::BuyClick() { Trade(true); }

void TForm1::SellClick() { Trade(false); }

void TForm1::Trade(bool buy) {
  ReplayController& r = session_->Replay();
  r.QuantityBox = side_->edtqhmmsl->text().toStdString();
  r.ReasonBox = side_->cbbReason->currentText().toStdString();
  buy ? r.BuyClick() : r.SellClick();
  side_->ShowReasons(r.Reasons().Items());
}

void TForm1::OpenInShell(const std::filesystem::path& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path.string())));
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!started_) StartSession();
  gp1_->setFocus();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (session_->ConfirmClose()) {
    tmrautorun_->stop();
    intraday_->Shutdown();
    event->accept();
  } else {
    event->ignore();
  }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    ReplayController& r = session_->Replay();
    if (watched == edtgpdm_) {
      r.RandomTraining();
      PushBoxes();
      return true;
    }
    if (watched == side_->edtksh) {
      r.StartRowDoubleClick();
      PushBoxes();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace vorelin
