#include "tools/SeriesLog.h"

#include "storage/AtomicFile.h"
#include "storage/Utf8Codecvt.h"
#include "support/ScopedWin.h"
#include "tools/CsvText.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <utility>

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

// A line cut short by a failed write would join the next one: the file goes back to its old end.
bool writeOrCutBack(HANDLE file, LONGLONG oldSize, const std::string& bytes)
{
    if (bytes.size() <= MAXDWORD && writeFileBytes(file, bytes.data(), static_cast<DWORD>(bytes.size())) &&
        FlushFileBuffers(file))
        return true;
    LARGE_INTEGER end{};
    end.QuadPart = oldSize;
    if (SetFilePointerEx(file, end, nullptr, FILE_BEGIN))
        SetEndOfFile(file);
    return false;
}

// The columns this program writes, by position; a log's own header may be older and shorter.
constexpr std::size_t resultColumn = 6;
constexpr std::size_t rowValuesColumn = 10;

std::wstring copyNumber(int copy)
{
    wchar_t number[16] = {};
    std::swprintf(number, sizeof(number) / sizeof(number[0]), L"%03d", copy);
    return number;
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
            a.changed ? std::to_wstring(*a.changed) : std::wstring(),
            a.table,
            a.templateName,
            a.rowValues,
            a.copy ? copyNumber(a.copy) : std::wstring()};
}


bool appendToSeriesLog(const std::wstring& path, const std::vector<LogLine>& lines)
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
    for (const LogLine& line : lines)
        text += logLine(line);
    std::string bytes;
    if (!encodeUtf8(text, bytes))
        return false;
    const LARGE_INTEGER none{};
    return SetFilePointerEx(file.get(), none, nullptr, FILE_END) && writeOrCutBack(file.get(), size.QuadPart, bytes) &&
           file.close();
}

bool SeriesLogWriter::add(LogLine line)
{
    waiting_.push_back(std::move(line));
    return retry();
}

bool SeriesLogWriter::retry()
{
    if (!waiting_.empty() && appendToSeriesLog(path_, waiting_))
        waiting_.clear();
    return waiting_.empty();
}

ProgrammedRows programmedRowsInLog(const std::wstring& path)
{
    ProgrammedRows out;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
        (GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND))
        return out;
    std::ifstream in(path.c_str(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::wstring text;
    if (!in.is_open() || in.bad() || !decodeSpreadsheetText(bytes, text)) {
        out.readable = false;
        return out;
    }
    // A log saved again from a spreadsheet may have another separator.
    const CsvRecords csv = splitCsv(text, cellSeparator(text));
    for (std::size_t i = 1; i < csv.records.size(); ++i) {
        const std::vector<std::wstring>& cells = csv.records[i];
        if (cells.size() > rowValuesColumn && cells[resultColumn] == attemptSucceeded && !cells[rowValuesColumn].empty())
            out.rowValues.push_back(cells[rowValuesColumn]);
    }
    return out;
}

std::wstring proposedLogName(const SYSTEMTIME& day)
{
    return L"seria-" + std::to_wstring(day.wYear) + L'-' + twoDigits(day.wMonth) + L'-' + twoDigits(day.wDay) +
           L".csv";
}

} // namespace kes
