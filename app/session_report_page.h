// The '训练报告' page: the running session's report, rebuilt each time the page is shown.
#pragma once

#include <QWidget>
#include <string>

class QPlainTextEdit;

namespace vorelin {

class SessionReportPage final : public QWidget {
  Q_OBJECT

 public:
  explicit SessionReportPage(QWidget* parent = nullptr);

  void ShowText(const std::string& text);
  QPlainTextEdit* Text() const { return text_; }

 private:
  QPlainTextEdit* text_;
};

}  // namespace vorelin
