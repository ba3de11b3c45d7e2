#include "app/multi_period_window.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/chart_menu_style.h"

namespace vorelin {
namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

// The menu items that are the chart's own context-menu actions.
bool IsChartAction(const std::string& caption) {
  return caption == "指标用法注释" || caption == "调整指标参数" || caption == "修改指标公式" ||
         caption == "恢复默认指标";
}

void SetUpSmallChart(TGP& chart, const std::filesystem::path& root) {
  chart.ProgramFolder = root.string();
  chart.SetShowBoard(false);
  chart.SetTechWindows(1);
  chart.SetShowLeft(true);
  chart.SetShowTop(true);
  chart.SetShowMenu(true);
  chart.SetShowHighLow(false);
  chart.SetShowTab(false);
  chart.SetShowRight(true);
  chart.LoadPaneFormula(0, (root / kMultiPeriodFormulaFile).string());
  chart.ClearData();
}

}  // namespace

TfrmDzq::TfrmDzq(const std::filesystem::path& root, ReplayController& replay,
                 MessageSink& messages, QWidget* chart_area)
    : QWidget(chart_area) {
  setObjectName("frmDzq");
  setWindowTitle(Q(kMultiPeriodCaption));
  setAutoFillBackground(true);
  // The chart underneath must not take the clicks, wheel turns and menus meant for this window.
  setAttribute(Qt::WA_NoMousePropagation);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* caption = new QWidget;
  caption->setObjectName("dzqCaption");
  auto* caption_row = new QHBoxLayout(caption);
  caption_row->setContentsMargins(6, 1, 1, 1);
  caption_row->addWidget(new QLabel(Q(kMultiPeriodCaption)), 1);
  auto* close = new QToolButton;
  close->setObjectName("btnCloseDzq");
  close->setText(Q("×"));
  close->setAutoRaise(true);
  connect(close, &QToolButton::clicked, this, &QWidget::hide);
  caption_row->addWidget(close);
  layout->addWidget(caption);
  client_ = new QWidget;
  client_->setObjectName("dzqClient");
  client_->installEventFilter(this);
  layout->addWidget(client_, 1);

  std::array<ChartPort*, kMultiPeriodCharts> ports{};
  for (int k = 0; k < kMultiPeriodCharts; ++k) {
    auto* chart = new ChartWidget(messages, client_);
    chart->setObjectName(QString("gpDzq%1").arg(k));
    chart->setMinimumSize(0, 0);
    SetUpSmallChart(chart->Chart(), root);
    chart->installEventFilter(this);
    connect(chart, &ChartWidget::NextBarRequested, this, &TfrmDzq::NextBarRequested);
    connect(chart, &ChartWidget::BuyRequested, this, &TfrmDzq::BuyRequested);
    connect(chart, &ChartWidget::SellRequested, this, &TfrmDzq::SellRequested);
    const auto i = static_cast<size_t>(k);
    charts_[i] = chart;
    ports_[i] = std::make_unique<GpChartPort>(chart->Chart());
    ports[i] = ports_[i].get();
  }
  logic_ = std::make_unique<MultiPeriodCharts>(replay, ports);
  chart_area->installEventFilter(this);
  hide();
}

TfrmDzq::~TfrmDzq() = default;

void TfrmDzq::Open(int mode) {
  setGeometry(parentWidget()->rect());
  logic_->RefreshAll(mode);
  show();
  raise();
  Layout();
  Chart(focused_).setFocus(Qt::OtherFocusReason);
}

void TfrmDzq::RefreshIfShown(int mode) {
  if (!isHidden()) logic_->RefreshAll(mode);
}

void TfrmDzq::Layout() {
  for (int k = 0; k < kMultiPeriodCharts; ++k) {
    const ChartPlace place =
        MultiPeriodPlace(logic_->LayoutCount(), k, client_->width(), client_->height());
    Chart(k).setGeometry(place.left, place.top, place.width, place.height);
  }
}

int TfrmDzq::PositionOf(QObject* chart) const {
  for (int k = 0; k < kMultiPeriodCharts; ++k)
    if (charts_[static_cast<size_t>(k)] == chart) return k;
  return -1;
}

bool TfrmDzq::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) {
    setGeometry(parentWidget()->rect());
    return false;
  }
  if (watched == client_) {
    if (event->type() == QEvent::Resize) Layout();
    return false;
  }
  const int k = PositionOf(watched);
  if (k < 0) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::FocusIn:
      focused_ = k;
      return false;
    case QEvent::MouseButtonDblClick:
      DoubleClick(k);
      return true;
    case QEvent::ContextMenu: {
      focused_ = k;
      const auto* context = static_cast<QContextMenuEvent*>(event);
      Chart(k).Chart().HitTest(context->pos().x(), context->pos().y());
      QMenu* menu = BuildMenu(this);
      menu->setAttribute(Qt::WA_DeleteOnClose);
      menu->popup(context->globalPos());
      return true;
    }
    default:
      return false;
  }
}

void TfrmDzq::DoubleClick(int position) {
  if (logic_->SwitchMultiplier(position) <= 0) return;
  hide();
  logic_->SwitchMainChart(position);
  emit MainChartSwitched();
}

QMenu* TfrmDzq::BuildMenu(QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setObjectName("pmDzq");
  static ChartMenuStyle style;
  menu->setStyle(&style);
  TGP& chart = Chart(focused_).Chart();
  const ChartMenu* model = chart.OpenContextMenu();
  ChartMenu items = model ? *model : ChartMenu{};
  for (const char* caption : kMultiPeriodMenu) {
    QAction* action = menu->addAction(Q(caption));
    if (IsChartAction(caption)) {
      const ChartMenuItem* item = FindMenuItem(items, caption);
      action->setEnabled(item != nullptr && item->enabled);
    }
    if (std::string(caption) == "显示指标栏") {
      action->setCheckable(true);
      action->setChecked(chart.ShowTab());
    }
    const QString text = Q(caption);
    connect(action, &QAction::triggered, this, [this, text] { MenuCommand(text); });
  }
  return menu;
}

void TfrmDzq::MenuCommand(const QString& caption) {
  TGP& chart = Chart(focused_).Chart();
  const std::string command = caption.toStdString();
  if (command == "四图") logic_->SetLayoutCount(4);
  else if (command == "六图") logic_->SetLayoutCount(6);
  else if (command == "九图") logic_->SetLayoutCount(9);
  else if (command == "自定义周期") AskCustomPeriod();
  else if (command == "显示指标栏") chart.SetShowTab(!chart.ShowTab());
  else if (IsChartAction(command)) chart.DoMenuCommand(command);
  Layout();
}

void TfrmDzq::AskCustomPeriod() {
  bool ok = false;
  const QString text = QInputDialog::getText(this, Q(kCustomPeriodTitle), Q(kCustomPeriodPrompt),
                                             QLineEdit::Normal, QString(), &ok);
  if (ok) logic_->SetCustomPeriod(focused_, text.toStdString());
}

}  // namespace vorelin
