#pragma once
// A list view in report view over rows kept outside it: the control asks for each cell as it
// draws it (LVS_OWNERDATA), so ten thousand rows show as quickly as ten. Whole rows are selected;
// Ctrl+A selects every row, Ctrl+C copies the selected rows (all of them when none is) as the
// "Kopiuj" buttons copy a table. The columns share the list's width by percentages, again
// whenever the dialog is resized.
//
// The template's list view needs LVS_REPORT | LVS_OWNERDATA; the dialog adds the list as a part.
#include "ui/Dialog.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kes {

struct ListColumn {
    const wchar_t* caption;
    int widthPercent;  // of the list's width without its scroll bar
};

using ListCells = std::vector<std::wstring>;

// The heading line and the rows, cells separated by tabs, every line ending in CR LF.
std::wstring tabSeparatedText(const ListCells& heading, const std::vector<ListCells>& rows);

class ReportList final : public DialogPart {
public:
    // The text of a cell of a row below the count.
    using CellSource = std::function<std::wstring(std::size_t row, std::size_t column)>;

    // Takes the list view over and gives it its columns.
    void attach(HWND list, std::vector<ListColumn> columns);
    HWND handle() const { return list_; }

    // Rows the list keeps itself, a cell a column.
    void setRows(std::vector<ListCells> rows);
    // Rows kept by the caller: how many, and where each cell's text comes from.
    void setSource(std::size_t count, CellSource source);
    // The caller's rows changed: their count now; every shown row is drawn again.
    void setCount(std::size_t count);
    std::size_t count() const { return count_; }
    // Scrolls the row into view.
    void showRow(std::size_t row);
    // A column heading was clicked (for sorting); with none, clicks do nothing.
    void onColumnClick(std::function<void(std::size_t column)> clicked) { columnClicked_ = std::move(clicked); }

    std::vector<std::size_t> selectedRows() const;
    void selectAll();
    // What Ctrl+C copies: the heading line and the selected rows, or every row when none is.
    std::wstring copyText() const;
    // Shares the list's present width among the columns.
    void fitColumns();

    bool notify(const NMHDR& header, LRESULT& result) override;
    void dialogResized() override { fitColumns(); }

private:
    std::wstring cell(std::size_t row, std::size_t column) const;
    int findRow(const NMLVFINDITEMW& find) const;
    void keyDown(WORD key);

    HWND list_ = nullptr;
    std::vector<ListColumn> columns_;
    std::vector<ListCells> rows_;
    std::size_t count_ = 0;
    CellSource source_;
    std::function<void(std::size_t column)> columnClicked_;
};

} // namespace kes
