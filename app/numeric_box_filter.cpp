#include "app/numeric_box_filter.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "practice/numeric_box.h"

namespace vorelin {

void NumericBoxFilter::Watch(QLineEdit* box) { box->installEventFilter(this); }

bool NumericBoxFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const QString text = static_cast<QKeyEvent*>(event)->text();
  if (text.size() != 1 || !text[0].isPrint()) return false;
  const char16_t typed = text[0].unicode();
  const char ascii = typed < 0x80 ? static_cast<char>(typed) : 'x';
  if (FilterNumericKey(ascii) == ascii) return false;
  if (auto* box = qobject_cast<QLineEdit*>(watched)) box->insert(QStringLiteral("0"));
  return true;
}

}  // namespace vorelin
