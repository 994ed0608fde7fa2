#pragma once
// The main window as a view of a Settings value, through the bound fields' live operations.
#include "model/Settings.h"

namespace kes {

// The window's settings: every record as its field reads it live (getText, the check state,
// getSelection, an availability's value). Nothing in the window changes.
Settings windowSettings();

// Shows the value, its availability as it holds it: only the fields that show something else than
// writing the value would (a text is cut to its edit's length, an index its list does not hold
// selects nothing) are written, so the others keep their carets and undo; then, when anything
// was written, every check box re-applies its dependents, each box before the boxes it enables.
void showSettings(const Settings& settings);

} // namespace kes
