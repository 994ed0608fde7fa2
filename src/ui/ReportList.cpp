#include "ui/ReportList.h"

#include "ui/Clipboard.h"

#include <commctrl.h>

namespace kes {
namespace {

constexpr wchar_t endOfLine[] = L"\r\n";

bool controlDown() { return GetKeyState(VK_CONTROL) < 0; }

bool startsWith(const std::wstring& text, const wchar_t* start, bool whole)
{
    const int length = lstrlenW(start);
    if (whole ? static_cast<int>(text.size()) != length : static_cast<int>(text.size()) < length)
        return false;
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), length, start, length) == CSTR_EQUAL;
}

} // namespace

std::wstring tabSeparatedText(const ListCells& heading, const std::vector<ListCells>& rows)
{
    std::wstring text;
    const auto line = [&text](const ListCells& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c)
            text += (c ? L"\t" : L"") + cells[c];
        text += endOfLine;
    };
    line(heading);
    for (const ListCells& row : rows)
        line(row);
    return text;
}

void ReportList::attach(HWND list, std::vector<ListColumn> columns)
{
    list_ = list;
    columns_ = std::move(columns);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<wchar_t*>(columns_[i].caption);
        SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    fitColumns();
}

void ReportList::setRows(std::vector<ListCells> rows)
{
    rows_ = std::move(rows);
    source_ = nullptr;
    setCount(rows_.size());
}

void ReportList::setSource(std::size_t count, CellSource source)
{
    rows_.clear();
    source_ = std::move(source);
    setCount(count);
}

void ReportList::setCount(std::size_t count)
{
    count_ = count;
    SendMessageW(list_, LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL);
    InvalidateRect(list_, nullptr, FALSE);
}

void ReportList::showRow(std::size_t row)
{
    SendMessageW(list_, LVM_ENSUREVISIBLE, row, FALSE);
}

std::wstring ReportList::cell(std::size_t row, std::size_t column) const
{
    if (source_)
        return source_(row, column);
    const ListCells& cells = rows_[row];
    return column < cells.size() ? cells[column] : std::wstring();
}

std::vector<std::size_t> ReportList::selectedRows() const
{
    std::vector<std::size_t> rows;
    for (LRESULT at = -1; (at = SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(at), LVNI_SELECTED)) >= 0;)
        rows.push_back(static_cast<std::size_t>(at));
    return rows;
}

void ReportList::selectAll()
{
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

std::wstring ReportList::copyText() const
{
    std::vector<std::size_t> chosen = selectedRows();
    if (chosen.empty())
        for (std::size_t row = 0; row < count_; ++row)
            chosen.push_back(row);
    ListCells heading;
    for (const ListColumn& c : columns_)
        heading.push_back(c.caption);
    std::vector<ListCells> rows;
    rows.reserve(chosen.size());
    for (std::size_t row : chosen) {
        ListCells cells;
        for (std::size_t column = 0; column < columns_.size(); ++column)
            cells.push_back(cell(row, column));
        rows.push_back(std::move(cells));
    }
    return tabSeparatedText(heading, rows);
}

void ReportList::fitColumns()
{
    RECT client{};
    GetClientRect(list_, &client);
    // Room for the scroll bar is kept while it is not there, so rows that bring it push nothing out.
    const bool scrollBar = (GetWindowLongPtrW(list_, GWL_STYLE) & WS_VSCROLL) != 0;
    const int width = client.right - client.left - (scrollBar ? 0 : GetSystemMetrics(SM_CXVSCROLL));
    for (std::size_t i = 0; i < columns_.size(); ++i)
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(width * columns_[i].widthPercent / 100, 0));
}

// Type-ahead in the list: the next row from the start whose first cell begins with what was typed.
int ReportList::findRow(const NMLVFINDITEMW& find) const
{
    if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz || count_ == 0)
        return -1;
    const bool whole = !(find.lvfi.flags & LVFI_PARTIAL);
    const std::size_t start = find.iStart >= 0 && static_cast<std::size_t>(find.iStart) < count_
                                  ? static_cast<std::size_t>(find.iStart)
                                  : 0;
    const std::size_t span = (find.lvfi.flags & LVFI_WRAP) ? count_ : count_ - start;
    for (std::size_t n = 0; n < span; ++n) {
        const std::size_t row = (start + n) % count_;
        if (startsWith(cell(row, 0), find.lvfi.psz, whole))
            return static_cast<int>(row);
    }
    return -1;
}

void ReportList::keyDown(WORD key)
{
    if (!controlDown())
        return;
    if (key == 'A')
        selectAll();
    else if (key == 'C' || key == VK_INSERT)
        copyTextToClipboard(GetParent(list_), copyText());
}

bool ReportList::notify(const NMHDR& header, LRESULT& result)
{
    if (header.hwndFrom != list_ || !list_)
        return false;
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iItem >= 0 &&
            static_cast<std::size_t>(item.iItem) < count_)
            lstrcpynW(item.pszText,
                      cell(static_cast<std::size_t>(item.iItem), static_cast<std::size_t>(item.iSubItem)).c_str(),
                      item.cchTextMax);
        return true;
    }
    case LVN_ODFINDITEMW:
        result = findRow(reinterpret_cast<const NMLVFINDITEMW&>(header));
        return true;
    case LVN_KEYDOWN:
        keyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
        return true;
    case LVN_COLUMNCLICK:
        if (columnClicked_)
            columnClicked_(static_cast<std::size_t>(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem));
        return true;
    default:
        return false;
    }
}

} // namespace kes
