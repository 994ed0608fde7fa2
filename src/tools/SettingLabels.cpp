#include "tools/SettingLabels.h"

#include "tools/LabelledSettings.h"
#include "tools/ModuleComparison.h"

namespace kes {
namespace {

constexpr wchar_t yes[] = L"tak";
constexpr wchar_t no[] = L"nie";
constexpr wchar_t dash[] = L" – ";
constexpr wchar_t notShown[] = L"—";  // the first user has no time-limited rights
constexpr wchar_t userRow[] = L"Użytkownik ";

// The row a label belongs to: its caption before the first dash; both codes share one.
std::wstring groupOf(const std::wstring& label)
{
    if (label.rfind(L"Kod ", 0) == 0)
        return L"Kody";
    return label.substr(0, label.find(dash));
}

} // namespace

std::vector<SettingLabel> generalSettingLabels(const Settings& settings)
{
    std::vector<SettingLabel> out;
    for (ShownSetting& s : settingsAsShown(settings)) {
        if (s.label.rfind(userRow, 0) == 0)
            continue;
        std::wstring group = groupOf(s.label);
        if (out.empty() || out.back().group != group) {
            // The outputs' own boxes follow from their controls and are not compared, but the
            // window shows them.
            if (group == L"OUT-1")
                out.push_back({group, group, settings.out1Enabled ? yes : no});
            else if (group == L"OUT-2")
                out.push_back({group, group, settings.out2Enabled ? yes : no});
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

std::vector<std::vector<std::wstring>> userRows(const Settings& settings)
{
    std::vector<std::vector<std::wstring>> rows;
    for (std::size_t user = 0; user < settings.users.size(); ++user) {
        const UserSettings& u = settings.users[user];
        auto yesNo = [](bool checked) { return std::wstring(checked ? yes : no); };
        std::wstring timed = notShown;
        if (user > 0)
            timed = u.timedRights ? u.rightsHours : std::wstring(no);
        rows.push_back({L"Użytkownik " + std::to_wstring(user + 1), yesNo(u.active), u.phone,
                        itemText(notifyItems(), u.notify),
                        yesNo(u.rightOut), yesNo(u.rightTemp), yesNo(u.rightPwr), yesNo(u.rightClip),
                        yesNo(u.rightListen), yesNo(u.rightMessenger), timed});
    }
    return rows;
}

} // namespace kes
