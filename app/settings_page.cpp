#include "app/settings_page.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace vorelin {

SettingsPage::SettingsPage(QWidget* parent) : QWidget(parent) {
  setObjectName("tsSettings");
  auto* outer = new QHBoxLayout(this);
  auto* column = new QVBoxLayout;
  outer->addLayout(column);
  outer->addStretch(1);

  auto* period = new QGroupBox(QString::fromUtf8("数据周期"));
  period->setObjectName("rgperiod");
  rbMinute = new QRadioButton(QString::fromUtf8("分时"));
  rbDay = new QRadioButton(QString::fromUtf8("日线"));
  rbMinute->setObjectName("rbMinute");
  rbDay->setObjectName("rbDay");
  auto* group = new QButtonGroup(this);
  group->addButton(rbMinute, 0);
  group->addButton(rbDay, 1);
  rbDay->setChecked(true);
  auto* period_row = new QHBoxLayout(period);
  period_row->addWidget(rbMinute);
  period_row->addWidget(rbDay);
  period_row->addStretch(1);
  connect(group, &QButtonGroup::idClicked, this, &SettingsPage::PeriodChanged);
  column->addWidget(period);

  auto* fees = new QGroupBox(QString::fromUtf8("手续费（千分之）"));
  auto* fee_form = new QFormLayout(fees);
  edtmrfl = new QLineEdit("3");
  edtmrfl->setObjectName("edtmrfl");
  edtmcfl = new QLineEdit("5");
  edtmcfl->setObjectName("edtmcfl");
  btnDefaultFees = new QPushButton(QString::fromUtf8("恢复缺省"));
  btnDefaultFees->setObjectName("btnDefaultFees");
  fee_form->addRow(QString::fromUtf8("买入费率"), edtmrfl);
  fee_form->addRow(QString::fromUtf8("卖出费率"), edtmcfl);
  fee_form->addRow(QString(), btnDefaultFees);
  column->addWidget(fees);

  auto* account = new QGroupBox(QString::fromUtf8("账户与回放"));
  auto* form = new QFormLayout(account);
  cbbCszj = new QComboBox;
  cbbCszj->setObjectName("cbbCszj");
  cbbCszj->setEditable(true);
  for (const char* capital : {"10000", "100000", "1000000", "10000000"}) cbbCszj->addItem(capital);
  edtbfjg = new QLineEdit("10");
  edtbfjg->setObjectName("edtbfjg");
  form->addRow(QString::fromUtf8("初始资金"), cbbCszj);
  form->addRow(QString::fromUtf8("播放间隔（x0.1 秒）"), edtbfjg);
  column->addWidget(account);

  auto* rules = new QGroupBox(QString::fromUtf8("A股交易规则"));
  rules->setObjectName("grpRules");
  auto* rule_form = new QFormLayout(rules);
  chkTPlusOne = new QCheckBox(QString::fromUtf8("T+1：当日买入的股票次日才能卖出"));
  chkTPlusOne->setObjectName("chkTPlusOne");
  chkStampDuty = new QCheckBox(QString::fromUtf8("卖出印花税（‰）"));
  chkStampDuty->setObjectName("chkStampDuty");
  edtStampDuty = new QLineEdit("0.5");
  edtStampDuty->setObjectName("edtStampDuty");
  chkMinCommission = new QCheckBox(QString::fromUtf8("每笔最低佣金（元）"));
  chkMinCommission->setObjectName("chkMinCommission");
  edtMinCommission = new QLineEdit("5");
  edtMinCommission->setObjectName("edtMinCommission");
  chkPriceLimits = new QCheckBox(QString::fromUtf8("涨跌停：涨停不能买入，跌停不能卖出"));
  chkPriceLimits->setObjectName("chkPriceLimits");
  rule_form->addRow(chkTPlusOne);
  rule_form->addRow(chkStampDuty, edtStampDuty);
  rule_form->addRow(chkMinCommission, edtMinCommission);
  rule_form->addRow(chkPriceLimits);
  for (QCheckBox* box : {chkTPlusOne, chkStampDuty, chkMinCommission, chkPriceLimits})
    connect(box, &QCheckBox::clicked, this, &SettingsPage::RulesChanged);
  for (QLineEdit* box : {edtStampDuty, edtMinCommission})
    connect(box, &QLineEdit::textEdited, this, &SettingsPage::RulesChanged);
  column->addWidget(rules);

  auto* servers = new QGroupBox(QString::fromUtf8("服务器"));
  auto* server_box = new QVBoxLayout(servers);
  lblServers = new QLabel;
  lblServers->setObjectName("lblServers");
  lblServers->setTextInteractionFlags(Qt::TextSelectableByMouse);
  server_box->addWidget(lblServers);
  column->addWidget(servers);

  btnSaveSettings = new QPushButton(QString::fromUtf8("保存设置"));
  btnSaveSettings->setObjectName("btnSaveSettings");
  btnResetAccount = new QPushButton(QString::fromUtf8("账户初始化"));
  btnResetAccount->setObjectName("btnResetAccount");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnSaveSettings);
  buttons->addWidget(btnResetAccount);
  buttons->addStretch(1);
  column->addLayout(buttons);
  column->addStretch(1);
  for (QWidget* box : {static_cast<QWidget*>(period), static_cast<QWidget*>(fees),
                       static_cast<QWidget*>(account), static_cast<QWidget*>(rules),
                       static_cast<QWidget*>(servers)})
    box->setMinimumWidth(380);
}

void SettingsPage::SetPeriod(int period) { (period == 0 ? rbMinute : rbDay)->setChecked(true); }

void SettingsPage::SetServers(const std::string& login, const std::string& quote) {
  lblServers->setText(QString::fromUtf8("登录服务器：%1\n行情服务器：%2（在 config.ini 的“系统设置”中修改）")
                          .arg(QString::fromStdString(login), QString::fromStdString(quote)));
}

}  // namespace vorelin

namespace vorelin {

void SettingsPage::ShowRules(const UserSettings& boxes) {
  chkTPlusOne->setChecked(boxes.RuleTPlusOne);
  chkStampDuty->setChecked(boxes.RuleStampDuty);
  edtStampDuty->setText(QString::fromStdString(boxes.StampDutyRate));
  chkMinCommission->setChecked(boxes.RuleMinCommission);
  edtMinCommission->setText(QString::fromStdString(boxes.MinCommission));
  chkPriceLimits->setChecked(boxes.RulePriceLimits);
}

void SettingsPage::ReadRules(UserSettings& boxes) const {
  boxes.RuleTPlusOne = chkTPlusOne->isChecked();
  boxes.RuleStampDuty = chkStampDuty->isChecked();
  boxes.StampDutyRate = edtStampDuty->text().toStdString();
  boxes.RuleMinCommission = chkMinCommission->isChecked();
  boxes.MinCommission = edtMinCommission->text().toStdString();
  boxes.RulePriceLimits = chkPriceLimits->isChecked();
}

}  // namespace vorelin
