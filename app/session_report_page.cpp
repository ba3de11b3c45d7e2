#include "app/session_report_page.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace vorelin {
namespace {

// The report lines its columns up counting a Chinese character as two Latin ones, which
// this font keeps exactly at an even pixel size.
constexpr const char* kReportFont = "WenQuanYi Zen Hei Mono";
constexpr int kReportPixels = 15;

}  // namespace

SessionReportPage::SessionReportPage(QWidget* parent) : QWidget(parent) {
  setObjectName("tsSessionReport");
  text_ = new QPlainTextEdit;
  text_->setObjectName("mmoSessionReport");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono(kReportFont);
  mono.setPixelSize(kReportPixels);
  mono.setStyleHint(QFont::TypeWriter);
  text_->setFont(mono);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(text_);
}

void SessionReportPage::ShowText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace("\r\n", "\n");
  text_->setPlainText(shown);
}

}  // namespace vorelin
