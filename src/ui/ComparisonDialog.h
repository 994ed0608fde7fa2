#pragma once
// The modal table of the settings in which the window and the module differ, with a button
// that copies the table to the clipboard. Validation's faults, when there are any, stand
// above the table.
#include "tools/ModuleComparison.h"

#include <windows.h>

namespace kes {

void showComparisonDialog(HWND owner, const Comparison& comparison);

} // namespace kes
