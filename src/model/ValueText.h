#pragma once
// Text forms of the fields' values in a registry's stream.
#include <istream>
#include <ostream>

namespace kes {

constexpr wchar_t kValueEnd = L'\x0002';

inline void writeBoolDigit(std::wostream& out, bool value)
{
    out.put(value ? L'1' : L'0');
}

// A bool written as the digit 0 or 1; anything else fails the stream and leaves `value`.
inline bool readBoolDigit(std::wistream& in, bool& value)
{
    bool read = false;
    in >> std::noboolalpha >> read;
    if (!in)
        return false;
    value = read;
    return true;
}

inline bool readDecimal(std::wistream& in, int& value)
{
    int read = 0;
    in >> std::dec >> read;
    if (!in)
        return false;
    value = read;
    return true;
}

} // namespace kes
