#include "ui/InputFilters.h"

#include "ui/SubclassChain.h"

#include <vector>

namespace kes {
namespace {

void systemBeep(UINT type)
{
    MessageBeep(type);
}

BeepFunction& beepFunction()
{
    static BeepFunction beep = &systemBeep;
    return beep;
}

constexpr wchar_t firstPrintable = 32;
constexpr wchar_t lastSmsCode = 399;

std::wstring windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, buffer.data(), length + 1);
    return std::wstring(buffer.data(), static_cast<std::size_t>(got > 0 ? got : 0));
}

// The common behaviour of both filters; only the mapping differs.
LRESULT filterMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int (*map)(wchar_t))
{
    switch (message) {
    case WM_CHAR: {
        const wchar_t c = static_cast<wchar_t>(wParam);
        if (c < firstPrintable)
            return forward(window, message, wParam, lParam);
        const int mapped = map(c);
        if (mapped < 0) {
            beepFunction()(0);
            stopChain(window);
            return 0;
        }
        return forward(window, message, static_cast<WPARAM>(mapped), lParam);
    }
    case WM_SETTEXT:
    case EM_REPLACESEL: {
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        if (!text)
            return forward(window, message, wParam, lParam);
        const std::wstring filtered = filterText(text, map);
        return forward(window, message, wParam, reinterpret_cast<LPARAM>(filtered.c_str()));
    }
    case WM_PASTE: {
        DWORD selectionEnd = 0;
        SendMessageW(window, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selectionEnd));
        const int oldLength = GetWindowTextLengthW(window);
        const LRESULT result = forward(window, message, wParam, lParam);
        const std::wstring filtered = filterText(windowText(window), map);
        SetWindowTextW(window, filtered.c_str());
        long caret = static_cast<long>(selectionEnd) + static_cast<long>(filtered.size()) - oldLength;
        if (caret < 0)
            caret = 0;
        SendMessageW(window, EM_SETSEL, static_cast<WPARAM>(caret), caret);
        return result;
    }
    default:
        return forward(window, message, wParam, lParam);
    }
}

} // namespace

int mapSignedNumberChar(wchar_t c)
{
    if ((c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == L'.')
        return c;
    if (c == L',')
        return L'.';
    return -1;
}

int mapSmsTextChar(wchar_t c)
{
    if (c < firstPrintable || c > lastSmsCode)
        return -1;
    if (c == L'v')
        return L'V';
    if (c <= 126)
        return c;
    struct Fold {
        wchar_t from, to;
    };
    static constexpr Fold folds[] = {
        {L'Ą', L'A'}, {L'ą', L'a'}, {L'Ć', L'C'}, {L'ć', L'c'}, {L'Ę', L'E'}, {L'ę', L'e'},
        {L'Ł', L'L'}, {L'ł', L'l'}, {L'Ń', L'N'}, {L'ń', L'n'}, {L'Ó', L'O'}, {L'ó', L'o'},
        {L'Ś', L'S'}, {L'ś', L's'}, {L'Ź', L'Z'}, {L'ź', L'z'}, {L'Ż', L'Z'}, {L'ż', L'z'},
    };
    for (const Fold& f : folds)
        if (f.from == c)
            return f.to;
    return L'?';
}

std::wstring filterText(const std::wstring& text, int (*map)(wchar_t))
{
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        const int mapped = map(c);
        if (mapped >= 0)
            out.push_back(static_cast<wchar_t>(mapped));
    }
    return out;
}

namespace {
// A window procedure must not let an exception (out of memory) unwind into Windows:
// the message is then refused.
LRESULT guarded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int (*map)(wchar_t))
{
    try {
        return filterMessage(window, message, wParam, lParam, map);
    } catch (...) {
        stopChain(window);
        return 0;
    }
}
} // namespace

LRESULT CALLBACK signedNumberFilter(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return guarded(window, message, wParam, lParam, &mapSignedNumberChar);
}

LRESULT CALLBACK smsTextFilter(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return guarded(window, message, wParam, lParam, &mapSmsTextChar);
}

LRESULT CALLBACK escapeKeyFilter(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if ((message == WM_KEYDOWN || message == WM_CHAR) && wParam == VK_ESCAPE)
        stopChain(window);
    return 0;
}

BeepFunction setBeepFunction(BeepFunction beep)
{
    BeepFunction previous = beepFunction();
    beepFunction() = beep ? beep : &systemBeep;
    return previous;
}

} // namespace kes
