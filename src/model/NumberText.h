#pragma once
// Numbers in an edit's text, read and written as the edits read and write them: the classic
// locale, a full stop as the decimal point.
#include <string>

namespace kes {

// The number leading the text after white space (12abc gives 12); 0 when none does, or when it
// does not fit in 32 bits.
int intOf(const std::wstring& text);
// The same for a double ("12,5" gives 12); 0 when none leads.
double doubleOf(const std::wstring& text);

// Decimal, a minus sign for a negative number, no grouping.
std::wstring intText(int value);
// Fixed, one digit after the point (12 gives "12.0").
std::wstring doubleText(double value);

} // namespace kes
