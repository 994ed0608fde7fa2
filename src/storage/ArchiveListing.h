#pragma once
// The module archive listed, searched and pruned. Only "*.dat" files in the month folders are
// entries; an index file keeps their summaries so that only new or changed files are read.
#include "storage/ArchiveEntry.h"
#include "storage/ArchiveSearch.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kes {

struct ArchiveEntrySummary {
    std::wstring relativePath;    // "2026-12\2026-12-09 14.32.05 odczytany Brama 1.dat"
    std::uint64_t size = 0;       // bytes
    std::uint64_t lastWrite = 0;  // the file's last-write time (FILETIME)
    // A file that is not an entry: listed by its last-write time, nothing else known of it.
    bool damaged = false;
    ArchiveEntryHeader header;
    std::wstring user1Phone;
    std::wstring in1Name;
    ArchiveSearchText search;
};

struct ArchiveListing {
    std::vector<ArchiveEntrySummary> entries;  // newest first by UTC time
    std::uint64_t totalBytes = 0;
};

// Every entry of the archive. An archive that is not there yet lists nothing and is not made;
// the index is brought up to date with the files when it differs from them.
ArchiveListing listArchive(const std::wstring& archive);

// The places in `entries` of those the query finds, in the entries' order.
std::vector<std::size_t> searchArchive(const std::vector<ArchiveEntrySummary>& entries, const std::wstring& query);

// Deletes the entries (paths relative to the archive, as listed) and drops them from the index.
// Returns the paths that could not be deleted; a path outside the month folders is one of them.
std::vector<std::wstring> deleteArchiveEntries(const std::wstring& archive,
                                               const std::vector<std::wstring>& relativePaths);

} // namespace kes
