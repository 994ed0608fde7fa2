#include "ui/ComparisonDialog.h"

#include "ui/Clipboard.h"
#include "ui/ReportList.h"
#include "ui/ResourceIds.h"
#include "ui/WindowHelpers.h"

#include <commctrl.h>

#include <string>
#include <utility>

namespace kes {
namespace {

RECT rectInDialog(HWND window, HWND control)
{
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

ComparisonDialog::ComparisonDialog(Comparison comparison)
    : Dialog(IDD_COMPARISON_DIALOG), comparison_(std::move(comparison))
{
}

// The faults above the table; the table and its note move down below them.
void ComparisonDialog::showFaults()
{
    HWND box = item(IDC_COMPARISON_FAULTS);
    SetWindowTextW(box, faultsText(comparison_).c_str());
    ShowWindow(box, SW_SHOW);
    RECT gap{0, 0, 0, 4};
    MapDialogRect(window(), &gap);
    const int top = rectInDialog(window(), box).bottom + gap.bottom;
    HWND list = item(IDC_COMPARISON_LIST);
    const RECT l = rectInDialog(window(), list);
    SetWindowPos(list, nullptr, l.left, top, l.right - l.left, l.bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    HWND note = item(IDC_COMPARISON_NOTE);
    const RECT n = rectInDialog(window(), note);
    SetWindowPos(note, nullptr, n.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ComparisonDialog::fillList()
{
    HWND list = item(IDC_COMPARISON_LIST);
    addListColumns(list, {{L"Ustawienie", 46}, {L"W oknie", 27}, {L"W module", 27}});
    for (const ComparisonRow& r : comparison_.rows)
        appendListRow(list, {r.setting, r.inWindow, r.inModule});
}

bool ComparisonDialog::onInit()
{
    if (!comparison_.faults.empty())
        showFaults();
    if (comparison_.rows.empty()) {
        ShowWindow(item(IDC_COMPARISON_LIST), SW_HIDE);
        HWND note = item(IDC_COMPARISON_NOTE);
        SetWindowTextW(note, noDifferencesText);
        ShowWindow(note, SW_SHOW);
    } else {
        fillList();
    }
    centerOnParent(window(), IDCANCEL);
    return false;  // the focus is on "Zamknij"
}

bool ComparisonDialog::onCommand(int id)
{
    if (id != IDC_COMPARISON_COPY)
        return false;
    copyTextToClipboard(window(), comparisonText(comparison_));
    return true;
}

void showComparisonDialog(HWND owner, const Comparison& comparison)
{
    ComparisonDialog(comparison).runModal(owner);
}

} // namespace kes
