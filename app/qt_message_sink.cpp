#include "app/qt_message_sink.h"

#include <QMessageBox>

namespace vorelin {

void QtMessageSink::Show(const std::string& text) {
  QMessageBox::information(parent_, QString::fromUtf8(kMessageCaption), QString::fromStdString(text));
}

bool QtMessageSink::Ask(const std::string& text) {
  return QMessageBox::question(parent_, QString::fromUtf8(kMessageCaption), QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace vorelin
