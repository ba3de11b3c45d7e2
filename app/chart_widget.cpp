#include "app/chart_widget.h"

#include <QClipboard>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QUrl>
#include <QWheelEvent>

#include "app/add_text_dialog.h"
#include "app/chart_menu_style.h"
#include "chart/qt/qt_canvas.h"
#include "common/message_sink.h"

namespace vorelin {
namespace {

MouseButton ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return kLeftButton;
    case Qt::RightButton: return kRightButton;
    case Qt::MiddleButton: return kMiddleButton;
    default: return kNoButton;
  }
}

unsigned ButtonsOf(Qt::MouseButtons buttons) {
  unsigned held = kNoButton;
  if (buttons & Qt::LeftButton) held |= kLeftButton;
  if (buttons & Qt::RightButton) held |= kRightButton;
  if (buttons & Qt::MiddleButton) held |= kMiddleButton;
  return held;
}

ChartKey KeyOf(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return ChartKey::kEnter;
    case Qt::Key_Up: return ChartKey::kUp;
    case Qt::Key_Down: return ChartKey::kDown;
    case Qt::Key_Left: return ChartKey::kLeft;
    case Qt::Key_Right: return ChartKey::kRight;
    default:
      if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<ChartKey>(static_cast<int>(ChartKey::kDigit0) + key - Qt::Key_0);
      return ChartKey::kOther;
  }
}

QColor ToQt(Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

void AddItems(QMenu& menu, const std::vector<ChartMenuItem>& items, TGP& chart) {
  for (const ChartMenuItem& item : items) {
    if (item.caption == "-") {
      menu.addSeparator();
      continue;
    }
    const QString caption = QString::fromStdString(item.caption);
    if (!item.items.empty()) {
      QMenu* sub = menu.addMenu(caption);
      sub->setStyle(menu.style());
      AddItems(*sub, item.items, chart);
      continue;
    }
    QAction* action = menu.addAction(
        item.shortcut.empty() ? caption : caption + '\t' + QString::fromStdString(item.shortcut));
    action->setData(item.tag);
    action->setEnabled(item.enabled);
    action->setCheckable(item.checkable);
    action->setChecked(item.checked);
    const std::string chosen = item.caption;
    QObject::connect(action, &QAction::triggered, &menu, [&chart, chosen] { chart.DoMenuCommand(chosen); });
  }
}

}  // namespace

ChartWidget::ChartWidget(MessageSink& messages, QWidget* parent)
    : QWidget(parent),
      messages_(messages),
      hint_(new THintWin(this)),
      chart_(400, 300, this),
      dialogs_(chart_.Chart(), messages, this) {
  setObjectName("gp1");
  hint_->OnCloseButton = [this] { Chart().SetShowCursor(false); };
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(320, 240);
}

void ChartWidget::ShowBuffer(const Canvas&) { update(); }

void ChartWidget::RequestFocus() {
  if (isVisible()) setFocus(Qt::MouseFocusReason);
}

void ChartWidget::SetPointer(PointerShape shape) {
  switch (shape) {
    case PointerShape::kVerticalSplit: setCursor(Qt::SplitHCursor); break;
    case PointerShape::kHorizontalSplit: setCursor(Qt::SplitVCursor); break;
    case PointerShape::kDrawing: setCursor(Qt::CrossCursor); break;
    case PointerShape::kDefault: unsetCursor(); break;
  }
}

void ChartWidget::MoveMousePointer(int x, int y) { QCursor::setPos(mapToGlobal(QPoint(x, y))); }

bool ChartWidget::Ask(const std::string&, const std::string& text) { return messages_.Ask(text); }

void ChartWidget::ShowMessage(const std::string& text) { messages_.Show(text); }

bool ChartWidget::AskFigureText(FigureText* text) {
  TAddStr dialog(*text, this);
  if (dialog.exec() != QDialog::Accepted) return false;
  *text = dialog.Entered();
  return true;
}

