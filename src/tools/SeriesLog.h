#pragma once
// The log of a series: a CSV file a spreadsheet opens (UTF-8 with its signature, ";" between
// cells, CR LF), one line an attempt. Lines are written and flushed with the file opened for them
// alone, so whatever happens later, the lines before stay. The log is also the record of the rows
// used: each line carries its row's own values, and an "OK" line uses that row up for good.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace kes {

// Logs written before the last four columns existed are appended to as they are.
constexpr wchar_t seriesLogHeader[] =
    L"Czas;Interfejs;Moduł;Operator;Sygnał;Wiersz;Wynik;Zmienione ustawienia;Tabela;Szablon;Wartości wiersza;Kopia";

// One attempt as the log holds it.
struct SeriesAttempt {
    SYSTEMTIME at{};            // local time the attempt ended
    std::wstring interfaceSerial;
    std::wstring module;        // the module's text, as the status line shows it
    std::wstring operatorName;
    std::wstring signal;        // as the status column shows it
    std::size_t row = 0;        // 1 = the table's first row; 0 without a table
    std::wstring result;        // "OK", or the message the program would have shown
    std::optional<int> changed; // settings the module held otherwise than programmed; none on failure
    std::wstring table;         // the table's file name; empty without a table
    std::wstring templateName;  // where the template came from, as the dialog names it
    std::wstring rowValues;     // the row's own values (SeriesRowValues.h); empty without a table
    int copy = 0;               // the number of the copies kept of the module; 0: none
};

constexpr wchar_t attemptSucceeded[] = L"OK";

// The cells in the header's order, as the log and the dialog's list show them.
std::vector<std::wstring> attemptCells(const SeriesAttempt& attempt);

using LogLine = std::vector<std::wstring>;

// Opens the log for this one write: a new or empty file gets the signature and the header, a
// file whose last line has no line break gets one, then the lines (none: only that much) go at
// the end, flushed to the disk. Cells holding ";", a quote, CR or LF are quoted, their quotes
// doubled. All or nothing: a write that fails part-way is cut back to the file as it was. False
// when the lines could not be written.
bool appendToSeriesLog(const std::wstring& path, const std::vector<LogLine>& lines);

// The log's lines on their way to its file. A line that cannot be written now (the log open in a
// spreadsheet that locks it, a full disk) waits behind any before it; each try writes all that
// wait, in order, or none. Nothing waits from one program run to the next.
class SeriesLogWriter {
public:
    // Lines still waiting go to the new file.
    void setPath(const std::wstring& path) { path_ = path; }
    const std::wstring& path() const { return path_; }
    // The line, after those waiting; false when they all wait.
    bool add(LogLine line);
    // True when nothing waits any more.
    bool retry();
    std::size_t waiting() const { return waiting_.size(); }

private:
    std::wstring path_;
    std::vector<LogLine> waiting_;
};

// The row values of the log's "OK" lines, in file order: the rows already programmed. A log that
// is not there yet holds none; `readable` is false only when one is there and cannot be read.
struct ProgrammedRows {
    bool readable = true;
    std::vector<std::wstring> rowValues;
};
ProgrammedRows programmedRowsInLog(const std::wstring& path);

// The name the Save dialog proposes: "seria-2026-12-09.csv" for the day given.
std::wstring proposedLogName(const SYSTEMTIME& day);

} // namespace kes
