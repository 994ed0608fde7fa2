#include "ui/WindowHelpers.h"

namespace kes {
namespace {

HINSTANCE instance = nullptr;

} // namespace

HINSTANCE instanceHandle()
{
    return instance ? instance : GetModuleHandleW(nullptr);
}

void setInstanceHandle(HINSTANCE handle)
{
    instance = handle;
}

void centerOnParent(HWND window, int controlId)
{
    HWND parent = GetParent(window);
    if (!parent)
        parent = GetDesktopWindow();
    RECT outer{}, own{};
    GetWindowRect(parent, &outer);
    GetWindowRect(window, &own);
    const int x = outer.left + ((outer.right - outer.left) - (own.right - own.left)) / 2;
    const int y = outer.top + ((outer.bottom - outer.top) - (own.bottom - own.top)) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE);
    SetFocus(controlId ? GetDlgItem(window, controlId) : nullptr);
}

} // namespace kes
