#pragma once
// Subclass procedures that keep what can be typed, set, replaced or pasted into an edit to a
// fixed character set, mapping some characters on the way in.
#include <string>
#include <windows.h>

namespace kes {

// Digits, "+", "-", "." ("," becomes "."); everything else refused with a beep when typed.
LRESULT CALLBACK signedNumberFilter(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Codes 32..399: Polish letters to their base letters, "v" to "V", other codes above 126 to "?".
// Typed codes below 32 pass (Enter, Backspace); anything else is refused or dropped.
LRESULT CALLBACK smsTextFilter(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Consumes Esc: a multi-line edit in a dialog answers it by closing the dialog (WM_CLOSE to its
// parent), which would end the program and lose every unsaved setting.
LRESULT CALLBACK escapeKeyFilter(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The mappings on their own: the mapped character, or -1 when the character is refused.
int mapSignedNumberChar(wchar_t c);
int mapSmsTextChar(wchar_t c);

// Applies a mapping to a text, dropping refused characters.
std::wstring filterText(const std::wstring& text, int (*map)(wchar_t));

// The refusal beep (MessageBeep); tests replace it. Returns the previous function.
using BeepFunction = void (*)(UINT type);
BeepFunction setBeepFunction(BeepFunction beep);

} // namespace kes
