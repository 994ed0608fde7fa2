#pragma once
// The table of a series: what a spreadsheet saves as CSV, one module a row, its columns named by
// the settings' labels. An empty cell keeps the template's value; a row of empty cells is no
// module but keeps its number. Reading checks every cell against what its control can hold and
// what a spreadsheet may have done to it; preparing puts each row on the template's value and
// validates it there.
#include "tools/LabelledSettings.h"
#include "tools/SeriesRowValues.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kes {

// One filled cell, in the form its setting takes.
struct TableValue {
    const LabelledSetting* setting = nullptr;
    std::wstring text;  // Text, Number, Volts
    bool checked = false;  // Check
    int item = 0;          // List
};

struct SeriesTable {
    std::vector<std::vector<TableValue>> rows;  // rows[0] is the row after the header
};

struct TableReading {
    std::optional<SeriesTable> table;    // none when any fault was found
    std::vector<std::wstring> faults;    // "Kolumna ...", "Wiersz N, kolumna ...: ..." in file order
    std::vector<std::wstring> warnings;  // cells a spreadsheet has probably changed; the table stands
};

// Bytes of a file: UTF-8 with or without its signature, else Windows-1250 (UTF-16 with its
// signature too, as a spreadsheet's "Unicode text"). The separator (";", tab or ",") is the one
// the header row uses most; cells may be quoted as spreadsheets quote them.
TableReading readSeriesTable(const std::string& bytes);

// The file at the path; a file that cannot be read, even part of it, is one fault.
TableReading readSeriesTableFile(const std::wstring& path);

// A row without a value: no module.
bool isBlankRow(const SeriesTable& table, std::size_t row);

// The row's own values by column label, in the table's column order, as the log keeps them.
RowCells rowCells(const SeriesTable& table, std::size_t row);

// Puts one row's values onto the settings, then brings the availability of the users' rights up
// to date as clicks would.
void applyTableRow(const SeriesTable& table, std::size_t row, Settings& settings);

// Every row on the template, validated as "Programuj" validates: each row's settings with
// validation's rewrites done, or the faults, "Wiersz N: <message>". Without a table: the template
// alone. A template that validation refuses on its own says nothing of the rows: no row is tried.
struct PreparedRows {
    std::vector<Settings> rows;
    std::vector<std::wstring> faults;
    bool templateRefused = false;
};
PreparedRows prepareRows(const SeriesTable* table, const Settings& templateSettings);

// The faults as one box's text: a line each, the first `shownLines` of them and how many more.
std::wstring tableFaultText(const std::vector<std::wstring>& faults);

// The number and the word that goes with it: "1 wiersz", "3 wiersze", "12 wierszy".
std::wstring countedText(std::size_t n, const wchar_t* one, const wchar_t* few, const wchar_t* many);
std::wstring rowCountText(std::size_t rows);

} // namespace kes
