#pragma once
// The log of a series: a CSV file a spreadsheet opens (UTF-8 with its signature, ";" between
// cells, CR LF), one line an attempt. Each line is written and flushed on its own with the file
// opened for it alone, so whatever happens later, the lines before stay.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace kes {

constexpr wchar_t seriesLogHeader[] = L"Czas;Interfejs;Moduł;Operator;Sygnał;Wiersz;Wynik;Zmienione ustawienia";

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
};

constexpr wchar_t attemptSucceeded[] = L"OK";

// The cells in the header's order, as the log and the dialog's list show them.
std::vector<std::wstring> attemptCells(const SeriesAttempt& attempt);

// Opens the log for this one write: a new or empty file gets the signature and the header, a
// file whose last line has no line break gets one, then the line (none: only that much) goes at
// the end, flushed to the disk. Cells holding ";", a quote, CR or LF are quoted, their quotes
// doubled. False when any of it could not be written.
bool appendToSeriesLog(const std::wstring& path, const std::vector<std::wstring>* line);

// The name the Save dialog proposes: "seria-2026-12-09.csv" for the day given.
std::wstring proposedLogName(const SYSTEMTIME& day);

} // namespace kes
