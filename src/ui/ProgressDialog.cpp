#include "ui/ProgressDialog.h"

#include "protocol/Programming.h"
#include "ui/ExceptionFilter.h"
#include "ui/ResourceIds.h"
#include "ui/WindowHelpers.h"

#include <commctrl.h>

namespace kes {
namespace {

// The shell's values for the window being shown.
HWND progressHandle = nullptr;
const wchar_t* progressText = nullptr;
WORD progressSteps = 0;

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
    return progressHandle;
}

void openProgressDialog(HWND owner)
{
    progressText = L"Programowanie";
    progressSteps = programmingSteps;
    DialogBoxParamW(instanceHandle(), MAKEINTRESOURCEW(IDD_PROGRESS_DIALOG), owner, &progressDialogProc, 0);
}

void advanceProgress()
{
    if (progressHandle)
        SendDlgItemMessageW(progressHandle, IDC_PROGRESS_BAR, PBM_DELTAPOS, 1, 0);
}

void closeProgress()
{
    if (progressHandle)
        SendMessageW(progressHandle, closeProgressMessage, 0, 0);
}

INT_PTR CALLBACK progressDialogProc(HWND window, UINT message, WPARAM, LPARAM)
{
    try {
        switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageW(window, IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
            SendDlgItemMessageW(window, IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, progressSteps));
            SetDlgItemTextW(window, IDC_PROGRESS_TEXT, progressText);
            centerOnParent(window, 0);
            progressHandle = window;
            return TRUE;
        case closeProgressMessage:
            progressHandle = nullptr;
            EndDialog(window, 0);
            return TRUE;
        default:
            return FALSE;
        }
    } catch (...) {
        // Nothing may unwind into Windows; the window closes so the program can go on.
        progressHandle = nullptr;
        EndDialog(window, 0);
        reportProgramFault();
        return TRUE;
    }
}

} // namespace kes
