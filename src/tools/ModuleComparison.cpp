#include "tools/ModuleComparison.h"

#include "model/SettingsView.h"
#include "model/Validation.h"
#include "protocol/SettingsBlocks.h"
#include "tools/LabelledSettings.h"

#include <cwchar>

namespace kes {
namespace {

constexpr wchar_t endOfLine[] = L"\r\n";

std::size_t dataIndex(std::size_t frameOffset) { return frameOffset - dataOffset; }

// The user whose hours the setting is, or -1: the one number of a user's row.
int hoursRowUser(const LabelledSetting& s)
{
    return s.kind == SettingKind::Number ? s.user : -1;
}

std::wstring hexBytes(const ModuleImage::BlockData& data, std::size_t from, std::size_t to)
{
    std::wstring text;
    for (std::size_t i = from; i < to; ++i) {
        wchar_t byte[4] = {};
        std::swprintf(byte, sizeof(byte) / sizeof(byte[0]), L"%02X", static_cast<unsigned>(data[i]));
        if (!text.empty())
            text += L' ';
        text += byte;
    }
    return text;
}

// Bytes 23..24 of a user block are never decoded, so the hours rows cannot show them; when
// they alone differ, programming still rewrites them, and the raw bytes 20..24 say so.
bool onlyUndecodedHoursDiffer(const ModuleImage::BlockData& sent, const ModuleImage::BlockData& held)
{
    for (std::size_t i = dataIndex(userHoursOffset); i < dataIndex(userHoursTenthsOffset); ++i)
        if (sent[i] != held[i])
            return false;
    for (std::size_t i = dataIndex(userHoursTenthsOffset); i < dataIndex(userHoursEnd); ++i)
        if (sent[i] != held[i])
            return true;
    return false;
}

// Beside the hours row: its label with the bytes in place of its last part.
ComparisonRow hoursBytesRow(const LabelledSetting& hours, const ModuleImage::BlockData& sent,
                            const ModuleImage::BlockData& held)
{
    const std::wstring label = hours.label.substr(0, hours.label.rfind(labelSeparator)) + labelSeparator + L"bajty 20–24";
    const std::size_t from = dataIndex(userHoursOffset);
    const std::size_t to = dataIndex(userHoursEnd);
    return {label, hexBytes(sent, from, to), hexBytes(held, from, to)};
}

// When programming would not start, the window's value as it shows it; unless that reads as
// the module's, as for user 1's time-limited rights, which the window holds but never sends.
std::wstring windowValue(const LabelledSetting& s, const Settings* window, const std::wstring& sent,
                         const std::wstring& held)
{
    if (!window)
        return sent;
    const std::wstring shown = s.shown(*window);
    return shown == held ? sent : shown;
}

} // namespace

Comparison compareSettingsWith(const Settings& window, const ModuleImage& module)
{
    const ValidatedSettings validated = validateSettings(window);
    const bool programmingStops = !validated.faults.empty();
    // With faults programming would not start: the window's settings as they stand.
    const ModuleImage sent = imageOf(programmingStops ? window : validated.settings);
    const Settings inWindow = settingsIn(sent);
    const Settings inModule = settingsIn(module);

    Comparison result;
    result.faults = validated.faults;
    for (const LabelledSetting& s : labelledSettings()) {
        const std::wstring held = s.shown(inModule);
        const std::wstring written = s.shown(inWindow);
        if (written != held)
            result.rows.push_back({s.label, windowValue(s, programmingStops ? &window : nullptr, written, held), held});
        const int u = hoursRowUser(s);
        if (u < 0)
            continue;
        const ModuleImage::BlockData& sentUser = sent.blocks[userBlock(u)];
        const ModuleImage::BlockData& heldUser = module.blocks[userBlock(u)];
        if (onlyUndecodedHoursDiffer(sentUser, heldUser))
            result.rows.push_back(hoursBytesRow(s, sentUser, heldUser));
    }
    return result;
}

Comparison compareWindowWith(const ModuleImage& module) { return compareSettingsWith(windowSettings(), module); }

std::vector<ShownSetting> settingsAsShown(const Settings& settings)
{
    std::vector<ShownSetting> shown;
    for (const LabelledSetting& s : labelledSettings())
        shown.push_back({s.label, s.shown(settings)});
    return shown;
}

std::wstring faultsText(const Comparison& comparison)
{
    if (comparison.faults.empty())
        return std::wstring();
    return faultsHeading + std::wstring(endOfLine) + comparison.faults;
}

std::wstring comparisonText(const Comparison& comparison)
{
    std::wstring text = faultsText(comparison);
    if (!text.empty())
        text += endOfLine;
    if (comparison.rows.empty())
        return text + noDifferencesText + endOfLine;
    text += L"Ustawienie\tW oknie\tW module";
    text += endOfLine;
    for (const ComparisonRow& r : comparison.rows)
        text += r.setting + L'\t' + r.inWindow + L'\t' + r.inModule + endOfLine;
    return text;
}

} // namespace kes
