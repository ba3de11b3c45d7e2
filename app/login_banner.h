// The painted header of the login dialog: the product name over a few candlesticks.
#pragma once

#include <QWidget>

namespace vorelin {


class LoginBanner : public QWidget {
  Q_OBJECT

 public:
  explicit LoginBanner(QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vorelin
