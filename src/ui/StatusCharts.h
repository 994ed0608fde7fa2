#pragma once
// Small line charts of the status history: signal level, supply voltage, temperature over the
// last fifteen minutes, drawn with GDI into an owner-drawn control.
#include "protocol/StatusHistory.h"

#include <windows.h>

#include <vector>

namespace kes {

enum class StatusChart { Signal, Supply, Temperature };

// Draws the chart into the rectangle; `now` (link clock seconds) is the right edge.
void drawStatusChart(HDC dc, const RECT& area, StatusChart chart, const std::vector<StatusSample>& samples,
                     double now);

} // namespace kes
