#include "ui/ProgressDialog.h"

#include "protocol/Programming.h"
#include "ui/ResourceIds.h"
#include "ui/SingleDialog.h"
#include "ui/WindowHelpers.h"

#include <commctrl.h>

#include <string>
#include <utility>

namespace kes {
namespace {

class ProgressDialog final : public SingleDialog {
public:
    ProgressDialog(std::wstring text, WORD steps)
        : SingleDialog(IDD_PROGRESS_DIALOG), text_(std::move(text)), steps_(steps)
    {
    }

    void advance() { SendMessageW(item(IDC_PROGRESS_BAR), PBM_DELTAPOS, 1, 0); }

private:
    bool onInit() override
    {
        SendMessageW(item(IDC_PROGRESS_BAR), PBM_SETPOS, 0, 0);
        SendMessageW(item(IDC_PROGRESS_BAR), PBM_SETRANGE, 0, MAKELPARAM(0, steps_));
        setItemText(IDC_PROGRESS_TEXT, text_);
        centerOnParent(window(), 0);
        return true;
    }
    bool onMessage(UINT message, WPARAM, LPARAM) override
    {
        if (message != closeProgressMessage)
            return false;
        end(0);
        return true;
    }
    // The window has no button: only the programming job closes it.
    void onCancel() override {}

    std::wstring text_;
    WORD steps_;
};

class ShellProgress final : public ProgrammingUi {
public:
    void advance() override { advanceProgress(); }
    void close() override { closeProgress(); }
};

} // namespace

void connectProgressToProgramming()
{
    static ShellProgress progress;
    setProgrammingUi(&progress);
}

HWND progressWindow()
{
    return SingleDialog::runningWindow<ProgressDialog>();
}

void openProgressDialog(HWND owner)
{
    ProgressDialog(L"Programowanie", programmingSteps).runAlone(owner);
}

void advanceProgress()
{
    if (progressWindow())
        SingleDialog::running<ProgressDialog>()->advance();
}

void closeProgress()
{
    if (HWND window = progressWindow())
        SendMessageW(window, closeProgressMessage, 0, 0);
}

} // namespace kes
