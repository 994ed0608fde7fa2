#pragma once
// Every message box of the program goes through here, so tests can see what would be
// shown without entering a modal loop.
#include <functional>
#include <string>
#include <windows.h>

namespace kes {

using MessageBoxFunction =
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)>;

// Shows the box (MessageBoxW) or hands it to the function set by a test; returns the button pressed.
int showMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

// An empty function restores MessageBoxW. Returns the previous function.
MessageBoxFunction setMessageBoxFunction(MessageBoxFunction fn);

} // namespace kes
