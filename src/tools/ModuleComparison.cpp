#include "tools/ModuleComparison.h"

#include "tools/LabelledSettings.h"

namespace kes {

std::vector<ComparisonRow> compareWindowWith(const ModuleConfiguration& module)
{
    const ModuleConfiguration window = throughTheModule(gatherAsProgrammed());
    const ModuleConfiguration held = throughTheModule(module);
    std::vector<ComparisonRow> rows;
    for (const LabelledSetting& s : labelledSettings()) {
        const std::wstring inModule = s.shown(held);
        if (s.shown(window) != inModule)
            rows.push_back({s.label, s.shownNow(), inModule});
    }
    return rows;
}

std::vector<ShownSetting> settingsAsShown()
{
    std::vector<ShownSetting> shown;
    for (const LabelledSetting& s : labelledSettings())
        shown.push_back({s.label, s.shownNow()});
    return shown;
}

std::wstring comparisonText(const std::vector<ComparisonRow>& rows)
{
    constexpr wchar_t endOfLine[] = L"\r\n";
    if (rows.empty())
        return std::wstring(noDifferencesText) + endOfLine;
    std::wstring text = L"Ustawienie\tW oknie\tW module";
    text += endOfLine;
    for (const ComparisonRow& r : rows)
        text += r.setting + L'\t' + r.inWindow + L'\t' + r.inModule + endOfLine;
    return text;
}

} // namespace kes
