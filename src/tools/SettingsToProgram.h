#pragma once
// What "Programuj" would send now, worked out without touching the window: validation runs
// with its rewrites on a copy of the window's settings and shows no message box.
#include "protocol/ModuleConfiguration.h"

#include <string>

namespace kes {

struct SettingsToProgram {
    // Validation's messages, each followed by CR LF, in its order; empty when programming
    // would start.
    std::wstring faults;
    // With no faults, the records programming would gather once validation has rewritten the
    // settings; with faults (programming would not start), the window's settings as they stand.
    ModuleConfiguration configuration;
};

// Nothing in it pumps messages, so no tick sees the copy.
SettingsToProgram settingsToProgram();

} // namespace kes
