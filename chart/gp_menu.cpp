// The chart control's context menu: check marks when it opens, and what each item does,
// with the exports, raw-data files, formula files and images it writes or reads.
#include <filesystem>

#include "chart/gp.h"
#include "formula/function_table.h"
#include "formula/source.h"

namespace vorelin {

namespace {

constexpr const char* kExportQuestion = "导出成功,是否打开此文件?";

FormulaDialog DialogOf(MenuAction action) {
  if (action == MenuAction::kUsageNotes) return FormulaDialog::kUsageNotes;
  if (action == MenuAction::kAdjustParameters) return FormulaDialog::kParameters;
  return FormulaDialog::kEditor;
}

}  // namespace

const ChartMenu* TGP::OpenContextMenu() {
  if (!show_menu_) return nullptr;
  for (MenuAction action : {MenuAction::kUsageNotes, MenuAction::kAdjustParameters, MenuAction::kEditFormula}) {
    FindMenuItem(menu_, action)->enabled = host_->SupportsFormulaDialog(DialogOf(action));
  }
  // Without a pane under the mouse the marks stay as they were last shown.
  if (hit_pane_ != nullptr) {
    FindMenuItem(menu_, MenuAction::kHighDefinition)->checked = FlagsOf(hit_pane_)->high_definition;
    FindMenuItem(menu_, MenuAction::kBar3d)->checked = ShowBar3d();
    FindMenuItem(menu_, MenuAction::kCandle)->checked = kline_flags_[0].kstyle == TKStyple::ksBar;
    FindMenuItem(menu_, MenuAction::kAmerican)->checked = kline_flags_[0].kstyle == TKStyple::ksAmericia;
  }
  return &menu_;
}

void TGP::DoMenuCommand(const std::string& caption) {
  const ChartMenuItem* item = FindMenuItem(menu_, std::string(TrimControl(caption)));
  if (item == nullptr) return;
  const ChartMenuItem chosen = *item;  // an action may rebuild the menu
  RunMenuItem(chosen);
}

PaneFlags* TGP::FlagsOf(const PaneFormula* pane) {
  for (size_t i = 0; i < panes_.size(); ++i) {
    if (panes_[i].get() == pane) return &kline_flags_[i];
  }
  for (size_t i = 0; i < fs_panes_.size(); ++i) {
    if (fs_panes_[i].get() == pane) return &fs_flags_[i];
  }
  return nullptr;
}

void TGP::RunMenuItem(const ChartMenuItem& item) {
  switch (item.action) {
    case MenuAction::kNone:
      return;
    case MenuAction::kToggleCursor:
      return SetShowCursor(!ShowCursor());
    case MenuAction::kToggleTab:
      return SetShowTab(!show_tab_);
    case MenuAction::kToggleBoard:
      return SetShowBoard(!show_board_);
    case MenuAction::kToggleFs:
      return SetShowFs(!show_fs_);
    case MenuAction::kToggleFsAll:
      return SetFsAll(!FsAll());
    case MenuAction::kToggleFsFull:
      return SetFsFull(!FsFull());
    case MenuAction::kToggleTop:
      return SetShowTop(!show_top_);
    case MenuAction::kToggleBottom:
      return SetShowBottom(!show_bottom_);
    case MenuAction::kToggleRight:
      return SetShowRight(!show_right_);
    case MenuAction::kToggleLeft:
      return SetShowLeft(!show_left_);
    case MenuAction::kBar3d:
      return SetShowBar3d(!ShowBar3d());
    case MenuAction::kGradient:
      return SetFillStyle(static_cast<BackStyle>(item.tag - kGradientTagBase));
    case MenuAction::kNoBackground:
      return SetFillStyle(BackStyle::wNone);
    case MenuAction::kPaneCount:
      if (!show_fs_) SetTechWindows(item.tag - kPaneCountTagBase);
      return;
    case MenuAction::kCandle:
    case MenuAction::kAmerican:
      // The price pane only; the KStyle property keeps its value.
      kline_flags_[0].kstyle = item.action == MenuAction::kCandle ? TKStyple::ksBar : TKStyple::ksAmericia;
      return MarkDirty();
    case MenuAction::kForeground: {
      Colour chosen = 0;
      if (host_->ChooseColour(Color(), &chosen)) SetColor(chosen);
      return;
    }
    case MenuAction::kBackground: {
      Colour chosen = 0;
      if (host_->ChooseColour(FillColor(), &chosen)) SetFillColor(chosen);
      return;
    }
    default:
      // Everything else acts on the pane under the mouse at the last hit test.
      if (hit_pane_ != nullptr) RunPaneMenuAction(item);
      return;
  }
}

void TGP::RunPaneMenuAction(const ChartMenuItem& item) {
  PaneFormula& pane = *hit_pane_;
  switch (item.action) {
    case MenuAction::kRemovePane:
      return RemoveCurrentPane();
    case MenuAction::kIndicator:
      LoadIndicator(pane, item.caption);
      return MarkDirty();
    case MenuAction::kRestoreDefault:
      return RestoreDefaultOfHitPane();
    case MenuAction::kAdjustParameters:
      if (host_->SupportsFormulaDialog(FormulaDialog::kParameters) && host_->AdjustParameters(pane)) MarkDirty();
      return;
    case MenuAction::kUsageNotes: {
      PaneFormula& selected = show_fs_ ? *fs_panes_[static_cast<size_t>(fs_selected_)]
                                       : *panes_[static_cast<size_t>(selected_)];
      if (host_->SupportsFormulaDialog(FormulaDialog::kUsageNotes) && host_->ShowUsageNotes(selected)) MarkDirty();
      return;
    }
    case MenuAction::kEditFormula:
      if (host_->SupportsFormulaDialog(FormulaDialog::kEditor) && host_->EditFormula(pane)) MarkDirty();
      return;
    case MenuAction::kHighDefinition: {
      PaneFlags& flags = *FlagsOf(&pane);
      flags.high_definition = !flags.high_definition;
      FindMenuItem(menu_, MenuAction::kHighDefinition)->checked = flags.high_definition;
      return MarkDirty();
    }
    case MenuAction::kSaveTable: {
      const std::string file = ExportFileName(".txt");
      return ConfirmExport(pane.ExportTable(file), file);
    }
    case MenuAction::kSaveCsv:
    case MenuAction::kSaveCsvAll: {
      const std::string file = ExportFileName(".csv");
      return ConfirmExport(pane.ExportCsv(file, item.action == MenuAction::kSaveCsvAll), file);
    }
    case MenuAction::kSaveRawData: {
      const std::string file = InProgramFolder(StkLabel + "_" + Week + ".bin");
      if (pane.SaveRawData(file)) host_->ShowMessage(file + " 保存完成!");
      return;
    }
    case MenuAction::kLoadRawData:
      return LoadRawDataIntoHitPane();
    case MenuAction::kLoadFormula: {
      std::string file;
      if (!host_->ChooseOpenFile("加载指标公式", "WFC File (*.WFC)", "wfc", ProgramFolder, &file)) return;
      if (pane.CompileFile(file)) {
        MarkDirty();
      } else {
        ReportError(pane);
      }
      return;
    }
    case MenuAction::kCopyToClipboard:
      CopyToClipboard();
      return;
    case MenuAction::kSavePaneImage: {
      const std::string file = InProgramFolder(StkName + "_" + StkLabel + ".BMP");
      if (SavePaneImage(file)) host_->ShowMessage("保存到:" + file);
      return;
    }
    case MenuAction::kSaveAllImage: {
      const std::string file = InProgramFolder(StkName + "_" + StkLabel + "_ALL.BMP");
      if (SaveAllImage(file)) host_->ShowMessage("保存到:" + file);
      return;
    }
    default:
      return;
  }
}

void TGP::RestoreDefaultOfHitPane() {
  PaneFormula& pane = *hit_pane_;
  const int region = static_cast<int>(wei_style_);
  const int first_pane = static_cast<int>(TWeiStyle::wsGS1);
  if (wei_style_ == TWeiStyle::wsFS) {
    LoadIndicator(pane, "FS");
  } else if (wei_style_ == TWeiStyle::wsVol) {
    LoadIndicator(pane, "FSVOL");
  } else if (wei_style_ == TWeiStyle::wsGS1) {
    LoadIndicator(pane, "MA");
  } else if (wei_style_ == TWeiStyle::wsGS2) {
    LoadIndicator(pane, "VOL");
  } else if (region > first_pane + 1 && region < first_pane + kPaneCount) {
    // Panes 2 … 9 started with the indicators of the tab list, from position 3 on.
    const auto tab = static_cast<size_t>(region - first_pane + 1);
    if (tab < tab_names_.size()) LoadIndicator(pane, tab_names_[tab]);
  }
  MarkDirty();
}

void TGP::LoadRawDataIntoHitPane() {
  std::string file;
  if (!host_->ChooseOpenFile("加载原始数据", "Data File (*.BIN)", "bin", ProgramFolder, &file)) return;
  PaneFormula& pane = *hit_pane_;
  if (!pane.LoadRawData(file)) host_->ShowMessage("加载:" + file + " 失败!");
  if (show_fs_) {
    PaneFormula& price = *fs_panes_[0];
    if (&price != &pane && !price.Run()) ReportError(price);
  } else {
    RerunShownPanes();
  }
  MarkDirty();
}

std::string TGP::InProgramFolder(const std::string& file_name) const {
  return (std::filesystem::path(ProgramFolder) / file_name).string();
}

std::string TGP::ExportFileName(const std::string& extension) const {
  // The formula's name as its title shows it.
  return InProgramFolder(StkLabel + "_" + Week + "_" + AsciiUpper(hit_pane_->ShortName()) + extension);
}

void TGP::ConfirmExport(bool written, const std::string& file) {
  if (written && host_->Ask("提示", kExportQuestion)) host_->OpenWithSystem(file);
}

}  // namespace vorelin
