#pragma once
// The main dialog: its procedure, its command handler and the start of the program.
#include <windows.h>

namespace kes {

// Runs the main dialog modally; 0 when it was closed normally.
int runMainDialog(HINSTANCE instance);

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Serves one WM_COMMAND of the main dialog before the procedure's own handling.
void onCommand(HWND dialog, WPARAM wParam);

} // namespace kes
