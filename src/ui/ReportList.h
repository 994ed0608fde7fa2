#pragma once
// A list view in report view, as the tool windows show their tables: whole rows selected,
// columns sharing the width by percentages.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace kes {

struct ListColumn {
    const wchar_t* caption;
    int widthPercent;  // of the list's width without its scroll bar
};

void addListColumns(HWND list, std::initializer_list<ListColumn> columns);

// Appends a row of cells, the first one the item's own.
void appendListRow(HWND list, const std::vector<std::wstring>& cells);

} // namespace kes
