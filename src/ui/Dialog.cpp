#include "ui/Dialog.h"

#include "ui/ExceptionFilter.h"
#include "ui/WindowHelpers.h"

namespace kes {

INT_PTR Dialog::runModal(HWND owner)
{
    ending_ = false;
    failed_ = false;
    return DialogBoxParamW(instanceHandle(), MAKEINTRESOURCEW(templateId_), owner, &procedure,
                           reinterpret_cast<LPARAM>(this));
}

void Dialog::end(INT_PTR result)
{
    ending_ = true;
    EndDialog(window_, result);
}

void Dialog::endAfterFault()
{
    // Set first: the fault box's modal loop goes on delivering this window's messages.
    failed_ = true;
    ending_ = true;
    EndDialog(window_, endedByFault);
    reportProgramFault();
}

INT_PTR CALLBACK Dialog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<Dialog*>(lParam)->window_ = window;
    }
    // Messages before WM_INITDIALOG (WM_SETFONT) find no object yet.
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self)
        return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, DWLP_USER, 0);
        self->window_ = nullptr;
        return FALSE;
    }
    if (self->failed_)
        return FALSE;
    try {
        return self->dispatch(message, wParam, lParam) ? TRUE : FALSE;
    } catch (...) {
        self->endAfterFault();
        return TRUE;
    }
}

bool Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInit();
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            onCancel();
            return true;
        }
        return onCommand(LOWORD(wParam));
    case WM_CLOSE:
        onCancel();
        return true;
    case WM_DRAWITEM:
        return onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    default:
        return false;
    }
}

} // namespace kes
