#include "ui/ComparisonDialog.h"

#include "ui/Clipboard.h"

#include "ui/ExceptionFilter.h"
#include "ui/ResourceIds.h"
#include "ui/Shell.h"

#include <commctrl.h>


namespace kes {
namespace {

struct Column {
    const wchar_t* caption;
    int widthPercent;
};
constexpr Column columns[] = {{L"Ustawienie", 46}, {L"W oknie", 27}, {L"W module", 27}};

void setCell(HWND list, int row, int column, const std::wstring& text)
{
    LVITEMW item{};
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    if (column == 0) {
        item.mask = LVIF_TEXT;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    } else {
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
}

void fillList(HWND list, const std::vector<ComparisonRow>& rows)
{
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT client{};
    GetClientRect(list, &client);
    const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
    int index = 0;
    for (const Column& c : columns) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(c.caption);
        column.cx = width * c.widthPercent / 100;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&column));
    }
    int row = 0;
    for (const ComparisonRow& r : rows) {
        setCell(list, row, 0, r.setting);
        setCell(list, row, 1, r.inWindow);
        setCell(list, row, 2, r.inModule);
        ++row;
    }
}

RECT rectInDialog(HWND window, HWND control)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The faults above the table; the table and its note move down below them.
void showFaults(HWND window, const Comparison& comparison)
{
    HWND box = GetDlgItem(window, IDC_COMPARISON_FAULTS);
    SetWindowTextW(box, faultsText(comparison).c_str());
    ShowWindow(box, SW_SHOW);
    RECT gap{0, 0, 0, 4};
    MapDialogRect(window, &gap);
    const int top = rectInDialog(window, box).bottom + gap.bottom;
    HWND list = GetDlgItem(window, IDC_COMPARISON_LIST);
    const RECT l = rectInDialog(window, list);
    SetWindowPos(list, nullptr, l.left, top, l.right - l.left, l.bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    HWND note = GetDlgItem(window, IDC_COMPARISON_NOTE);
    const RECT n = rectInDialog(window, note);
    SetWindowPos(note, nullptr, n.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void initialise(HWND window, const Comparison& comparison)
{
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(&comparison));
    if (!comparison.faults.empty())
        showFaults(window, comparison);
    const std::vector<ComparisonRow>& rows = comparison.rows;
    HWND list = GetDlgItem(window, IDC_COMPARISON_LIST);
    if (rows.empty()) {
        ShowWindow(list, SW_HIDE);
        HWND note = GetDlgItem(window, IDC_COMPARISON_NOTE);
        SetWindowTextW(note, noDifferencesText);
        ShowWindow(note, SW_SHOW);
    } else {
        fillList(list, rows);
    }
    centerOnParent(window, IDCANCEL);
}

INT_PTR CALLBACK comparisonDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_INITDIALOG:
            initialise(window, *reinterpret_cast<const Comparison*>(lParam));
            return FALSE;  // the focus is on "Zamknij"
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case IDC_COMPARISON_COPY: {
                const auto* comparison = reinterpret_cast<const Comparison*>(GetWindowLongPtrW(window, DWLP_USER));
                if (comparison)
                    copyTextToClipboard(window, comparisonText(*comparison));
                return TRUE;
            }
            case IDCANCEL:
                EndDialog(window, 0);
                return TRUE;
            default:
                return FALSE;
            }
        case WM_CLOSE:
            EndDialog(window, 0);
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        EndDialog(window, 0);
        reportProgramFault();
        return TRUE;
    }
}

} // namespace

void showComparisonDialog(HWND owner, const Comparison& comparison)
{
    DialogBoxParamW(instanceHandle(), MAKEINTRESOURCEW(IDD_COMPARISON_DIALOG), owner, &comparisonDialogProc,
                    reinterpret_cast<LPARAM>(&comparison));
}

} // namespace kes
