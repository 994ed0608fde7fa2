#include "storage/ArchiveEntry.h"

#include "model/Fields.h"
#include "storage/ArchiveFolder.h"
#include "storage/FileBytes.h"
#include "storage/Utf8Codecvt.h"
#include "storage/Utf8Text.h"

#include <cwchar>
#include <iterator>

namespace kes {
namespace {

constexpr wchar_t kSignature = static_cast<wchar_t>(0xFEFF);
constexpr char kSignatureBytes[] = "\xEF\xBB\xBF";
constexpr wchar_t kStartMarker = ControlBufor::kFrameMark;
constexpr wchar_t kLineEnd[] = L"\r\n";
constexpr wchar_t kKeyEnd[] = L": ";
constexpr wchar_t kUtcKey[] = L"Czas UTC";
constexpr wchar_t kLocalKey[] = L"Czas lokalny";
constexpr wchar_t kKindKey[] = L"Rodzaj";
constexpr wchar_t kInterfaceKey[] = L"Interfejs";
constexpr wchar_t kModuleKey[] = L"Moduł";
constexpr wchar_t kPreviousKey[] = L"Poprzednio";
constexpr wchar_t kNotInNames[] = L"\\/:*?\"<>|";
constexpr wchar_t kReplacement = L'_';
constexpr std::size_t kMaxNamePart = 64;
constexpr int kMaxNameAttempts = 1000;
// An entry holds a few kilobytes; anything far larger is not one of ours.
constexpr std::size_t kMaxEntryBytes = 1u << 20;

const wchar_t* const kKindTexts[] = {L"odczytany", L"zaprogramowany", L"nieudany"};

bool isSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Header values stay on their line and never hold the start marker; U+FFFF and a lone half of a
// pair would make the file unreadable.
std::wstring headerValue(const std::wstring& text)
{
    std::wstring value = text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const wchar_t c = value[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < value.size() && value[i + 1] >= 0xDC00 &&
                          value[i + 1] <= 0xDFFF;
        if (pair)
            ++i;
        else if (c < 0x20 || c == 0x7F || c == 0xFFFF || isSurrogate(c))
            value[i] = kReplacement;
    }
    return value;
}

void headerLine(std::wstring& text, const wchar_t* key, const std::wstring& value)
{
    text += key;
    text += kKeyEnd;
    text += headerValue(value);
    text += kLineEnd;
}

// The header's "Key: value" lines; false when the times or the kind are missing.
bool parseHeader(const std::wstring& text, ArchiveEntryHeader& header)
{
    std::optional<SYSTEMTIME> utc, local;
    std::optional<ArchiveKind> kind;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t end = text.find(L'\n', from);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(from, end - from);
        from = end + 1;
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        const std::size_t colon = line.find(kKeyEnd);
        if (colon == std::wstring::npos)
            continue;
        const std::wstring key = line.substr(0, colon);
        const std::wstring value = line.substr(colon + std::wcslen(kKeyEnd));
        if (key == kUtcKey)
            utc = archiveTimeFromText(value);
        else if (key == kLocalKey)
            local = archiveTimeFromText(value);
        else if (key == kKindKey)
            kind = archiveKindFromText(value);
        else if (key == kInterfaceKey)
            header.interfaceSerial = value;
        else if (key == kModuleKey)
            header.moduleText = value;
        else if (key == kPreviousKey)
            header.previous = value;
    }
    if (!utc || !local || !kind)
        return false;
    header.utc = *utc;
    header.local = *local;
    header.kind = *kind;
    return true;
}

} // namespace

const wchar_t* archiveKindText(ArchiveKind kind) { return kKindTexts[static_cast<int>(kind)]; }

std::optional<ArchiveKind> archiveKindFromText(const std::wstring& text)
{
    for (std::size_t kind = 0; kind < std::size(kKindTexts); ++kind)
        if (text == kKindTexts[kind])
            return static_cast<ArchiveKind>(kind);
    return std::nullopt;
}

std::wstring archiveTimeText(const SYSTEMTIME& time)
{
    wchar_t text[32] = {};
    std::swprintf(text, sizeof text / sizeof text[0], L"%04u-%02u-%02u %02u:%02u:%02u", unsigned(time.wYear),
                  unsigned(time.wMonth), unsigned(time.wDay), unsigned(time.wHour), unsigned(time.wMinute),
                  unsigned(time.wSecond));
    return text;
}

