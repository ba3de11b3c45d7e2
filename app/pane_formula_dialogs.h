// The formula dialogs of a chart pane (usage notes, parameters, editor) and the loading of
// a library formula into the selected pane. Remembers which panes show a library formula,
// so their notes and edits go back into the library row.
#pragma once

#include <QWidget>
#include <map>
#include <string>

#include "chart/gp.h"
#include "common/message_sink.h"

namespace vorelin {

class FormulaStore;
class TGS;

class PaneFormulaDialogs {
 public:
  PaneFormulaDialogs(TGP& chart, MessageSink& messages, QWidget* parent)
      : chart_(chart), messages_(messages), parent_(parent) {}

  void SetStore(FormulaStore* store) { store_ = store; }

  // Compiles and runs library formula `name` in the selected pane. False when it does not
  // compile or run; its error text is then shown (a failed compile keeps the pane's
  // previous formula).
  bool LoadLibraryFormula(const std::string& name, const std::string& text);

  // Each returns true when the pane changed.
  bool UsageNotes(PaneFormula& pane);
  bool Parameters(PaneFormula& pane);
  bool Edit(PaneFormula& pane);

 private:
  // The library name of the formula the pane shows, empty when it shows none.
  std::string LibraryNameOf(PaneFormula& pane) const;
  std::string Root() const { return chart_.ProgramFolder; }
  // The pane's outputs follow its interpreter again, and the chart shows them now.
  void Redraw(PaneFormula& pane);

  struct LibraryPane {
    std::string name;        // 名称 in the store
    std::string short_name;  // the formula's TECHNAME when it was loaded
  };

  TGP& chart_;
  MessageSink& messages_;
  QWidget* parent_;
  FormulaStore* store_ = nullptr;
  std::map<const PaneFormula*, LibraryPane> library_panes_;
};

}  // namespace vorelin
