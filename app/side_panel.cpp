#include "app/side_panel.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "practice/account.h"

namespace vorelin {
namespace {

QLineEdit* AccountBox(const char* name) {
  auto* box = new QLineEdit;
  box->setObjectName(name);
  box->setReadOnly(true);
  box->setAlignment(Qt::AlignRight);
  return box;
}

QPushButton* Button(const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption));
  button->setObjectName(name);
  return button;
}

QComboBox* ChoiceBox(const char* name) {
  auto* box = new QComboBox;
  box->setObjectName(name);
  for (const char* choice : kQuantityChoices) box->addItem(QString::fromUtf8(choice));
  return box;
}

QHBoxLayout* ButtonRow(QPushButton* left, QPushButton* right) {
  auto* row = new QHBoxLayout;
  row->addWidget(left);
  row->addWidget(right);
  return row;
}

void SetColoured(QLineEdit* box, const std::string& text, uint32_t colour) {
  box->setText(QString::fromStdString(text));
  QPalette palette = box->palette();
  palette.setColor(QPalette::Text, ToQColor(colour));
  box->setPalette(palette);
}

}  // namespace

QColor ToQColor(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

SidePanel::SidePanel(QWidget* parent) : QWidget(parent) {
  setObjectName("Panel1");
  pages = new QTabWidget;
  pages->setObjectName("pgSide");
  pages->addTab(BuildTradePage(), QString::fromUtf8("交易"));
  pages->addTab(BuildAccountPage(), QString::fromUtf8("账户"));
  lstTransactions = new QListWidget;
  lstTransactions->setObjectName("lstTransactions");
  lstPankou = new QListWidget;
  lstPankou->setObjectName("lstPankou");
  for (QListWidget* list : {lstTransactions, lstPankou}) {
    QFont font = list->font();
    font.setFamily("WenQuanYi Micro Hei Mono");
    list->setFont(font);
  }
  pages->addTab(lstTransactions, QString::fromUtf8("分笔成交"));
  pages->addTab(lstPankou, QString::fromUtf8("盘口"));
  btnNext = Button("btnNext", "下一K线");
  btnNext->setMinimumHeight(36);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(pages, 1);
  layout->addWidget(btnNext);
  setMinimumWidth(250);
  setMaximumWidth(320);
}

QWidget* SidePanel::BuildTradePage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);

  auto* order = new QGroupBox(QString::fromUtf8("委托"));
  auto* order_form = new QFormLayout(order);
  edtqhmmsl = new QLineEdit("0");
  edtqhmmsl->setObjectName("edtqhmmsl");
  edtqhmmsl->setAlignment(Qt::AlignRight);
  cbbbuy = ChoiceBox("cbbbuy");
  cbbsell = ChoiceBox("cbbsell");
  order_form->addRow(QString::fromUtf8("数量"), edtqhmmsl);
  order_form->addRow(QString::fromUtf8("买入"), cbbbuy);
  order_form->addRow(QString::fromUtf8("卖出"), cbbsell);
  cbbReason = new QComboBox;
  cbbReason->setObjectName("cbbReason");
  cbbReason->setEditable(true);
  cbbReason->setInsertPolicy(QComboBox::NoInsert);
  cbbReason->lineEdit()->setPlaceholderText(QString::fromUtf8("买卖的理由"));
  order_form->addRow(QString::fromUtf8("理由"), cbbReason);
  layout->addWidget(order);

  auto* account = new QGroupBox(QString::fromUtf8("账户"));
  auto* form = new QFormLayout(account);
  edtzzc = AccountBox("edtzzc");
  edtkyzj = AccountBox("edtkyzj");
  edtgpsz = AccountBox("edtgpsz");
  edtfdyk = AccountBox("edtfdyk");
  edtykbl = AccountBox("edtykbl");
  edtddcc = AccountBox("edtddcc");
  edtzdkm = AccountBox("edtzdkm");
  edtdqj = AccountBox("edtdqj");
  edtcbj = AccountBox("edtcbj");
  const std::pair<const char*, QLineEdit*> rows[] = {
      {"总资产", edtzzc},   {"可用资金", edtkyzj}, {"股票市值", edtgpsz},
      {"浮动盈亏", edtfdyk}, {"盈亏比例", edtykbl}, {"持仓数量", edtddcc},
      {"最大可买", edtzdkm}, {"当前价", edtdqj},     {"成本价", edtcbj}};
  for (const auto& [caption, box] : rows) form->addRow(QString::fromUtf8(caption), box);
  layout->addWidget(account);

  btnBtnBuyOpen = Button("btnBtnBuyOpen", "买入");
  btnBuyClose = Button("btnBuyClose", "卖出");
  btnBtnBuyOpen->setToolTip(QString::fromUtf8("以当前收盘价买入（F2）"));
  btnBuyClose->setToolTip(QString::fromUtf8("以当前收盘价卖出（F3）"));
  btnBtnBuyOpen->setStyleSheet("QPushButton { color: #c00000; font-weight: bold; }");
  btnBuyClose->setStyleSheet("QPushButton { color: #0040c0; font-weight: bold; }");
  layout->addLayout(ButtonRow(btnBtnBuyOpen, btnBuyClose));
  btnBtnsjhg = Button("btnBtnsjhg", "随机训练&R");
  btnBlindTraining = Button("btnBlindTraining", "盲盘训练");
  btnBlindTraining->setToolTip(QString::fromUtf8("随机股票、随机起点，隐藏代码、名称和日期"));
  btnPlay = Button("btnPlay", "播放(&Play)");
  QHBoxLayout* training = ButtonRow(btnBtnsjhg, btnBlindTraining);
  training->addWidget(btnPlay);
  layout->addLayout(training);
  layout->addStretch(1);
  return page;
}

