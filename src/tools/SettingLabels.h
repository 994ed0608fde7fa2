#pragma once
// The settings of the window for the configuration report: grouped by the window's rows and
// labelled as the comparison with the module labels them, with their values as shown (texts
// as typed, lists by item text, check boxes "tak" or "nie").
#include <string>
#include <vector>

namespace kes {

struct SettingLabel {
    std::wstring group;
    std::wstring label;
    std::wstring value;
};

// The general settings, in the window's order; the users are a table of their own.
std::vector<SettingLabel> generalSettingLabels();

// The users' table: column headings, then one row per user, each cell as shown.
std::vector<std::wstring> userColumnHeadings();
std::vector<std::vector<std::wstring>> userRows();

} // namespace kes
