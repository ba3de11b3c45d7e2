// The '交易日志' page: the user's trades in a list coloured by direction, the statistics
// under it, and the list's commands (refresh, export, open the export folder, picture).
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <vector>

#include "common/message_sink.h"
#include "practice/practice_session.h"
#include "practice/results.h"

class QPlainTextEdit;
class QTableWidget;

namespace vorelin {

class TForm5;

inline constexpr const char* kRefreshCaption = "刷新";
inline constexpr const char* kExportCaption = "导出";
inline constexpr const char* kOpenLogFolderCaption = "打开日志目录";

class JournalPage : public QWidget {
  Q_OBJECT

 public:
  using FolderOpener = std::function<void(const std::filesystem::path&)>;

  JournalPage(PracticeSession& session, MessageSink& messages, QWidget* parent = nullptr);

  // Rebuilds the list from the journal; the statistics only when there are lines.
  void Refresh();
  // The window that double-clicked lines show their picture in; without one the page
  // makes its own on first use.
  void SetPictureWindow(TForm5* window) { picture_ = window; }
  // Replaces the system file browser (tests record the folder instead).
  void SetFolderOpener(FolderOpener open_folder) { open_folder_ = std::move(open_folder); }

  QTableWidget* List() const { return list_; }
  QPlainTextEdit* Statistics() const { return statistics_; }
  // The picture of line `row`, as a double-click shows it.
  void ShowPicture(int row);

 private:
  void AddMenuAction(const char* name, const char* caption, void (JournalPage::*slot)());
  void ExportClick();
  void OpenLogFolder();

  PracticeSession& session_;
  MessageSink& messages_;
  FolderOpener open_folder_;
  std::vector<JournalLine> lines_;
  QTableWidget* list_;
  QPlainTextEdit* statistics_;
  TForm5* picture_ = nullptr;
};

}  // namespace vorelin
