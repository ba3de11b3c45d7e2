#include "app/pane_formula_dialogs.h"

#include "app/chart_formula_editor.h"
#include "app/notes_dialog.h"
#include "app/parameter_dialog.h"
#include "chart/tgs_pane_formula.h"
#include "formula_library/formula_store.h"
#include "formula_library/pane_formula_edit.h"
#include "formula_library/usage_notes.h"

namespace vorelin {
namespace {

TGS* InterpreterOf(PaneFormula& pane) {
  auto* formula = dynamic_cast<TgsPaneFormula*>(&pane);
  return formula != nullptr ? &formula->Interpreter() : nullptr;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

bool PaneFormulaDialogs::LoadLibraryFormula(const std::string& name, const std::string& text) {
  PaneFormula& pane = chart_.Pane(chart_.SelectedPane());
  const bool ok = pane.CompileText(text);
  if (ok) library_panes_[&pane] = {name, pane.ShortName()};
  chart_.RepaintChart();
  if (!ok) messages_.Show(pane.ErrorText());
  return ok;
}

std::string PaneFormulaDialogs::LibraryNameOf(PaneFormula& pane) const {
  const auto found = library_panes_.find(&pane);
  // Loading a built-in or a file gives the pane a file name or another formula.
  if (found == library_panes_.end() || !pane.FileName().empty() ||
      pane.ShortName() != found->second.short_name)
    return {};
  return found->second.name;
}

void PaneFormulaDialogs::Redraw(PaneFormula& pane) {
  pane.Run();
  chart_.RepaintChart();
}

bool PaneFormulaDialogs::Parameters(PaneFormula& pane) {
  TGS* gs = InterpreterOf(pane);
  if (gs == nullptr) return false;
  TTTiao dialog(*gs, [this, &pane] { Redraw(pane); }, parent_);
  dialog.exec();
  return true;
}

bool PaneFormulaDialogs::UsageNotes(PaneFormula& pane) {
  TGS* gs = InterpreterOf(pane);
  if (gs == nullptr) return false;
  QString notes;
  for (const std::string& line : NotesOf(gs->SourceLines())) notes += Q(line) + '\n';
  TNotes dialog(Q(NotesCaption(gs->FileName())), notes, parent_);
  if (dialog.exec() != TNotes::kSaveResult) return false;
  const std::string library_name = LibraryNameOf(pane);
  NotesDestination destination{Root(), library_name.empty() ? nullptr : store_, library_name};
  std::string error;
  if (!SaveNotes(*gs, dialog.mmoNotes->toPlainText().toStdString(), destination, error))
    messages_.Show(error);
  if (!library_name.empty()) library_panes_[&pane].short_name = pane.ShortName();
  Redraw(pane);
  return true;
}

bool PaneFormulaDialogs::Edit(PaneFormula& pane) {
  TGS* gs = InterpreterOf(pane);
  if (gs == nullptr) return false;
  TEditFunc1 editor(messages_, parent_);
  editor.SetText(EditFunc1Text(*gs));
  editor.setWindowTitle(Q(EditFunc1Caption(gs->FileName())));
  if (editor.exec() != QDialog::Accepted) return false;
  const std::string text = editor.Text();
  const std::string library_name = LibraryNameOf(pane);
  std::string error;
  // A library formula has no file: its row takes the edited text.
  if (!library_name.empty() && store_ != nullptr) {
    FormulaRow row;
    bool found = false;
    if (store_->Find(library_name, row, found, error) && found) {
      row.text = text;
      store_->Save(row, error);
    }
    if (!error.empty()) messages_.Show(error);
    error.clear();
  }
  if (!ApplyEditedFormula(*gs, text, Root(), error)) messages_.Show(error);
  if (!library_name.empty()) library_panes_[&pane].short_name = pane.ShortName();
  Redraw(pane);
  return true;
}

}  // namespace vorelin
