#include "tools/SettingLabels.h"

#include "model/Catalogue.h"
#include "tools/ModuleComparison.h"

namespace kes {
namespace {

constexpr wchar_t yes[] = L"tak";
constexpr wchar_t no[] = L"nie";
constexpr wchar_t dash[] = L" – ";
constexpr wchar_t notShown[] = L"—";  // the first user has no time-limited rights
constexpr wchar_t userRow[] = L"Użytkownik ";

std::wstring itemText(const ComboboxControl<int>& field)
{
    const int index = field.getSelection();
    const auto& items = field.items();
    return index >= 0 && static_cast<std::size_t>(index) < items.size() ? items[static_cast<std::size_t>(index)]
                                                                         : std::wstring();
}

// The row a label belongs to: its caption before the first dash; both codes share one.
std::wstring groupOf(const std::wstring& label)
{
    if (label.rfind(L"Kod ", 0) == 0)
        return L"Kody";
    return label.substr(0, label.find(dash));
}

} // namespace

std::vector<SettingLabel> generalSettingLabels()
{
    std::vector<SettingLabel> out;
    for (ShownSetting& s : settingsAsShown()) {
        if (s.label.rfind(userRow, 0) == 0)
            continue;
        std::wstring group = groupOf(s.label);
        if (out.empty() || out.back().group != group) {
            // The outputs' own boxes follow from their controls and are not compared, but the
            // window shows them.
            if (group == L"OUT-1")
                out.push_back({group, group, ::out1Enabled.isChecked() ? yes : no});
            else if (group == L"OUT-2")
                out.push_back({group, group, ::out2Enabled.isChecked() ? yes : no});
        }
        out.push_back({std::move(group), std::move(s.label), std::move(s.value)});
    }
    return out;
}

std::vector<std::wstring> userColumnHeadings()
{
    return {L"Użytkownik", L"Aktywny", L"Telefon", L"Powiadamianie", L"OUT", L"TEMP", L"PWR",
            L"CLIP", L"PODSŁUCH", L"POSŁANIEC", L"UPRAWNIENIA CZAS. [h]"};
}

std::vector<std::vector<std::wstring>> userRows()
{
    std::vector<std::vector<std::wstring>> rows;
    for (int user = 0; user < ids::kUserCount; ++user) {
        auto yesNo = [](OptionControl& field) { return std::wstring(field.isChecked() ? yes : no); };
        std::wstring timed = notShown;
        if (user > 0)
            timed = ::userTimedRights[user].isChecked() ? ::userRightsHours[user].getText() : std::wstring(no);
        rows.push_back({L"Użytkownik " + std::to_wstring(user + 1), yesNo(::userActive[user]),
                        ::userPhone[user].getText(), itemText(::userNotify[user]), yesNo(::userRightOut[user]),
                        yesNo(::userRightTemp[user]), yesNo(::userRightPwr[user]), yesNo(::userRightClip[user]),
                        yesNo(::userRightListen[user]), yesNo(::userRightMessenger[user]), timed});
    }
    return rows;
}

} // namespace kes