QWidget* SidePanel::BuildAccountPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* form = new QFormLayout;
  edtksh = new QLineEdit("1");
  edtksh->setObjectName("edtksh");
  edtksh->setToolTip(QString::fromUtf8("双击此处可以回到第一行"));
  edtcszj = new QLineEdit("10000");
  edtcszj->setObjectName("edtcszj");
  edtcszj->setReadOnly(true);
  edtzhmc = new QLineEdit;
  edtzhmc->setObjectName("edtzhmc");
  edtzhmc->setReadOnly(true);
  form->addRow(QString::fromUtf8("开始行"), edtksh);
  form->addRow(QString::fromUtf8("初始资金"), edtcszj);
  form->addRow(QString::fromUtf8("当前账户"), edtzhmc);
  dtp1 = new QDateEdit(QDate::currentDate());
  dtp1->setObjectName("dtp1");
  dtp1->setCalendarPopup(true);
  dtp1->setDisplayFormat("yyyy-MM-dd");
  edtrqgs = new QLineEdit("yyyymmdd");
  edtrqgs->setObjectName("edtrqgs");
  form->addRow(QString::fromUtf8("开始日期"), dtp1);
  form->addRow(QString::fromUtf8("日期格式"), edtrqgs);
  layout->addLayout(form);
  btnselectdate1 = Button("btnselectdate1", "确定");
  btnPri = Button("btnPri", "上一K线");
  layout->addLayout(ButtonRow(btnselectdate1, btnPri));
  mmo1 = new QPlainTextEdit;
  mmo1->setObjectName("mmo1");
  mmo1->setReadOnly(true);
  layout->addWidget(mmo1, 1);
  return page;
}

void SidePanel::ShowReasons(const std::vector<std::string>& reasons) {
  const QString typed = cbbReason->currentText();
  cbbReason->clear();
  for (const std::string& reason : reasons) cbbReason->addItem(QString::fromStdString(reason));
  cbbReason->setCurrentText(typed);
}

void SidePanel::ShowAccount(const AccountDisplay& display) {
  mmo1->setPlainText(QString::fromStdString(display.report));
  QPalette palette = mmo1->palette();
  palette.setColor(QPalette::Text, ToQColor(display.report_colour));
  mmo1->setPalette(palette);
  const std::pair<QLineEdit*, const std::string*> boxes[] = {
      {edtzzc, &display.total},        {edtkyzj, &display.cash},
      {edtgpsz, &display.market_value}, {edtddcc, &display.quantity},
      {edtzdkm, &display.max_buyable},  {edtdqj, &display.price},
      {edtcbj, &display.cost},          {edtfdyk, &display.profit_loss},
      {edtykbl, &display.profit_ratio}};
  for (const auto& [box, text] : boxes) SetColoured(box, *text, display.box_colour);
}

}  // namespace vorelin
