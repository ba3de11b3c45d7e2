// The picture window of the trade journal: the chart screenshot taken with a trade,
// stretched over the window, or a note that the file is not there.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <string>

namespace vorelin {

class TForm5 : public QWidget {
  Q_OBJECT

 public:
  // A window of its own even with a parent (the parent only owns it).
  explicit TForm5(QWidget* parent = nullptr);

  // Loads root + `pic_path` and shows the window, with the trade's reason under the picture.
  void ShowJournalPicture(const std::filesystem::path& root, const std::string& pic_path,
                          const std::string& reason = "");
  // Null while the missing text is shown.
  const QImage& Picture() const { return picture_; }
  const QString& ReasonText() const { return reason_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QImage picture_;
  QString reason_;
};

}  // namespace vorelin
