#pragma once
// Settings for the configuration report: grouped by the window's rows and labelled as the
// comparison with the module labels them, with their values as the window shows them (texts as
// typed, lists by item text, check boxes "tak" or "nie").
#include "model/Settings.h"

#include <string>
#include <vector>

namespace kes {

struct SettingLabel {
    std::wstring group;
    std::wstring label;
    std::wstring value;
};

// The general settings, in the window's order; the users are a table of their own.
std::vector<SettingLabel> generalSettingLabels(const Settings& settings);

// The users' table: column headings, then one row per user, each cell as shown.
std::vector<std::wstring> userColumnHeadings();
std::vector<std::vector<std::wstring>> userRows(const Settings& settings);

} // namespace kes
