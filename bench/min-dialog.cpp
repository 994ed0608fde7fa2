// The yardsticks for start-up time: the least a Win32 dialog program does before its window shows,
// and (built with MIN_DIALOG_CONTROLS) the same dialog creating as many child controls at run time
// as the main window has, to tell the cost of the controls from the rest of the program's start.
#include <windows.h>

#ifndef MIN_DIALOG_CONTROLS
#define MIN_DIALOG_CONTROLS 0
#endif

namespace {

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    if (message == WM_INITDIALOG) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
        for (int i = 0; i < MIN_DIALOG_CONTROLS; ++i) {
            const bool edit = i % 2 == 1;
            HWND control = CreateWindowExW(edit ? WS_EX_CLIENTEDGE : 0, edit ? L"Edit" : L"Static", L"",
                                           WS_CHILD | WS_VISIBLE, 5 + (i % 12) * 50, 5 + (i / 12) * 20, 45, 16,
                                           dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(10001 + i)), nullptr,
                                           nullptr);
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    DialogBoxParamW(instance, MAKEINTRESOURCEW(100), nullptr, dialogProc, 0);
    return 0;
}
