#pragma once
// Builds every control of the main window (10001 to 10143, in creation order) into the dialog.
#include <windows.h>

namespace kes {

void buildMainWindow(HWND dialog, HINSTANCE instance = nullptr);

} // namespace kes
