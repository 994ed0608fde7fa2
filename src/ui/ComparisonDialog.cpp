#include "ui/ComparisonDialog.h"

#include "link/UsbLink.h"
#include "protocol/Programming.h"
#include "protocol/Reading.h"
#include "protocol/Supervision.h"
#include "tools/ModuleArchive.h"
#include "tools/SeriesStation.h"
#include "ui/Clipboard.h"
#include "ui/ResourceIds.h"
#include "ui/WindowHelpers.h"

#include <string>
#include <utility>

namespace kes {

ComparisonDialog::ComparisonDialog(Comparison comparison, std::wstring caption)
    : Dialog(IDD_COMPARISON_DIALOG), comparison_(std::move(comparison)), caption_(std::move(caption))
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
    list_.attach(item(IDC_COMPARISON_LIST), {{L"Ustawienie", 46},
                                             {comparison_.leftHeading.c_str(), 27},
                                             {comparison_.rightHeading.c_str(), 27}});
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
    if (!caption_.empty())
        SetWindowTextW(window(), caption_.c_str());
    if (!comparison_.faults.empty())
        showFaults();
    if (comparison_.rows.empty()) {
        showItem(IDC_COMPARISON_LIST, false);
        setItemText(IDC_COMPARISON_NOTE, sameSettingsText(comparison_));
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

void showComparisonDialog(HWND owner, const Comparison& comparison, const std::wstring& caption)
{
    ComparisonDialog(comparison, caption).runModal(owner);
}

bool moduleFreeToCompare()
{
    // A series puts its own settings into the window module after module.
    return usbLink.isOpen() && usbLink.responding && !programmingPending() && !seriesRunning();
}

std::optional<ModuleImage> readModuleToCompare(HWND mainDialog, HWND owner)
{
    ModuleImage module;
    bool read = false;
    {
        MainTimerStopped stopped(mainDialog);
        read = readModuleImage(module);
    }
    moduleArchive().tellFaultOnce(owner);
    if (!read) {
        showReadError(owner);
        return std::nullopt;
    }
    return module;
}

} // namespace kes
