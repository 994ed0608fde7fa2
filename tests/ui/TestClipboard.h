#pragma once
// The clipboard as the UI tests see it: emptied before a "Kopiuj" is pressed, so a copy that
// fails cannot pass on what an earlier run left there; read back as text; filled for a paste.
#include <windows.h>

#include <cstring>
#include <string>

namespace uitest {

// True when the clipboard could be opened and holds no text afterwards.
inline bool emptyClipboard()
{
    if (!OpenClipboard(nullptr))
        return false;
    const bool emptied = EmptyClipboard() != FALSE;
    CloseClipboard();
    return emptied && !IsClipboardFormatAvailable(CF_UNICODETEXT);
}

inline std::wstring clipboardText()
{
    if (!OpenClipboard(nullptr))
        return L"<clipboard not open>";
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

inline bool putOnClipboard(HWND owner, const std::wstring& text)
{
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool placed = false;
    if (memory) {
        std::memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!placed)
            GlobalFree(memory);
    }
    CloseClipboard();
    return placed;
}

} // namespace uitest
