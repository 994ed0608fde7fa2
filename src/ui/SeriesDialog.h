#pragma once
// "Programowanie seryjne": the series station's table, log, copies, Start and Stop, its state and
// the attempts so far. Modal over the main window, whose ticks go on behind it and run the series.
#include <windows.h>

namespace kes {

// Returns when the dialog is closed; "Zamknij" and Esc stop the series first and, while a job
// runs, wait for it to end.
void showSeriesDialog(HWND mainDialog);

// The open dialog, or null.
HWND seriesDialogWindow();

} // namespace kes
