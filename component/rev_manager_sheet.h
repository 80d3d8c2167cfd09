#pragma once
// ShowRevManagerDlg runs the revision manager sheet through a hook, so that this library does not
// depend on the dialogs: the browser (or the module) sets it.

namespace component {

// Builds the sheet, runs its modal loop and destroys it; returns when the user closes it.
using RevManagerSheetRunner = void (*)();

// Returns the runner it replaces; null: ShowRevManagerDlg shows nothing.
RevManagerSheetRunner SetRevManagerSheetRunner(RevManagerSheetRunner runner);
RevManagerSheetRunner CurrentRevManagerSheetRunner();

}  // namespace component
