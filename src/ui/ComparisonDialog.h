#pragma once
// The modal table of the settings in which the window and the module differ, with a button
// that copies the table to the clipboard.
#include "tools/ModuleComparison.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kes {

void showComparisonDialog(HWND owner, const std::vector<ComparisonRow>& rows);

} // namespace kes
