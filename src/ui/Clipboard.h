#pragma once
// Putting text on the clipboard for the "Kopiuj" buttons.
#include <windows.h>

#include <string>

namespace kes {

// Puts the text on the clipboard as Unicode text; false when the clipboard is not available.
bool copyTextToClipboard(HWND owner, const std::wstring& text);

} // namespace kes
