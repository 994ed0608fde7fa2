#pragma once
// One entry of the module archive: a data file that "Otwórz" opens, whose header (the lines
// before the start marker, which the reader skips) says when and how the settings were taken.
//   Czas UTC: 2026-12-09 13:32:05
//   Czas lokalny: 2026-12-09 14:32:05
//   Rodzaj: odczytany
//   Interfejs: FT4XQ2A1
//   Moduł: Brama 1
//   Poprzednio: 2026-12\2026-12-09 14.30.11 odczytany Brama 1.dat   (a programming only)
// Named "2026-12-09 14.32.05 odczytany Brama 1.dat" in its month folder, written once, never
// changed.
#include <optional>
#include <string>
#include <windows.h>

namespace kes {

enum class ArchiveKind { Read, Programmed, Failed };

// "odczytany", "zaprogramowany", "nieudany".
const wchar_t* archiveKindText(ArchiveKind kind);
std::optional<ArchiveKind> archiveKindFromText(const std::wstring& text);

struct ArchiveEntryHeader {
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    ArchiveKind kind = ArchiveKind::Read;
    std::wstring interfaceSerial;
    std::wstring moduleText;
    // For a programming: the entry of what the module held before, relative to the archive.
    std::wstring previous;
};

// "2026-12-09 13:32:05"; nothing read back from a text of another form or an impossible date.
std::wstring archiveTimeText(const SYSTEMTIME& time);
std::optional<SYSTEMTIME> archiveTimeFromText(const std::wstring& text);

// A text as a file name can carry it: characters a name cannot hold, control characters and
// trailing dots and spaces become "_"; cut to a length that keeps the path short.
std::wstring fileNamePart(const std::wstring& text);

// The entry's name at its n-th try: "2026-12-09 14.32.05 odczytany Brama 1.dat", then
// "... Brama 1 (2).dat"; without the module's part when its text is empty.
std::wstring entryFileName(const ArchiveEntryHeader& header, int attempt);

// The whole file: signature, header lines, then `records` (a data file's text after its
// signature, from its start marker on) in the bytes "Zapisz" writes for them. Nothing when
// the records do not begin with the start marker or cannot be encoded.
std::optional<std::string> archiveEntryBytes(const ArchiveEntryHeader& header, const std::wstring& records);

// Writes a new entry into the archive's month folder for the header's local time, making the
// folders it needs, never replacing a file. Its path relative to the archive, or nothing when it
// could not be written.
std::optional<std::wstring> writeArchiveEntry(const std::wstring& archive, const ArchiveEntryHeader& header,
                                              const std::wstring& records);

struct ArchiveEntryFile {
    bool damaged = true;  // no signature, no start marker, unreadable, or no time or kind in the header
    ArchiveEntryHeader header;
    std::wstring records;  // from the start marker on, as a data file's reader takes them
};

ArchiveEntryFile parseArchiveEntry(const std::string& bytes);
ArchiveEntryFile readArchiveEntry(const std::wstring& path);

} // namespace kes
