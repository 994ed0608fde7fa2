#pragma once
// The modal window shown while the module is being programmed.
#include <windows.h>

namespace kes {

// Sent to the progress window to close it.
constexpr UINT closeProgressMessage = WM_USER + 3;
constexpr WORD programmingSteps = 17;

// Runs the progress window modally on the owner; returns when it has been closed.
void openProgressDialog(HWND owner);

// Moves the bar on by one step; nothing while no progress window is open.
void advanceProgress();

// Closes the progress window, if one is open.
void closeProgress();

// The open progress window, or null.
HWND progressWindow();

// Lets the programming job move the bar and close the window.
void connectProgressToProgramming();

} // namespace kes
