#include "tools/SeriesTemplate.h"

#include "model/SettingsView.h"
#include "storage/DataFile.h"
#include "tools/OpenedDataFile.h"

#include <windows.h>

#include <cwchar>

namespace kes {

SeriesTemplate windowTemplate()
{
    SeriesTemplate t{windowSettings(), L"ustawienia okna z "};
    const std::wstring& opened = settingsOpenedFrom();
    if (!opened.empty())
        return {t.settings, t.name + L"pliku " + fileNameOf(opened)};
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t time[8] = {};
    std::swprintf(time, sizeof(time) / sizeof(time[0]), L"%02u:%02u", now.wHour, now.wMinute);
    t.name += time;
    return t;
}

std::optional<SeriesTemplate> fileTemplate(const std::wstring& path, std::wstring& fault)
{
    std::optional<Settings> read = readSettingsFile(path, fault);
    if (!read) {
        if (fault.empty())
            fault = L"Błędny format pliku: " + path;
        return std::nullopt;
    }
    return SeriesTemplate{std::move(*read), L"plik " + fileNameOf(path)};
}

std::wstring fileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

} // namespace kes
