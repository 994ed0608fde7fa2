#pragma once
// The modal table of the settings in which two sides differ (the window and the module, or an
// archive entry and another side), with a button that copies the table to the clipboard.
// Validation's faults, when there are any, stand above the table.
#include "tools/ModuleComparison.h"
#include "ui/Dialog.h"
#include "ui/ReportList.h"

#include <windows.h>

#include <optional>
#include <string>

namespace kes {

class ComparisonDialog final : public Dialog {
public:
    // An empty caption keeps the template's, "Porównanie z modułem".
    ComparisonDialog(Comparison comparison, std::wstring caption);

private:
    bool onInit() override;
    bool onCommand(int id, int code) override;
    void showFaults();
    void fillList();
    void followSize();

    Comparison comparison_;
    std::wstring caption_;
    ReportList list_;
};

void showComparisonDialog(HWND owner, const Comparison& comparison, const std::wstring& caption = {});

// A module answers and no job or series runs: it can be read for a comparison.
bool moduleFreeToCompare();
// The module in hand read whole, the main window's ticks held meanwhile. The reading is archived
// like any other (an archive fault told once); a failed one is told, owned by `owner`.
std::optional<ModuleImage> readModuleToCompare(HWND mainDialog, HWND owner);

} // namespace kes
