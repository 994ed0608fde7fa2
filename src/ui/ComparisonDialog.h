#pragma once
// The modal table of the settings in which the window and the module differ, with a button
// that copies the table to the clipboard.
#include "tools/ModuleComparison.h"
#include "ui/Dialog.h"

#include <windows.h>

#include <vector>

namespace kes {

class ComparisonDialog final : public Dialog {
public:
    explicit ComparisonDialog(std::vector<ComparisonRow> rows);

private:
    bool onInit() override;
    bool onCommand(int id) override;
    void fillList();

    std::vector<ComparisonRow> rows_;
};

void showComparisonDialog(HWND owner, const std::vector<ComparisonRow>& rows);

} // namespace kes
