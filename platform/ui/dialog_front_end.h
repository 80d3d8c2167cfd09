#pragma once
// The front end that runs modal sheets: one for the whole process, chosen like the message box
// front end (headless for tests and command-line automation, real windows later).
#include <memory>

namespace ui {

class PropertySheet;

class DialogFrontEnd {
 public:
  virtual ~DialogFrontEnd() = default;
  // Opens the sheet's windows, lets the user work until the sheet ends, closes the windows and
  // returns the sheet's result (kIdOk, kIdCancel; -1 when it could not be shown).
  virtual int RunModal(PropertySheet& sheet) = 0;
};

// The process's front end. Until one is chosen: a headless one without a script, which reports
// every sheet it is asked to show on standard error and cancels it.
std::shared_ptr<DialogFrontEnd> CurrentDialogFrontEnd();

// Chooses the front end (nullptr: back to the default); returns the one it replaces.
std::shared_ptr<DialogFrontEnd> SetDialogFrontEnd(std::shared_ptr<DialogFrontEnd> frontEnd);

// Hosting of embedded controls in dialogs; no dialog here contains one, so it only records that
// it was asked for.
void EnableControlContainer();
bool IsControlContainerEnabled();

}  // namespace ui
