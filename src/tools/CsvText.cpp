#include "tools/CsvText.h"

#include <windows.h>

#include <array>

namespace kes {
namespace {

constexpr UINT centralEuropeanCodePage = 1250;
constexpr wchar_t quote = L'"';

bool startsWith(const std::string& bytes, const char* prefix, std::size_t length)
{
    return bytes.size() >= length && bytes.compare(0, length, prefix, length) == 0;
}

// Empty input gives empty text; false when the bytes are not valid in the code page (flags).
bool toWide(UINT codePage, DWORD flags, const char* bytes, std::size_t size, std::wstring& text)
{
    text.clear();
    if (size == 0)
        return true;
    const int length = MultiByteToWideChar(codePage, flags, bytes, static_cast<int>(size), nullptr, 0);
    if (length <= 0)
        return false;
    text.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(codePage, flags, bytes, static_cast<int>(size), &text[0], length) == length;
}

bool isLineEnd(wchar_t c) { return c == L'\r' || c == L'\n'; }

} // namespace

bool decodeSpreadsheetText(const std::string& bytes, std::wstring& text)
{
    constexpr char utf16Signature[] = "\xFF\xFE";
    constexpr char utf8Signature[] = "\xEF\xBB\xBF";
    if (startsWith(bytes, utf16Signature, 2)) {
        if (bytes.size() % 2 != 0)
            return false;
        text.clear();
        for (std::size_t i = 2; i < bytes.size(); i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
        return true;
    }
    if (startsWith(bytes, utf8Signature, 3))
        return toWide(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + 3, bytes.size() - 3, text);
    if (toWide(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), bytes.size(), text))
        return true;
    return toWide(centralEuropeanCodePage, 0, bytes.data(), bytes.size(), text);
}

wchar_t cellSeparator(const std::wstring& text)
{
    constexpr std::array<wchar_t, 3> candidates{L';', L'\t', L','};  // ties go to the first
    std::array<std::size_t, 3> counts{};
    bool quoted = false;
    for (wchar_t c : text) {
        if (c == quote)
            quoted = !quoted;
        else if (!quoted && isLineEnd(c))
            break;
        else if (!quoted)
            for (std::size_t i = 0; i < candidates.size(); ++i)
                if (c == candidates[i])
                    ++counts[i];
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < candidates.size(); ++i)
        if (counts[i] > counts[best])
            best = i;
    return candidates[best];
}

CsvRecords splitCsv(const std::wstring& text, wchar_t separator)
{
    CsvRecords out;
    std::vector<std::wstring> record;
    std::wstring cell;
    bool cellStarted = false;  // anything of the current record seen
    std::size_t i = 0;
    const std::size_t n = text.size();
    const auto endRecord = [&] {
        record.push_back(std::move(cell));
        cell.clear();
        out.records.push_back(std::move(record));
        record.clear();
        cellStarted = false;
    };
    while (i < n) {
        const wchar_t c = text[i];
        if (c == quote && cell.empty()) {
            // A quoted stretch: doubled quotes stand for one, the closing quote ends it.
            ++i;
            bool closed = false;
            while (i < n) {
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        cell += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                cell += text[i++];
            }
            cellStarted = true;
            if (!closed) {
                out.unterminatedQuote = true;
                endRecord();
                return out;
            }
            continue;
        }
        if (c == separator) {
            record.push_back(std::move(cell));
            cell.clear();
            cellStarted = true;
            ++i;
        } else if (isLineEnd(c)) {
            endRecord();
            i += (c == L'\r' && i + 1 < n && text[i + 1] == L'\n') ? 2 : 1;
        } else {
            cell += c;
            cellStarted = true;
            ++i;
        }
    }
    if (cellStarted)
        endRecord();
    return out;
}

} // namespace kes
