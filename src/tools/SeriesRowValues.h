#pragma once
// A table row's own values as the series log keeps them in one cell: "Kolumna=wartość|…" in the
// table's column order, empty cells left out. The log is the record of which rows went into a
// module: a row is used when an "OK" line holds the same values, whatever the order of its columns.
// A "|", "=" or "\" inside a name or value is written after a "\".
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kes {

using RowCells = std::vector<std::pair<std::wstring, std::wstring>>;  // (column, value)

// The values of a row, keyed by column; two rows are the same row when these are equal.
using RowValues = std::map<std::wstring, std::wstring>;

std::wstring rowValuesText(const RowCells& cells);

// None for a cell that is not in that form (a log line written before rows were recorded, or
// edited by hand), and for a column named twice.
std::optional<RowValues> parseRowValues(const std::wstring& text);

RowValues rowValuesOf(const RowCells& cells);

} // namespace kes
