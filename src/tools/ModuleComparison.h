#pragma once
// The window's settings against the module's, setting by setting, as the user knows them:
// a label from the window's own row and column captions and both values as the window
// shows them. Settings are compared as they would be programmed, so a value that the
// module cannot hold as typed (a cut text, a time in tenths) counts as equal when the
// module holds what programming would have written.
#include "protocol/ModuleConfiguration.h"

#include <string>
#include <vector>

namespace kes {

struct ComparisonRow {
    std::wstring setting;
    std::wstring inWindow;
    std::wstring inModule;
};

constexpr wchar_t noDifferencesText[] = L"Ustawienia w oknie i w module są zgodne.";

// The settings whose values differ, in the window's order. Reads the window through the
// fields' operations and changes nothing in it.
std::vector<ComparisonRow> compareWindowWith(const ModuleConfiguration& module);

// Every compared setting with its value as the window shows it now, in the window's order;
// the configuration report labels the settings with these.
struct ShownSetting {
    std::wstring label;
    std::wstring value;
};
std::vector<ShownSetting> settingsAsShown();

// The table as text: a header row and one line a row, columns separated by tabs, every line
// ending in CR LF; the one line of noDifferencesText when there are no rows.
std::wstring comparisonText(const std::vector<ComparisonRow>& rows);

} // namespace kes
