#include "ui/ComparisonDialog.h"

#include "ui/Clipboard.h"
#include "ui/ResourceIds.h"
#include "ui/WindowHelpers.h"

#include <string>
#include <utility>

namespace kes {

ComparisonDialog::ComparisonDialog(Comparison comparison)
    : Dialog(IDD_COMPARISON_DIALOG), comparison_(std::move(comparison))
{
}

// The faults above the table; the table and its note move down below them.
void ComparisonDialog::showFaults()
{
    setItemText(IDC_COMPARISON_FAULTS, faultsText(comparison_));
    showItem(IDC_COMPARISON_FAULTS, true);
    const int top = itemRect(IDC_COMPARISON_FAULTS).bottom + unitsDown(4);
    RECT list = itemRect(IDC_COMPARISON_LIST);
    list.top = top;
    moveItem(IDC_COMPARISON_LIST, list);
    RECT note = itemRect(IDC_COMPARISON_NOTE);
    OffsetRect(&note, 0, top - note.top);
    moveItem(IDC_COMPARISON_NOTE, note);
}

void ComparisonDialog::fillList()
{
    list_.attach(item(IDC_COMPARISON_LIST), {{L"Ustawienie", 46}, {L"W oknie", 27}, {L"W module", 27}});
    addPart(list_);
    std::vector<ListCells> rows;
    for (const ComparisonRow& r : comparison_.rows)
        rows.push_back({r.setting, r.inWindow, r.inModule});
    list_.setRows(std::move(rows));
}

void ComparisonDialog::followSize()
{
    for (int id : {IDC_COMPARISON_NOTE, IDC_COMPARISON_FAULTS})
        follow(id, Follow::Wider);
    follow(IDC_COMPARISON_LIST, Follow::Wider | Follow::Taller);
    follow(IDC_COMPARISON_COPY, Follow::Down);
    follow(IDCANCEL, Follow::Right | Follow::Down);
}

bool ComparisonDialog::onInit()
{
    if (!comparison_.faults.empty())
        showFaults();
    if (comparison_.rows.empty()) {
        showItem(IDC_COMPARISON_LIST, false);
        setItemText(IDC_COMPARISON_NOTE, noDifferencesText);
        showItem(IDC_COMPARISON_NOTE, true);
    } else {
        fillList();
    }
    followSize();
    centerOnParent(window(), IDCANCEL);
    return false;  // the focus is on "Zamknij"
}

bool ComparisonDialog::onCommand(int id, int)
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
