#include "app/hint_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace vorelin {

THintWin::THintWin(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("HintWin");
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  setStyleSheet(
      "#HintWin { background: #101010; border: 1px solid #808080; }"
      "#lblTitle { color: #FFFF00; background: #202040; padding: 1px 3px; }"
      "#btnClose { color: #C0C0C0; background: #202040; border: none; }"
      "#mmoHint { color: #C0C0C0; background: #101010; border: none; }");
  lblTitle = new QLabel;
  lblTitle->setObjectName("lblTitle");
  lblTitle->installEventFilter(this);
  btnClose = new QToolButton;
  btnClose->setObjectName("btnClose");
  btnClose->setText(QString::fromUtf8("×"));
  btnClose->setFocusPolicy(Qt::NoFocus);
  connect(btnClose, &QToolButton::clicked, this, [this] {
    hide();
    if (OnCloseButton) OnCloseButton();
  });
  mmoHint = new QPlainTextEdit;
  mmoHint->setObjectName("mmoHint");
  mmoHint->setReadOnly(true);
  mmoHint->setFocusPolicy(Qt::NoFocus);
  mmoHint->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mmoHint->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mmoHint->setLineWrapMode(QPlainTextEdit::NoWrap);

  auto* title_row = new QHBoxLayout;
  title_row->setContentsMargins(0, 0, 0, 0);
  title_row->setSpacing(0);
  title_row->addWidget(lblTitle, 1);
  title_row->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(0);
  layout->addLayout(title_row);
  layout->addWidget(mmoHint, 1);
  resize(150, 215);
}

void THintWin::SetContent(const std::string& title, const std::string& text) {
  lblTitle->setText(QString::fromStdString(title));
  QString lines = QString::fromStdString(text);
  lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  if (lines.endsWith('\n')) lines.chop(1);
  if (mmoHint->toPlainText() != lines) mmoHint->setPlainText(lines);
}

void THintWin::closeEvent(QCloseEvent* event) {
  // Closed by the window system: only hidden, the chart keeps its cursor.
  event->ignore();
  hide();
}

bool THintWin::eventFilter(QObject* watched, QEvent* event) {
  if (watched != lblTitle) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      dragging_ = mouse->button() == Qt::LeftButton;
      drag_offset_ = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
      if (!isActiveWindow()) activateWindow();  // the press makes it the foreground window
      return true;
    }
    case QEvent::MouseMove:
      // The title row moves the window only while it is the foreground window.
      if (dragging_ && isActiveWindow())
        move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - drag_offset_);
      return true;
    case QEvent::MouseButtonRelease:
      dragging_ = false;
      return true;
    default:
      return QWidget::eventFilter(watched, event);
  }
}

}  // namespace vorelin
