#pragma once
// What every window of the program needs: the instance it is loaded from, and its place over
// the window that opened it.
#include <windows.h>

namespace kes {

// The instance every dialog and icon is loaded from; set by the entry function.
HINSTANCE instanceHandle();
void setInstanceHandle(HINSTANCE instance);

// Centres the window over its parent (or the desktop) without resizing it, then puts the
// keyboard focus on its control controlId (0: on nothing).
void centerOnParent(HWND window, int controlId);

} // namespace kes
