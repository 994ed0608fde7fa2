#include "storage/ArchiveIndex.h"

#include "storage/AtomicFile.h"
#include "storage/FileBytes.h"
#include "storage/Utf8Codecvt.h"
#include "storage/Utf8Text.h"

#include <cwchar>
#include <vector>

namespace kes {
namespace {

constexpr wchar_t kIndexName[] = L"\\indeks.txt";
constexpr wchar_t kFirstLine[] = L"Quellmo PC: indeks archiwum modułów, wersja 1";
constexpr wchar_t kFieldEnd = L'\t';
constexpr wchar_t kLineEnd = L'\n';
constexpr wchar_t kEscape = L'\\';
constexpr std::size_t kMaxIndexBytes = 256u << 20;

enum Column {
    kPath, kSize, kLastWrite, kDamaged, kUtc, kLocal, kKind, kInterface, kModule, kPrevious,
    kUser1Phone, kIn1Name, kSearchText, kSearchPhones, kColumns
};

// A field's tabs, line ends and escapes are written as "\t", "\n", "\r" and "\\".
std::wstring escaped(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'\t': out += L"\\t"; break;
        case L'\n': out += L"\\n"; break;
        case L'\r': out += L"\\r"; break;
        case kEscape: out += L"\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

// One line's fields with their escapes undone; false when the line is not one of ours.
bool splitLine(const wchar_t* at, const wchar_t* end, std::wstring (&fields)[kColumns])
{
    int column = 0;
    fields[0].clear();
    for (; at < end; ++at) {
        wchar_t c = *at;
        if (c == kFieldEnd) {
            if (++column == kColumns)
                return false;
            fields[column].clear();
            continue;
        }
        if (c == kEscape) {
            if (++at == end)
                return false;
            switch (*at) {
            case L't': c = L'\t'; break;
            case L'n': c = L'\n'; break;
            case L'r': c = L'\r'; break;
            case kEscape: break;
            default: return false;
            }
        }
        fields[column] += c;
    }
    return column == kColumns - 1;
}

std::optional<std::uint64_t> number(const std::wstring& text)
{
    if (text.empty() || text.size() > 20)
        return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    return value;
}

std::optional<ArchiveEntrySummary> parseLine(std::wstring (&fields)[kColumns])
{
    ArchiveEntrySummary entry;
    const auto size = number(fields[kSize]);
    const auto lastWrite = number(fields[kLastWrite]);
    const auto utc = archiveTimeFromText(fields[kUtc]);
    const auto local = archiveTimeFromText(fields[kLocal]);
    const auto kind = archiveKindFromText(fields[kKind]);
    if (fields[kPath].empty() || !size || !lastWrite || !utc || !local || !kind ||
        (fields[kDamaged] != L"0" && fields[kDamaged] != L"1"))
        return std::nullopt;
    entry.relativePath = std::move(fields[kPath]);
    entry.size = *size;
    entry.lastWrite = *lastWrite;
    entry.damaged = fields[kDamaged] == L"1";
    entry.header.utc = *utc;
    entry.header.local = *local;
    entry.header.kind = *kind;
    entry.header.interfaceSerial = std::move(fields[kInterface]);
    entry.header.moduleText = std::move(fields[kModule]);
    entry.header.previous = std::move(fields[kPrevious]);
    entry.user1Phone = std::move(fields[kUser1Phone]);
    entry.in1Name = std::move(fields[kIn1Name]);
    entry.search.text = std::move(fields[kSearchText]);
    entry.search.phones = std::move(fields[kSearchPhones]);
    return entry;
}

void appendLine(std::wstring& text, const ArchiveEntrySummary& e)
{
    const std::wstring fields[kColumns] = {
        e.relativePath, std::to_wstring(e.size), std::to_wstring(e.lastWrite), e.damaged ? L"1" : L"0",
        archiveTimeText(e.header.utc), archiveTimeText(e.header.local), archiveKindText(e.header.kind),
        e.header.interfaceSerial, e.header.moduleText, e.header.previous, e.user1Phone, e.in1Name,
        e.search.text, e.search.phones};
    for (int i = 0; i < kColumns; ++i) {
        if (i > 0)
            text += kFieldEnd;
        text += escaped(fields[i]);
    }
    text += kLineEnd;
}

} // namespace

std::wstring archiveIndexPath(const std::wstring& archive) { return archive + kIndexName; }

std::optional<ArchiveIndex> readArchiveIndex(const std::wstring& archive)
{
    const auto bytes = readFileBytesUpTo(archiveIndexPath(archive), kMaxIndexBytes);
    const auto text = bytes ? decodeUtf8(*bytes) : std::nullopt;
    if (!text)
        return std::nullopt;
    std::size_t from = text->find(kLineEnd);
    if (from == std::wstring::npos || text->compare(0, from, kFirstLine) != 0)
        return std::nullopt;
    ArchiveIndex index;
    std::wstring fields[kColumns];
    for (++from; from < text->size();) {
        const std::size_t end = text->find(kLineEnd, from);
        if (end == std::wstring::npos || !splitLine(text->data() + from, text->data() + end, fields))
            return std::nullopt;  // cut short or damaged
        auto entry = parseLine(fields);
        if (!entry)
            return std::nullopt;
        const std::wstring path = entry->relativePath;
        index.emplace_hint(index.end(), path, std::move(*entry));
        from = end + 1;
    }
    return index;
}

bool writeArchiveIndex(const std::wstring& archive, const ArchiveIndex& index)
{
    std::wstring text = kFirstLine;
    text += kLineEnd;
    for (const auto& entry : index)
        appendLine(text, entry.second);
    std::string bytes;
    return encodeUtf8(text, bytes) && replaceFileContents(archiveIndexPath(archive), bytes);
}

} // namespace kes
