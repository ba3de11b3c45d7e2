// The numeric boxes' typing rule on a Qt edit box: a character the rule does not take is
// typed as '0' instead.
#pragma once

#include <QObject>

class QLineEdit;

namespace vorelin {

class NumericBoxFilter final : public QObject {
 public:
  using QObject::QObject;
  // Applies the rule to `box` for as long as the filter lives.
  void Watch(QLineEdit* box);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vorelin
