// The panel beside the chart: the trade page (quantity, choices, account boxes, buy, sell,
// random training, play), the account page (start row, capital, account name, start date,
// previous bar, report), the two transaction lists, and '下一K线' under them.
#pragma once

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <string>
#include <vector>

#include "practice/account_display.h"

namespace vorelin {

class SidePanel final : public QWidget {
  Q_OBJECT

 public:
  explicit SidePanel(QWidget* parent = nullptr);

  // The account boxes and the report as the display update computed them.
  void ShowAccount(const AccountDisplay& display);
  // The remembered reasons as the reason box's list, keeping the text typed in it.
  void ShowReasons(const std::vector<std::string>& reasons);

  QTabWidget* pages;
  QLineEdit* edtqhmmsl;
  QComboBox* cbbbuy;
  QComboBox* cbbsell;
  QComboBox* cbbReason;
  QLineEdit *edtzzc, *edtkyzj, *edtgpsz, *edtfdyk, *edtykbl, *edtddcc, *edtzdkm, *edtdqj, *edtcbj;
  QPushButton *btnBtnBuyOpen, *btnBuyClose, *btnBtnsjhg, *btnBlindTraining, *btnPlay;
  QLineEdit *edtksh, *edtcszj, *edtzhmc, *edtrqgs;
  QDateEdit* dtp1;
  QPushButton *btnselectdate1, *btnPri;
  QPlainTextEdit* mmo1;
  QListWidget* lstTransactions;
  QListWidget* lstPankou;
  QPushButton* btnNext;

 private:
  QWidget* BuildTradePage();
  QWidget* BuildAccountPage();
};

// 0x00BBGGRR as a Qt colour.
QColor ToQColor(uint32_t bgr);

}  // namespace vorelin
