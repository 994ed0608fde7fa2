#include "ui/LogBox.h"

#include <algorithm>
#include <vector>

namespace kes {
namespace {

std::wstring textOf(HWND edit)
{
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    GetWindowTextW(edit, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

// True when the last line is in view, also when nothing needs scrolling.
bool showsTheEnd(HWND edit)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(edit, SB_VERT, &info))
        return true;
    const int page = std::max(static_cast<int>(info.nPage), 1);
    return info.nPos + page > info.nMax;
}

} // namespace

void showLogText(HWND edit, const std::wstring& text)
{
    const std::wstring shown = textOf(edit);
    if (shown == text)
        return;
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool caretAtEnd = start == end && end == shown.size();
    const bool followEnd = showsTheEnd(edit);
    const LRESULT firstLine = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);

    // Replacing only from the first difference leaves the lines above as they were.
    const std::size_t same = static_cast<std::size_t>(
        std::mismatch(shown.begin(), shown.end(), text.begin(), text.end()).first - shown.begin());
    SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
    // Unlike a new window text, a replaced selection keeps to the edit's limit (30000 by default).
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
    SendMessageW(edit, EM_SETSEL, same, static_cast<LPARAM>(shown.size()));
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str() + same));

    const DWORD length = static_cast<DWORD>(text.size());
    if (caretAtEnd)
        start = end = length;
    SendMessageW(edit, EM_SETSEL, std::min(start, length), static_cast<LPARAM>(std::min(end, length)));
    if (followEnd) {
        SendMessageW(edit, WM_VSCROLL, SB_BOTTOM, 0);
    } else {
        const LRESULT nowFirst = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
        SendMessageW(edit, EM_LINESCROLL, 0, firstLine - nowFirst);
    }
    SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(edit, nullptr, TRUE);
}

} // namespace kes
