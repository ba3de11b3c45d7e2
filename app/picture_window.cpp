#include "app/picture_window.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "chart/image_files.h"
#include "practice/practice_session.h"

namespace vorelin {
namespace {

// Screenshots come from our own JPEG writer, so they are read back with its reader
// rather than whatever image plugins Qt happens to have.
QImage ReadPicture(const std::filesystem::path& path) {
  RgbImage image;
  if (!ReadJpegFile(path.string(), &image)) return QImage();
  return QImage(image.bgr.data(), image.width, image.height, image.width * 3,
                QImage::Format_BGR888)
      .copy();
}

}  // namespace

TForm5::TForm5(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("Form5");
  setWindowTitle(QString::fromUtf8(kPictureWindowCaption));
  resize(900, 600);
}

void TForm5::ShowJournalPicture(const std::filesystem::path& root, const std::string& pic_path,
                                const std::string& reason) {
  const PictureWindowView view = LookupJournalPicture(root, pic_path, reason);
  reason_ = QString::fromStdString(view.reason_line);
  picture_ = view.found ? ReadPicture(view.picture) : QImage();
  setWindowTitle(QString::fromStdString(view.caption));
  show();
  raise();
  activateWindow();
  update();
}

void TForm5::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect picture_area = rect();
  if (!reason_.isEmpty()) {
    // The reason takes a strip under the picture, two lines high.
    const int strip = painter.fontMetrics().lineSpacing() * 2 + 12;
    picture_area.setBottom(std::max(rect().bottom() - strip, 0));
    const QRect text_area(8, picture_area.bottom() + 6, std::max(width() - 16, 1), strip - 6);
    painter.fillRect(QRect(0, picture_area.bottom() + 1, width(), strip), palette().window());
    painter.setPen(palette().windowText().color());
    painter.drawText(text_area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, reason_);
  }
  if (!picture_.isNull()) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(picture_area, picture_);
    return;
  }
  QFont font = painter.font();
  font.setPointSize(20);
  painter.setFont(font);
  painter.setPen(Qt::red);
  QString text = QString::fromUtf8(kPictureMissingText);
  text.replace("\r\n", "\n");
  painter.drawText(QRect(100, 100, std::max(width() - 100, 1), std::max(height() - 100, 1)),
                   Qt::AlignLeft | Qt::AlignTop, text);
}

void TForm5::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace vorelin
