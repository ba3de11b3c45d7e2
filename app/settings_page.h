// The '系统设置' page: data period, fee rates with '恢复缺省', initial capital, play speed,
// the login and quote server addresses it shows, and '保存设置'.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

namespace vorelin {

class SettingsPage final : public QWidget {
  Q_OBJECT

 public:
  explicit SettingsPage(QWidget* parent = nullptr);

  // 0 '分时', 1 '日线'.
  int Period() const { return rbDay->isChecked() ? 1 : 0; }
  void SetPeriod(int period);
  void SetServers(const std::string& login, const std::string& quote);

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

 signals:
  void PeriodChanged(int period);
};

}  // namespace vorelin
