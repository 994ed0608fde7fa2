#include "tools/ArchiveComparison.h"

#include "protocol/SettingsBlocks.h"
#include "storage/DataFile.h"

#include <cwchar>

namespace kes {

std::optional<ArchivedSettings> readArchivedSettings(const std::wstring& path)
{
    const ArchiveEntryFile file = readArchiveEntry(path);
    const auto settings = file.damaged ? std::nullopt : settingsFromRecords(file.records);
    if (!settings)
        return std::nullopt;
    return ArchivedSettings{file.header, *settings};
}

std::wstring entryHeading(const ArchiveEntryHeader& header)
{
    const SYSTEMTIME& t = header.local;
    wchar_t time[32] = {};
    std::swprintf(time, sizeof time / sizeof time[0], L"%04u-%02u-%02u %02u:%02u ", unsigned(t.wYear),
                  unsigned(t.wMonth), unsigned(t.wDay), unsigned(t.wHour), unsigned(t.wMinute));
    return time + std::wstring(archiveKindText(header.kind));
}

Comparison compareEntryWithWindow(const ArchivedSettings& entry, const Settings& window)
{
    Comparison comparison = compareSettingsWith(window, imageOf(entry.settings));
    comparison.rightHeading = entryHeading(entry.header);
    return comparison;
}

Comparison compareEntryWithModule(const ArchivedSettings& entry, const ModuleImage& module)
{
    return compareImages(imageOf(entry.settings), module, entryHeading(entry.header), moduleHeading);
}

Comparison compareEntries(const ArchivedSettings& first, const ArchivedSettings& second)
{
    return compareImages(imageOf(first.settings), imageOf(second.settings), entryHeading(first.header),
                         entryHeading(second.header));
}

} // namespace kes
