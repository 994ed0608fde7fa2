#include "ui/Shell.h"

#include "model/Catalogue.h"
#include "model/EnableRules.h"
#include "tools/KeptEdits.h"
#include "tools/ModuleArchive.h"
#include "tools/ModuleTrust.h"
#include "tools/OpenedDataFile.h"
#include "tools/SeriesStation.h"
#include "protocol/Programming.h"
#include "protocol/SettingsCheck.h"
#include "protocol/Supervision.h"
#include "storage/DataFile.h"
#include "storage/FileDialogs.h"
#include "support/HelpLauncher.h"
#include "ui/ExceptionFilter.h"
#include "ui/MainWindowLayout.h"
#include "ui/NoticeBoxes.h"
#include "ui/ProgressDialog.h"
#include "ui/ResourceIds.h"
#include "ui/SingleDialog.h"
#include "ui/SystemMenu.h"
#include "ui/WindowHelpers.h"

#include <commctrl.h>

namespace kes {
namespace {

constexpr int dialogFailed = 1; // a handler failed and the dialog was ended

void closeMainDialog(HWND dialog, INT_PTR result = 0)
{
    EnableWindow(GetDlgItem(dialog, IDC_HIDDEN_BUTTON), TRUE);
    EndDialog(dialog, result);
}

void initialise(HWND dialog)
{
    InitCommonControls();
    buildMainWindow(dialog, instanceHandle());
    settingsBufor.attachAll(dialog);
    linkStatusField.attach(dialog, L"podłącz QLV-3 USB");
    connectedOnlyGroup.attach(dialog, false);
    statusBufor.attachAll(dialog);
    firstUserTimeRightsView.attach(dialog, 0);
    setNoticeSink(&noticeBoxes());
    connectProgressToProgramming();
    followModuleJobs();
    renewSeriesStation();
    addSystemMenuCommands(dialog);

    SetClassLongPtrW(dialog, GCLP_HICON,
                     reinterpret_cast<LONG_PTR>(LoadIconW(instanceHandle(), MAKEINTRESOURCEW(IDI_MAIN_ICON))));
    ShowWindow(GetDlgItem(dialog, IDC_HIDDEN_BUTTON), SW_HIDE);
    SetTimer(dialog, mainTimerId, mainTimerPeriodMs, nullptr);
    centerOnParent(dialog, ids::accessCode);
}

INT_PTR handle(HWND dialog, UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_INITDIALOG:
        initialise(dialog);
        // The focus is already on the access code; TRUE would let the dialog manager move it
        // to the template's first tab stop.
        return FALSE;
    case WM_COMMAND:
        onCommand(dialog, wParam);
        switch (LOWORD(wParam)) {
        case ids::closeButton:
            closeMainDialog(dialog);
            break;
        case ids::programButton:
            if (checkWindowSettings(dialog)) {
                startProgramming();
                openProgressDialog(dialog);
            }
            break;
        default:
            break;
        }
        return FALSE;
    case WM_TIMER:
        tick(dialog);
        seriesStation().afterTick();
        SingleDialog::refreshAll();
        moduleArchive().tellFaultOnce(dialog);
        return FALSE;
    case WM_INITMENUPOPUP:
        updateSystemMenu(dialog, reinterpret_cast<HMENU>(wParam));
        return FALSE;
    case WM_SYSCOMMAND:
        // The system's own commands (move, minimise, close) go on to the dialog manager.
        return runSystemCommand(dialog, wParam) ? TRUE : FALSE;
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
        closeMainDialog(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int runMainDialog(HINSTANCE handle)
{
    setInstanceHandle(handle);
    const INT_PTR result =
        DialogBoxParamW(instanceHandle(), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), nullptr, &mainDialogProc, 0);
    return result == 0 ? 0 : dialogFailed;
}

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    try {
        return handle(dialog, message, wParam);
    } catch (...) {
        // No exception may unwind through Windows' frames: report it and end the program's window.
        // The box's modal loop would go on delivering the timer to this failed window, so
        // the ticks stop first.
        KillTimer(dialog, mainTimerId);
        reportProgramFault();
        closeMainDialog(dialog, dialogFailed);
        return TRUE;
    }
}

void onCommand(HWND dialog, WPARAM wParam)
{
    prepareFileDialogs(dialog); // only the first call fills the record
    const int id = LOWORD(wParam);
    switch (id) {
    case ids::openButton:
        if (const auto path = openDataFile(dialog)) {
            noteSettingsSettled();
            noteSettingsOpenedFrom(*path);
        }
        return;
    case ids::saveButton:
        if (saveDataFile(dialog))
            noteSettingsSettled();
        return;
    case ids::helpButton:
        openWithAssociatedApp(programFolder + L"\\instrukcja.pdf");
        return;
    case ids::statusOut1:
        out1Clicked = true;
        return;
    case ids::statusOut2:
        out2Clicked = true;
        return;
    case ids::clipUssdButton:
        clipClicked = true;
        return;
    case ids::clearTextButton:
        remoteText.setText(L"");
        return;
    case ids::smsButton:
        smsClicked = true;
        return;
    default:
        model::refreshOnClick(id);
        return;
    }
}

} // namespace kes
