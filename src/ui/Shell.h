#pragma once
// The main dialog: its procedure, its command handler and the start of the program.
#include <windows.h>

namespace kes {

// The instance every dialog and icon is loaded from; set by the entry function.
HINSTANCE instanceHandle();
void setInstanceHandle(HINSTANCE instance);

// Runs the main dialog modally; 0 when it was closed normally.
int runMainDialog(HINSTANCE instance);

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Serves one WM_COMMAND of the main dialog before the procedure's own handling.
void onCommand(HWND dialog, WPARAM wParam);

// Centres the window over its parent (or the desktop) without resizing it, then puts the
// keyboard focus on its control controlId (0: on nothing).
void centerOnParent(HWND window, int controlId);

} // namespace kes
