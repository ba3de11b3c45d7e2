// The '系统设置' page: data period, fee rates with '恢复缺省', initial capital, play speed,
// the A-share rules, the login and quote server addresses it shows, and '保存设置'.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "practice/settings.h"

namespace vorelin {

class SettingsPage final : public QWidget {
  Q_OBJECT

 public:
  explicit SettingsPage(QWidget* parent = nullptr);

  // 0 '分时', 1 '日线'.
  int Period() const { return rbDay->isChecked() ? 1 : 0; }
  void SetPeriod(int period);
  void SetServers(const std::string& login, const std::string& quote);
  // The A-share rules group: filled from the settings, read back into them.
  void ShowRules(const UserSettings& boxes);
  void ReadRules(UserSettings& boxes) const;

  QRadioButton* rbMinute;
  QRadioButton* rbDay;
  QLineEdit* edtmrfl;
  QLineEdit* edtmcfl;
  QPushButton* btnDefaultFees;
  QComboBox* cbbCszj;
  QLineEdit* edtbfjg;
  QPushButton* btnSaveSettings;
  QPushButton* btnResetAccount;
  QLabel* lblServers;
  QCheckBox *chkTPlusOne, *chkStampDuty, *chkMinCommission, *chkPriceLimits;
  QLineEdit *edtStampDuty, *edtMinCommission;

 signals:
  void PeriodChanged(int period);
  // The trainee changed a rule box.
  void RulesChanged();
};

}  // namespace vorelin