bool ChartWidget::ChooseColour(Colour start, Colour* chosen) {
  const QColor colour = QColorDialog::getColor(ToQt(start), this);
  if (!colour.isValid()) return false;
  *chosen = static_cast<Colour>(colour.red() | colour.green() << 8 | colour.blue() << 16);
  return true;
}

bool ChartWidget::ChooseOpenFile(const std::string& title, const std::string& filter,
                                 const std::string& default_extension,
                                 const std::string& start_folder, std::string* file) {
  QFileDialog dialog(this, QString::fromStdString(title), QString::fromStdString(start_folder),
                     QString::fromStdString(filter));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QString::fromStdString(default_extension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  *file = dialog.selectedFiles().front().toStdString();
  return true;
}

void ChartWidget::OpenWithSystem(const std::string& file) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file)));
}

bool ChartWidget::PutOnClipboard(const RgbImage& image) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr || image.width <= 0 || image.height <= 0) return false;
  QImage picture(image.bgr.data(), image.width, image.height, image.width * 3, QImage::Format_BGR888);
  clipboard->setImage(picture.copy());
  return true;
}

void ChartWidget::ShowInfoWindow(const InfoWindowPlacement& placement) {
  if (placement.place) hint_->move(mapToGlobal(QPoint(placement.x, placement.y)));
  hint_->resize(hint_->width(), placement.height);
  hint_->show();
}

QMenu* ChartWidget::BuildContextMenu(QWidget* parent) {
  const ChartMenu* model = Chart().OpenContextMenu();
  if (model == nullptr) return nullptr;
  auto* menu = new QMenu(parent);
  menu->setObjectName("pmChart");
  static ChartMenuStyle style;
  menu->setStyle(&style);
  AddItems(*menu, *model, Chart());
  return menu;
}

void ChartWidget::paintEvent(QPaintEvent*) {
  Chart().PaintIfDirty();
  QPainter painter(this);
  const auto* buffer = dynamic_cast<const QtCanvas*>(Chart().BackBuffer());
  if (buffer == nullptr) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  painter.drawImage(0, 0, buffer->Image());
}

void ChartWidget::resizeEvent(QResizeEvent*) { Chart().Resize(width(), height()); }

void ChartWidget::keyPressEvent(QKeyEvent* event) {
  // The keyboard cursor steps from the bar the last paint found: keys faster than paints
  // must not step from a stale one.
  Chart().PaintIfDirty();
  const KeyModifiers modifiers{(event->modifiers() & Qt::ShiftModifier) != 0,
                               (event->modifiers() & Qt::ControlModifier) != 0,
                               (event->modifiers() & Qt::AltModifier) != 0};
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // With the cursor on a bar, Enter opens that bar's day; otherwise it is the next bar.
      if (Chart().ShowCursor() && !Chart().ShowFs()) break;
      emit NextBarRequested();
      return;
    case Qt::Key_F2: emit BuyRequested(); return;
    case Qt::Key_F3: emit SellRequested(); return;
    case Qt::Key_F5: emit IntradayToggleRequested(); return;
    case Qt::Key_Space: emit TickToggleRequested(); return;
    default: break;
  }
  Chart().KeyDown(KeyOf(event->key()), modifiers);
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  Chart().MouseDown(ButtonOf(event->button()), p.x(), p.y());
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  Chart().MouseMove(ButtonsOf(event->buttons()), p.x(), p.y());
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  Chart().MouseUp(ButtonOf(event->button()), p.x(), p.y());
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  Chart().DoubleClick(p.x(), p.y());
}

void ChartWidget::wheelEvent(QWheelEvent* event) { Chart().MouseWheel(event->angleDelta().y()); }

void ChartWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  Chart().FocusLost();
}

void ChartWidget::contextMenuEvent(QContextMenuEvent* event) {
  Chart().HitTest(event->pos().x(), event->pos().y());
  QMenu* menu = BuildContextMenu(this);
  if (menu == nullptr) return;
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

}  // namespace vorelin