std::optional<SYSTEMTIME> archiveTimeFromText(const std::wstring& text)
{
    // "YYYY-MM-DD HH:MM:SS": digits but at the separators' places.
    constexpr wchar_t kForm[] = L"0000-00-00 00:00:00";
    if (text.size() != std::size(kForm) - 1)
        return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (kForm[i] == L'0' ? (text[i] < L'0' || text[i] > L'9') : text[i] != kForm[i])
            return std::nullopt;
    const auto at = [&text](std::size_t from, std::size_t digits) {
        WORD value = 0;
        for (std::size_t i = from; i < from + digits; ++i)
            value = static_cast<WORD>(value * 10 + (text[i] - L'0'));
        return value;
    };
    SYSTEMTIME time{};
    time.wYear = at(0, 4);
    time.wMonth = at(5, 2);
    time.wDay = at(8, 2);
    time.wHour = at(11, 2);
    time.wMinute = at(14, 2);
    time.wSecond = at(17, 2);
    FILETIME check{};
    if (!SystemTimeToFileTime(&time, &check))
        return std::nullopt;  // no such day or hour
    return time;
}

std::wstring fileNamePart(const std::wstring& text)
{
    std::wstring name = text.substr(0, kMaxNamePart);
    if (!name.empty() && name.size() == kMaxNamePart && name.back() >= 0xD800 && name.back() <= 0xDBFF)
        name.pop_back();  // not half a pair
    for (wchar_t& c : name)
        if (c < 0x20 || c == 0x7F || std::wcschr(kNotInNames, c))
            c = kReplacement;
    for (std::size_t i = name.size(); i > 0 && (name[i - 1] == L'.' || name[i - 1] == L' '); --i)
        name[i - 1] = kReplacement;
    return name;
}

std::wstring entryFileName(const ArchiveEntryHeader& header, int attempt)
{
    const SYSTEMTIME& t = header.local;
    wchar_t time[32] = {};
    std::swprintf(time, sizeof time / sizeof time[0], L"%04u-%02u-%02u %02u.%02u.%02u", unsigned(t.wYear),
                  unsigned(t.wMonth), unsigned(t.wDay), unsigned(t.wHour), unsigned(t.wMinute), unsigned(t.wSecond));
    std::wstring name = time;
    name += L' ';
    name += archiveKindText(header.kind);
    const std::wstring module = fileNamePart(header.moduleText);
    if (!module.empty())
        name += L' ' + module;
    if (attempt > 1)
        name += L" (" + std::to_wstring(attempt) + L')';
    return name + L".dat";
}

std::optional<std::string> archiveEntryBytes(const ArchiveEntryHeader& header, const std::wstring& records)
{
    if (records.empty() || records[0] != kStartMarker)
        return std::nullopt;
    std::wstring text(1, kSignature);
    headerLine(text, kUtcKey, archiveTimeText(header.utc));
    headerLine(text, kLocalKey, archiveTimeText(header.local));
    headerLine(text, kKindKey, archiveKindText(header.kind));
    headerLine(text, kInterfaceKey, header.interfaceSerial);
    headerLine(text, kModuleKey, header.moduleText);
    if (!header.previous.empty())
        headerLine(text, kPreviousKey, header.previous);
    text += records;
    std::string bytes;
    if (!encodeUtf8(text, bytes))
        return std::nullopt;
    return bytes;
}

std::optional<std::wstring> writeArchiveEntry(const std::wstring& archive, const ArchiveEntryHeader& header,
                                              const std::wstring& records)
{
    const auto bytes = archiveEntryBytes(header, records);
    if (archive.empty() || !bytes)
        return std::nullopt;
    const std::wstring month = monthFolderName(header.local);
    const std::wstring folder = archive + L'\\' + month;
    if (!makeFolders(folder))
        return std::nullopt;
    const auto name = writeNewFile(
        folder, *bytes, [&header](int attempt) { return entryFileName(header, attempt); }, kMaxNameAttempts);
    if (!name)
        return std::nullopt;
    return month + L'\\' + *name;
}

ArchiveEntryFile parseArchiveEntry(const std::string& bytes)
{
    ArchiveEntryFile entry;
    const std::size_t signature = sizeof kSignatureBytes - 1;
    if (bytes.compare(0, signature, kSignatureBytes) != 0)
        return entry;
    const auto text = decodeUtf8(bytes.substr(signature));
    if (!text)
        return entry;
    const std::size_t start = text->find(kStartMarker);
    if (start == std::wstring::npos)
        return entry;
    entry.records = text->substr(start);
    entry.damaged = !parseHeader(text->substr(0, start), entry.header);
    return entry;
}

ArchiveEntryFile readArchiveEntry(const std::wstring& path)
{
    const auto bytes = readFileBytesUpTo(path, kMaxEntryBytes);
    return bytes ? parseArchiveEntry(*bytes) : ArchiveEntryFile();
}

} // namespace kes
