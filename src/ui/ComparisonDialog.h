#pragma once
// The modal table of the settings in which the window and the module differ, with a button
// that copies the table to the clipboard. Validation's faults, when there are any, stand
// above the table.
#include "tools/ModuleComparison.h"
#include "ui/Dialog.h"
#include "ui/ReportList.h"

#include <windows.h>

namespace kes {

class ComparisonDialog final : public Dialog {
public:
    explicit ComparisonDialog(Comparison comparison);

private:
    bool onInit() override;
    bool onCommand(int id, int code) override;
    void showFaults();
    void fillList();
    void followSize();

    Comparison comparison_;
    ReportList list_;
};

void showComparisonDialog(HWND owner, const Comparison& comparison);

} // namespace kes
