#pragma once
// The main window as a view of a Settings value, through the bound fields' live operations.
#include "model/Settings.h"

namespace kes {

// The window's settings: every record as its field reads it (getText, isChecked, which also
// re-applies the box's dependents, getSelection, an availability's value).
Settings windowSettings();

// Shows the value, its availability as it holds it: only the fields whose text, check, selection
// or availability differ are written, so the others keep their carets and undo; then every check
// box re-applies its dependents, each box before the boxes it enables.
void showSettings(const Settings& settings);

} // namespace kes
