#pragma once
// Every setting of the window with its group, its label as the window shows it (row caption,
// " – ", column caption) and its value as shown: texts as typed, lists by item text, check
// boxes "tak" or "nie". One table, for the configuration report.
#include <functional>
#include <string>
#include <vector>

namespace kes {

struct SettingLabel {
    const wchar_t* group;
    std::wstring label;
    std::function<std::wstring()> value;
};

// The general settings, in the window's order.
std::vector<SettingLabel> generalSettingLabels();

// The users' table: column headings, then one row per user, each cell as shown.
std::vector<std::wstring> userColumnHeadings();
std::vector<std::vector<std::wstring>> userRows();

} // namespace kes
