#include "app/dialog_buttons.h"

namespace vorelin {

QPushButton* NewDialogButton(const char* object_name, const char* text, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(object_name);
  button->setAutoDefault(false);
  button->setMinimumWidth(84);
  return button;
}

}  // namespace vorelin
