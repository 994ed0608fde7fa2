#pragma once
// Archive entries compared with the window, with the module in hand or with each other, in the
// rows the comparison with the module lists; an entry's column is headed by when and how it was
// taken: "2026-12-09 14:32 odczytany".
#include "model/Settings.h"
#include "protocol/ModuleImage.h"
#include "storage/ArchiveEntry.h"
#include "tools/ModuleComparison.h"

#include <optional>
#include <string>

namespace kes {

struct ArchivedSettings {
    ArchiveEntryHeader header;
    Settings settings;
};

// The entry's settings as "Otwórz" would read them; nothing when it is damaged or unreadable.
std::optional<ArchivedSettings> readArchivedSettings(const std::wstring& path);

// "2026-12-09 14:32 odczytany": local time and kind.
std::wstring entryHeading(const ArchiveEntryHeader& header);

// "W oknie" as the comparison with the module takes the window, then the entry.
Comparison compareEntryWithWindow(const ArchivedSettings& entry, const Settings& window);
// The entry, then "W module".
Comparison compareEntryWithModule(const ArchivedSettings& entry, const ModuleImage& module);
// The first entry, then the second.
Comparison compareEntries(const ArchivedSettings& first, const ArchivedSettings& second);

} // namespace kes
