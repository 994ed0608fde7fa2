// The yardstick for the program's start: a dialog program that shows the main window's controls
// from a template (bench/reference, made by reference-maker) with the program's manifest, font and
// picture. Its own code only does what a template cannot: the font (under Wine a template's font
// loses its character set), the drop-down lists' items and the check boxes' ticks.
#include "reference-window.h"

namespace {

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        reference::initialise(dialog);
        return TRUE;
    }
    if (message == WM_CLOSE) {
        EndDialog(dialog, 0);
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
