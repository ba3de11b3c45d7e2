// What only a window can do for the chart control: show its picture, focus and pointer,
// the cursor information window, dialogs, files and the events the chart leaves to it.
// A widget implements it; tests record the calls.
#pragma once

#include <string>

#include "chart/canvas.h"

namespace vorelin {

class PaneFormula;

// kDrawing while a drawing tool is picked.
enum class PointerShape { kDefault, kVerticalSplit, kHorizontalSplit, kDrawing };

// Buttons as flags, so a move can carry the ones held down.
enum MouseButton : unsigned { kNoButton = 0, kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

// The keys the chart tells apart; every other key is kOther.
enum class ChartKey {
  kEnter, kUp, kDown, kLeft, kRight,
  kDigit0, kDigit1, kDigit2, kDigit3, kDigit4, kDigit5, kDigit6, kDigit7, kDigit8, kDigit9,
  kOther
};

struct KeyModifiers {
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// Where the cursor information window goes, in chart coordinates (the host maps them to
// the screen). `place` is false after the first show: the user's position is kept.
struct InfoWindowPlacement {
  bool place = false;
  int x = 0;
  int y = 0;
  int height = 0;
};

// What the add-text dialog asks for a text figure: the text, its colour and size.
struct FigureText {
  std::string text;
  Colour colour = 0x00FFFF;
  int size = 8;
};

// The three formula dialogs of the context menu.
enum class FormulaDialog { kUsageNotes, kParameters, kEditor };

class ChartHost {
 public:
  virtual ~ChartHost() = default;

  // The back buffer has just been composed (by RepaintChart).
  virtual void ShowBuffer(const Canvas& back_buffer) = 0;
  // The chart changed and wants one paint: the window schedules it and then calls
  // PaintIfDirty, so any number of changes within one event cost one paint.
  virtual void RequestRepaint() {}

  virtual bool HasFocus() const { return false; }
  // Asked on a button press when the chart lacks the focus; a hidden window ignores it.
  virtual void RequestFocus() {}
  virtual void SetPointer(PointerShape) {}
  // Puts the mouse pointer at (x, y) in chart coordinates.
  virtual void MoveMousePointer(int /*x*/, int /*y*/) {}

  // The events the chart does not handle itself, as the window's own handlers would see them.
  virtual void MouseDown(MouseButton /*button*/, int /*x*/, int /*y*/) {}
  virtual void MouseMove(unsigned /*buttons*/, int /*x*/, int /*y*/) {}
  virtual void MouseUp(MouseButton /*button*/, int /*x*/, int /*y*/) {}
  virtual void DoubleClick(int /*x*/, int /*y*/) {}
  virtual void KeyDown(ChartKey /*key*/, KeyModifiers /*modifiers*/) {}

  // The cursor information window, shown without taking the focus.
  virtual void ShowInfoWindow(const InfoWindowPlacement&) {}
  virtual void HideInfoWindow() {}
  virtual void SetInfoWindowHeight(int /*height*/) {}
  // The window's text (lines ended by CR LF) and its title, the stock name.
  virtual void SetInfoWindowText(const std::string& /*title*/, const std::string& /*text*/) {}
  virtual bool InfoWindowIsForeground() const { return false; }

  // A question with OK and Cancel: true for OK.
  virtual bool Ask(const std::string& /*title*/, const std::string& /*text*/) { return false; }
  virtual void ShowMessage(const std::string& /*text*/) {}
  // True and the chosen colour when the user confirmed the colour dialog.
  virtual bool ChooseColour(Colour /*start*/, Colour* /*chosen*/) { return false; }
  // An open-file dialog for an existing file in an existing folder, with a filter such as
  // "Data File (*.BIN)"; true and the file when the user chose one.
  virtual bool ChooseOpenFile(const std::string& /*title*/, const std::string& /*filter*/,
                              const std::string& /*default_extension*/, const std::string& /*start_folder*/,
                              std::string* /*file*/) {
    return false;
  }
  virtual void OpenWithSystem(const std::string& /*file*/) {}
  // The add-text dialog, starting from `text`: true and the user's entries on OK.
  virtual bool AskFigureText(FigureText* /*text*/) { return false; }
  // False when the picture could not be put on the clipboard.
  virtual bool PutOnClipboard(const RgbImage&) { return false; }

  // The formula dialogs work on the pane's formula; each returns true when it changed the
  // pane (the chart then repaints). Their menu items stay disabled while unsupported.
  virtual bool SupportsFormulaDialog(FormulaDialog) const { return false; }
  virtual bool ShowUsageNotes(PaneFormula&) { return false; }
  virtual bool AdjustParameters(PaneFormula&) { return false; }
  virtual bool EditFormula(PaneFormula&) { return false; }
};

}  // namespace vorelin
