#pragma once
// The archive's index file, "indeks.txt" in the archive folder: one line an entry, its summary
// keyed by its path, size and last-write time. Only a shortcut: the files are the archive.
#include "storage/ArchiveListing.h"

#include <map>
#include <optional>
#include <string>

namespace kes {

using ArchiveIndex = std::map<std::wstring, ArchiveEntrySummary>;  // by relative path

std::wstring archiveIndexPath(const std::wstring& archive);

// The index as the file holds it; nothing when it is missing or any line of it is damaged.
std::optional<ArchiveIndex> readArchiveIndex(const std::wstring& archive);

// Replaces the index file in one step. False when it could not be written.
bool writeArchiveIndex(const std::wstring& archive, const ArchiveIndex& index);

} // namespace kes
