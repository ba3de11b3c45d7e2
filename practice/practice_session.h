// One user's practice session below the GUI: the replay controller wired to the settings
// file and the journal store, with the loading, saving, account reset, close confirmation
// and results pages of the main window.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/message_sink.h"
#include "market/stock_directory.h"
#include "practice/chart_port.h"
#include "practice/journal_store.h"
#include "practice/replay_controller.h"
#include "practice/results.h"

namespace vorelin {

inline constexpr const char* kResetWarning = "账户初始化将删除所有资金记录！";
inline constexpr const char* kResetDoneMessage = "账户初始化成功！";

class PracticeSession {
 public:
  PracticeSession(std::filesystem::path root, std::string user, ChartPort& chart,
                  MessageSink& messages, ScreenshotWriter screenshot);

  ReplayController& Replay() { return replay_; }
  const JournalStore& Journal() const { return journal_; }
  const std::string& User() const { return user_; }
  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path ConfigPath() const { return root_ / kConfigFileName; }
  StockDirectory& Directory() { return directory_; }

  // Creates the journal file when missing, then what showing the main window does: the data
  // folders, the user's settings, the saved account, the stock code and the stock itself.
  // False (with the message shown) when the journal cannot be read.
  bool Start();
  // Settings to config.ini and the account to the journal; false (message shown, the file
  // as it was) on failure, a user name the INI file cannot hold as a section included.
  bool Save();
  // '保存设置'.
  void SaveSettingsClick();
  // The capital box changed: "初始资金" is written to the file at once. False (the file
  // as it was) when it cannot be read or written or the user name cannot be its section.
  bool CapitalChanged(const std::string& text);
  // '账户初始化' after the warning; false when cancelled or the journal refuses.
  bool ResetAccount();
  // The close question; true when the window may close (the settings have been saved).
  bool ConfirmClose();

  // The '交易日志' page: the lines and, when there is one, the statistics text followed by
  // the trader figures; `statistics` is left as it was without lines.
  bool JournalPage(std::vector<JournalLine>& lines, std::string& statistics);
  // The '资金曲线' page.
  bool EquityPage(std::vector<EquityPoint>& points);
  // '导出': writes the export and shows where.
  bool ExportClick();

 private:
  bool ShowError(bool ok, const std::string& error);

  std::filesystem::path root_;
  std::string user_;
  MessageSink& messages_;
  JournalStore journal_;
  StockDirectory directory_;
  ReplayController replay_;
};

// The picture of a journal line: root + its sPicPath, with "\" read as a folder separator.
std::filesystem::path JournalPicturePath(const std::filesystem::path& root,
                                         const std::string& pic_path);
inline constexpr const char* kPictureWindowCaption = "交易理由";
inline constexpr const char* kPictureMissingText = "当前目录没有找到\r\n图片！";

// What the picture window shows for a journal line: the picture with its path as the
// caption, or (no picture) the missing text in 20-point red at (100, 100) under "交易理由".
// Under the picture, "交易理由：" and the trade's reason, unless it is the fixed "理由".
struct PictureWindowView {
  std::filesystem::path picture;
  bool found = false;
  std::string caption;
  std::string reason_line;
};
PictureWindowView LookupJournalPicture(const std::filesystem::path& root,
                                       const std::string& pic_path,
                                       const std::string& reason = kDefaultReason);

}  // namespace vorelin
