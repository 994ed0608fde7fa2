#include "storage/ArchiveListing.h"

#include "storage/ArchiveFolder.h"
#include "storage/ArchiveIndex.h"
#include "support/ScopedWin.h"

#include <algorithm>
#include <cwctype>
#include <utility>
#include <windows.h>

namespace kes {
namespace {

constexpr wchar_t kEntryExtension[] = L".dat";
constexpr std::size_t kExtensionLength = 4;

class FolderSearch {
public:
    explicit FolderSearch(const std::wstring& folder)
        : handle_(FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found_, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH))
    {
    }
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;

    // The next name found (the first on the first call); null after the last.
    const WIN32_FIND_DATAW* next()
    {
        if (!handle_)
            return nullptr;
        if (started_ && !FindNextFileW(handle_.get(), &found_))
            return nullptr;
        started_ = true;
        return &found_;
    }

private:
    WIN32_FIND_DATAW found_{};
    FindHandle handle_;
    bool started_ = false;
};

bool isFolder(const WIN32_FIND_DATAW& found) { return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// Compared by hand: a "*.dat" pattern would also find "x.data" through its short name.
bool isEntryName(const std::wstring& name)
{
    if (name.size() <= kExtensionLength)
        return false;
    for (std::size_t i = 0; i < kExtensionLength; ++i)
        if (std::towlower(name[name.size() - kExtensionLength + i]) != kEntryExtension[i])
            return false;
    return true;
}

std::uint64_t joined(DWORD high, DWORD low) { return (static_cast<std::uint64_t>(high) << 32) | low; }

FILETIME fileTime(std::uint64_t value)
{
    return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}

std::uint64_t utcKey(const SYSTEMTIME& utc)
{
    FILETIME time{};
    SystemTimeToFileTime(&utc, &time);
    return joined(time.dwHighDateTime, time.dwLowDateTime);
}

struct FoundFile {
    std::wstring relativePath;
    std::uint64_t size;
    std::uint64_t lastWrite;
};

std::vector<FoundFile> entryFiles(const std::wstring& archive)
{
    std::vector<FoundFile> files;
    FolderSearch months(archive);
    while (const WIN32_FIND_DATAW* month = months.next()) {
        const std::wstring monthName = month->cFileName;
        if (!isFolder(*month) || !isMonthFolderName(monthName))
            continue;
        FolderSearch entries(archive + L'\\' + monthName);
        while (const WIN32_FIND_DATAW* found = entries.next()) {
            if (isFolder(*found) || !isEntryName(found->cFileName))
                continue;
            files.push_back(FoundFile{monthName + L'\\' + found->cFileName,
                                      joined(found->nFileSizeHigh, found->nFileSizeLow),
                                      joined(found->ftLastWriteTime.dwHighDateTime, found->ftLastWriteTime.dwLowDateTime)});
        }
    }
    return files;
}

ArchiveEntrySummary summarize(const std::wstring& archive, const FoundFile& file)
{
    ArchiveEntrySummary entry;
    entry.relativePath = file.relativePath;
    entry.size = file.size;
    entry.lastWrite = file.lastWrite;
    const ArchiveEntryFile contents = readArchiveEntry(archive + L'\\' + file.relativePath);
    const auto fields = contents.damaged ? std::nullopt : archiveSearchFields(contents.records);
    if (!fields) {
        entry.damaged = true;
        const FILETIME written = fileTime(file.lastWrite);
        FILETIME local{};
        FileTimeToSystemTime(&written, &entry.header.utc);
        FileTimeToLocalFileTime(&written, &local);
        FileTimeToSystemTime(&local, &entry.header.local);
        return entry;
    }
    entry.header = contents.header;
    entry.user1Phone = fields->user1Phone;
    entry.in1Name = fields->names.at(0);
    entry.search = archiveSearchText(contents.header.moduleText, contents.header.interfaceSerial, *fields);
    return entry;
}

// "2026-12\<name>.dat" and nothing that leads elsewhere.
bool isEntryPath(const std::wstring& relativePath)
{
    const std::size_t slash = relativePath.find(L'\\');
    if (slash == std::wstring::npos || !isMonthFolderName(relativePath.substr(0, slash)))
        return false;
    const std::wstring name = relativePath.substr(slash + 1);
    return isEntryName(name) && name.find_first_of(L"\\/:") == std::wstring::npos && name[0] != L'.';
}

} // namespace

ArchiveListing listArchive(const std::wstring& archive)
{
    ArchiveListing listing;
    if (archive.empty() || !folderExists(archive))
        return listing;
    std::optional<ArchiveIndex> kept = readArchiveIndex(archive);
    ArchiveIndex index;
    bool changed = !kept;
    for (const FoundFile& file : entryFiles(archive)) {
        const auto known = kept ? kept->find(file.relativePath) : ArchiveIndex::iterator();
        const bool current = kept && known != kept->end() && known->second.size == file.size &&
                             known->second.lastWrite == file.lastWrite;
        changed = changed || !current;
        index.emplace(file.relativePath, current ? std::move(known->second) : summarize(archive, file));
    }
    // Entries deleted behind our back drop out.
    changed = changed || index.size() != kept->size();
    if (changed)
        writeArchiveIndex(archive, index);  // a shortcut only: the listing stands without it

    std::vector<std::pair<std::uint64_t, ArchiveEntrySummary>> sorted;
    sorted.reserve(index.size());
    for (auto& entry : index) {
        listing.totalBytes += entry.second.size;
        sorted.emplace_back(utcKey(entry.second.header.utc), std::move(entry.second));
    }
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first > b.first;
        if (a.second.lastWrite != b.second.lastWrite)
            return a.second.lastWrite > b.second.lastWrite;
        return a.second.relativePath > b.second.relativePath;
    });
    listing.entries.reserve(sorted.size());
    for (auto& entry : sorted)
        listing.entries.push_back(std::move(entry.second));
    return listing;
}

std::vector<std::size_t> searchArchive(const std::vector<ArchiveEntrySummary>& entries, const std::wstring& query)
{
    const ArchiveQuery matcher(query);
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (matcher.matches(entries[i].search))  // a damaged entry's is empty: only an empty query lists it
            found.push_back(i);
    return found;
}

std::vector<std::wstring> deleteArchiveEntries(const std::wstring& archive,
                                               const std::vector<std::wstring>& relativePaths)
{
    std::vector<std::wstring> notDeleted;
    std::vector<std::wstring> deleted;
    for (const std::wstring& path : relativePaths) {
        const std::wstring full = archive + L'\\' + path;
        if (!archive.empty() && isEntryPath(path) &&
            (DeleteFileW(full.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
             GetLastError() == ERROR_PATH_NOT_FOUND))
            deleted.push_back(path);
        else
            notDeleted.push_back(path);
    }
    if (deleted.empty())
        return notDeleted;
    if (auto index = readArchiveIndex(archive)) {
        for (const std::wstring& path : deleted)
            index->erase(path);
        writeArchiveIndex(archive, *index);
    }
    // A month left empty goes too; one that still holds anything stays.
    for (const std::wstring& path : deleted)
        RemoveDirectoryW((archive + L'\\' + path.substr(0, path.find(L'\\'))).c_str());
    return notDeleted;
}

} // namespace kes
