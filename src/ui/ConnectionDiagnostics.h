#pragma once
// "Diagnostyka połączenia": the link's state, its reason, counters, log and status charts in a
// window of its own, refreshed after every tick while the main window goes on working.
#include "ui/ResourceIds.h"

#include <windows.h>

namespace kes {

constexpr int diagnosticsCopyButton = IDC_DIAGNOSTICS_COPY;
constexpr int diagnosticsSummary = IDC_DIAGNOSTICS_SUMMARY;
constexpr int diagnosticsLog = IDC_DIAGNOSTICS_LOG;
constexpr int diagnosticsFirstChart = IDC_DIAGNOSTICS_FIRST_CHART;  // three charts: signal, supply, temperature

// Shows the window over the main dialog and returns when it is closed. Only one at a time:
// a second call while it is open brings it forward. It is brought up to date after each tick.
void showConnectionDiagnostics(HWND mainDialog);

// The open window, or null.
HWND connectionDiagnosticsWindow();

} // namespace kes
