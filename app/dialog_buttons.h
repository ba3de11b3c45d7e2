// Push buttons of the trainer's dialogs: named after their controls, and never taking Enter
// for themselves (a dialog decides which box's Enter does what).
#pragma once

#include <QPushButton>

namespace vorelin {

QPushButton* NewDialogButton(const char* object_name, const char* text, QWidget* parent);

}  // namespace vorelin
