#include "practice/practice_session.h"

#include <system_error>

#include "common/data_root.h"
#include "common/ini_file.h"
#include "common/numbers.h"
#include "practice/config_file.h"

namespace vorelin {

PracticeSession::PracticeSession(std::filesystem::path root, std::string user, ChartPort& chart,
                                 MessageSink& messages, ScreenshotWriter screenshot)
    : root_(root),
      user_(std::move(user)),
      messages_(messages),
      journal_(root),
      replay_(root, chart, messages) {
  replay_.SetJournal(&journal_, user_, std::move(screenshot));
  replay_.SetStockDirectory(&directory_);
  ReplayHooks hooks;
  hooks.save_settings = [this] { Save(); };
  replay_.SetHooks(std::move(hooks));
}

bool PracticeSession::ShowError(bool ok, const std::string& error) {
  if (!ok) messages_.Show(error);
  return ok;
}

bool PracticeSession::Start() {
  std::string error;
  if (!ShowError(journal_.CreateIfMissing(error), error)) return false;
  directory_.Load(root_ / "winbase.dat");
  std::error_code ec;
  for (const char* folder : {kLogFolder, kPicFolder, kDayDataFolder, kMinDataFolder,
                             kExportFolder, kTickFolder, kFenbiFolder})
    std::filesystem::create_directories(root_ / folder, ec);
  if (user_.empty()) return true;

  IniFile ini;
  if (!ini.Load(ConfigPath(), &error))
    messages_.Show(kUnreadableSettingsMessage + ConfigPath().string() + "（" + error + "）");
  const std::string default_code = replay_.PickRandomStock();
  replay_.Boxes = ReadUserSettings(ini, user_, default_code);
  replay_.Reasons().Read(ini, user_);
  replay_.SetPlaySpeed(replay_.Boxes.PlaySpeed);

  bool found = false;
  if (!ShowError(journal_.LoadAccount(user_, replay_.Account(), replay_.Base(), found, error),
                 error))
    return false;
  // Shares held belong to the account's stock, whatever code the settings name.
  const TGpAcount& account = replay_.Account();
  if (account.LongQty != 0 && !account.StockCode.empty())
    replay_.Boxes.StockCode = account.StockCode;
  replay_.ApplyStockCode(replay_.Boxes.StockCode);
  replay_.OpenStock();
  return true;
}

bool PracticeSession::Save() {
  const UserSettings settings = replay_.SettingsToSave();
  const ReasonHistory& reasons = replay_.Reasons();
  if (!UpdateConfigFile(
          root_,
          [&](IniFile& ini, std::string* error) {
            return WriteUserSettings(ini, user_, settings, error) && reasons.Write(ini, user_, error);
          },
          messages_))
    return false;
  std::string error;
  return ShowError(journal_.SaveAccount(user_, replay_.Account(), replay_.Base(), error), error);
}

void PracticeSession::SaveSettingsClick() {
  if (Save()) messages_.Show(kSettingsSavedMessage);
}

bool PracticeSession::CapitalChanged(const std::string& text) {
  replay_.Boxes.InitialCapital = text;
  return UpdateConfigFile(
      root_, [&](IniFile& ini, std::string* error) { return WriteInitialCapital(ini, user_, text, error); },
      messages_);
}

bool PracticeSession::ResetAccount() {
  if (!messages_.Ask(kResetWarning)) return false;
  ReplayController& r = replay_;
  const double cash = ParseDecimalOr(r.Boxes.InitialCapital, 10000);
  r.Account().Reset(cash);
  r.QuantityBox.clear();
  r.ApplyStockCode(r.PickRandomStock());
  r.Boxes.StartRow = "1";
  std::error_code ec;
  const std::filesystem::path path = r.DataFilePath();
  if (!path.empty() && std::filesystem::is_regular_file(path, ec)) r.LoadRandomWindow();
  std::string error;
  if (!ShowError(journal_.ResetAccount(user_, cash, error), error)) return false;
  messages_.Show(kResetDoneMessage);
  return true;
}

bool PracticeSession::ConfirmClose() {
  const bool holding = replay_.Account().LongQty > 0;
  if (!messages_.Ask(holding ? kCloseWithPositionQuestion : kCloseQuestion)) return false;
  Save();
  return true;
}

bool PracticeSession::JournalPage(std::vector<JournalLine>& lines, std::string& statistics) {
  QueryResult rows;
  std::string error;
  if (!ShowError(journal_.ReadJournal(user_, rows, error), error)) return false;
  lines = BuildJournalLines(rows);
  MaskNewestLines(lines, replay_.MaskedJournalRows());
  if (lines.empty()) return true;
  JournalStatistics stats;
  QueryResult equity;
  if (!ShowError(journal_.ReadStatistics(user_, stats, error), error) ||
      !ShowError(journal_.ReadEquity(user_, equity, error), error))
    return false;
  const TraderStatistics extra =
      ComputeTraderStatistics(lines, BuildEquityPoints(equity),
                              ParseDecimalOr(replay_.Boxes.InitialCapital, 0),
                              replay_.Account().TotalAssets);
  statistics = StatisticsText(lines.size(), stats) + "\r\n" + TraderStatisticsText(extra);
  return true;
}

bool PracticeSession::EquityPage(std::vector<EquityPoint>& points) {
  QueryResult rows;
  std::string error;
  if (!ShowError(journal_.ReadEquity(user_, rows, error), error)) return false;
  points = BuildEquityPoints(rows);
  return true;
}

bool PracticeSession::ExportClick() {
  std::vector<JournalLine> lines;
  std::string unused;
  if (!JournalPage(lines, unused)) return false;
  std::filesystem::path written;
  if (!ExportJournal(root_, user_, lines, written)) {
    messages_.Show("日志导出失败：" + (root_ / kExportFolder).string());
    return false;
  }
  messages_.Show(kExportedMessage + written.string());
  return true;
}

std::filesystem::path JournalPicturePath(const std::filesystem::path& root,
                                         const std::string& pic_path) {
  std::string relative = pic_path;
  for (char& c : relative)
    if (c == '\\') c = '/';
  return root / relative;
}

PictureWindowView LookupJournalPicture(const std::filesystem::path& root,
                                       const std::string& pic_path, const std::string& reason) {
  PictureWindowView view;
  if (!reason.empty() && reason != kDefaultReason) view.reason_line = "交易理由：" + reason;
  view.picture = JournalPicturePath(root, pic_path);
  std::error_code ec;
  view.found = !pic_path.empty() && std::filesystem::is_regular_file(view.picture, ec);
  view.caption = view.found ? view.picture.string() : std::string(kPictureWindowCaption);
  return view;
}

}  // namespace vorelin
