#pragma once
// "Diagnostyka połączenia": the link's state, its reason, counters, log and status charts in a
// window of its own, refreshed after every tick while the main window goes on working.
#include <windows.h>

#include <string>

namespace kes {

constexpr int diagnosticsCopyButton = 1100;
constexpr int diagnosticsSummary = 1101;
constexpr int diagnosticsLog = 1102;
constexpr int diagnosticsFirstChart = 1103;  // three charts: signal, supply, temperature

// Shows the window over the main dialog and returns when it is closed. Only one at a time:
// a second call while it is open brings it forward.
void showConnectionDiagnostics(HWND mainDialog);

// Brings the open window up to date; nothing when none is open. The shell calls it after each tick.
void refreshConnectionDiagnostics();

// The open window, or null.
HWND connectionDiagnosticsWindow();

// Everything the window shows but the charts, headed by the program and the time: "Kopiuj".
std::wstring connectionDiagnosticsText();


} // namespace kes
