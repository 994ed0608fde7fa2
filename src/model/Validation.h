#pragma once
// The checks run before the settings are programmed into a module. Validation also rewrites
// settings (letters folded, commas made points, switched-off sections put back to fixed values,
// check boxes that no longer make sense cleared), and those rewrites stand whether or not a fault
// is found.
#include "model/Settings.h"

#include <string>

namespace kes {

struct ValidatedSettings {
    // Each message followed by CR LF, in rule order; empty when programming may start.
    std::wstring faults;
    // The settings with every rewrite done.
    Settings settings;
};

// Runs every rule in order on the value.
ValidatedSettings validateSettings(Settings settings);

// Text predicates, each on a setting's text.
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
