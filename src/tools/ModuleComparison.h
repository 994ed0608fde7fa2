#pragma once
// What pressing "Programuj" now would change in the module, setting by setting, as the user
// knows them: a label from the window's own row and column captions, the value programming
// would write and the value the module holds. The window's side is what validation's rewrites
// and the encoding make of its settings, as the module would hold it; the module's side is its
// blocks as read, decoded and never encoded again. So a value the module cannot hold as typed
// (a time in tenths) is no difference when the module holds what programming writes.
#include "model/Settings.h"
#include "protocol/ModuleImage.h"

#include <string>
#include <vector>

namespace kes {

struct ComparisonRow {
    std::wstring setting;
    std::wstring inWindow;
    std::wstring inModule;
};

struct Comparison {
    // Validation's messages, each followed by CR LF; empty when programming would start. With
    // faults the rows compare the window's settings as they stand, its values as it shows them.
    std::wstring faults;
    std::vector<ComparisonRow> rows;  // in the window's order
};

constexpr wchar_t noDifferencesText[] = L"Ustawienia w oknie i w module są zgodne.";
constexpr wchar_t faultsHeading[] = L"Ustawienia w oknie zawierają błędy – programowanie zostanie przerwane:";

// The window's settings `window` against the blocks `module` holds.
Comparison compareSettingsWith(const Settings& window, const ModuleImage& module);
// The same for the settings the window shows now.
Comparison compareWindowWith(const ModuleImage& module);

// Every compared setting with its value as the window shows it, in the window's order; the
// configuration report labels the settings with these.
struct ShownSetting {
    std::wstring label;
    std::wstring value;
};
std::vector<ShownSetting> settingsAsShown(const Settings& settings);

// The faults heading and the faults, one a line each ending in CR LF; empty with no faults.
std::wstring faultsText(const Comparison& comparison);

// faultsText and an empty line when there are faults; then the table: a header row and one line a row, columns separated by tabs, or the one line
// of noDifferencesText when there are no rows. Every line ends in CR LF.
std::wstring comparisonText(const Comparison& comparison);

} // namespace kes
