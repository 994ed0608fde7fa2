#include "tools/SeriesLog.h"

#include "storage/Utf8Codecvt.h"
#include "support/ScopedWin.h"

namespace kes {
namespace {

constexpr wchar_t signature = L'\xFEFF';  // EF BB BF in UTF-8
constexpr wchar_t separator = L';';
constexpr wchar_t lineEnd[] = L"\r\n";

std::wstring cellText(const std::wstring& cell)
{
    if (cell.find_first_of(L";\"\r\n") == std::wstring::npos)
        return cell;
    std::wstring quoted = L"\"";
    for (wchar_t c : cell) {
        if (c == L'"')
            quoted += c;
        quoted += c;
    }
    return quoted + L"\"";
}

// Cells holding ";", a quote, CR or LF quoted, quotes doubled; CR LF at the end.
std::wstring logLine(const std::vector<std::wstring>& cells)
{
    std::wstring line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += separator;
        line += cellText(cells[i]);
    }
    return line + lineEnd;
}

std::wstring twoDigits(unsigned value)
{
    return std::wstring(value < 10 ? L"0" : L"") + std::to_wstring(value);
}

bool endsWithLineBreak(HANDLE file, LONGLONG size)
{
    LARGE_INTEGER last{};
    last.QuadPart = size - 1;
    char byte = 0;
    DWORD read = 0;
    return SetFilePointerEx(file, last, nullptr, FILE_BEGIN) && ReadFile(file, &byte, 1, &read, nullptr) &&
           read == 1 && byte == '\n';
}

bool writeAll(HANDLE file, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

std::vector<std::wstring> attemptCells(const SeriesAttempt& a)
{
    const SYSTEMTIME& t = a.at;
    const std::wstring time = std::to_wstring(t.wYear) + L'-' + twoDigits(t.wMonth) + L'-' + twoDigits(t.wDay) + L' ' +
                              twoDigits(t.wHour) + L':' + twoDigits(t.wMinute) + L':' + twoDigits(t.wSecond);
    return {time,
            a.interfaceSerial,
            a.module,
            a.operatorName,
            a.signal,
            a.row ? std::to_wstring(a.row) : std::wstring(),
            a.result,
            a.changed ? std::to_wstring(*a.changed) : std::wstring()};
}


bool appendToSeriesLog(const std::wstring& path, const std::vector<std::wstring>* line)
{
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return false;
    std::wstring text;
    if (size.QuadPart == 0)
        text = std::wstring(1, signature) + seriesLogHeader + lineEnd;
    else if (!endsWithLineBreak(file.get(), size.QuadPart))
        text = lineEnd;  // a line cut short, or written by hand: ours starts on a line of its own
    if (line)
        text += logLine(*line);
    std::string bytes;
    if (!encodeUtf8(text, bytes))
        return false;
    const LARGE_INTEGER none{};
    return SetFilePointerEx(file.get(), none, nullptr, FILE_END) && writeAll(file.get(), bytes) &&
           FlushFileBuffers(file.get()) && file.close();
}

std::wstring proposedLogName(const SYSTEMTIME& day)
{
    return L"seria-" + std::to_wstring(day.wYear) + L'-' + twoDigits(day.wMonth) + L'-' + twoDigits(day.wDay) +
           L".csv";
}

} // namespace kes
