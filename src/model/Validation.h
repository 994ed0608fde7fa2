#pragma once
// The checks run before the settings are programmed into a module. Validation also
// rewrites fields in place (letters folded, commas made points, switched-off sections
// put back to fixed values, check boxes that no longer make sense cleared), and those
// rewrites stay whether or not a fault is found.
#include <string>
#include <windows.h>

namespace kes {

// Runs every rule in order and lists every fault in one message box owned by the dialog.
// True when there is no fault.
bool validateSettings(HWND dialog);

// The faults of the current settings, each message followed by CR LF, in rule order,
// with the same rewrites as validateSettings but no message box.
std::wstring collectSettingsFaults();

// Text predicates, each on a field's current text.
std::wstring firstWord(const std::wstring& text);  // leading white space skipped
bool isAccessCode(const std::wstring& text);        // exactly 4 of "A".."Z", "0".."9"
bool isPin(const std::wstring& text);               // empty, or exactly 4 digits
bool isUnsignedDecimal(const std::wstring& text);   // first word: digits, at most one "."
bool isSignedDecimal(const std::wstring& text);     // the same after an optional sign
bool isPhoneNumber(const std::wstring& text);       // first word: 9 or more of "+", digits

// Rewrites.
std::wstring foldPolishLetters(const std::wstring& text);  // ą→a ... Ź→Z
std::wstring decimalCommaToPoint(const std::wstring& text);

} // namespace kes
