#pragma once
// Readable names for parameterised cases. GoogleTest accepts only letters, digits and '_' in a
// name, and without a generator it numbers the cases and prints the raw bytes of the row.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace casename {

// Polish letters lose their marks; every run of other characters becomes one '_'.
inline std::string clean(const std::string& text)
{
    static const struct {
        char32_t letter;
        char plain;
    } marked[] = {{U'ą', 'a'}, {U'ć', 'c'}, {U'ę', 'e'}, {U'ł', 'l'}, {U'ń', 'n'}, {U'ó', 'o'}, {U'ś', 's'},
                  {U'ź', 'z'}, {U'ż', 'z'}, {U'Ą', 'A'}, {U'Ć', 'C'}, {U'Ę', 'E'}, {U'Ł', 'L'}, {U'Ń', 'N'},
                  {U'Ó', 'O'}, {U'Ś', 'S'}, {U'Ź', 'Z'}, {U'Ż', 'Z'}};
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        const auto lead = static_cast<unsigned char>(c);
        if ((lead & 0xE0) == 0xC0 && i + 1 < text.size()) {  // two-byte UTF-8: all the Polish letters
            const char32_t code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3Fu);
            c = '_';
            for (const auto& m : marked)
                if (m.letter == code)
                    c = m.plain;
        }
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (ok)
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    return name.empty() ? "empty" : name;
}

// -12.5 -> "minus12_5", 20 -> "20".
inline std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value < 0 ? -value : value);
    return (value < 0 ? "minus" : "") + clean(text);
}

// For table rows that carry their own `name`.
struct ByName {
    template <class Row>
    std::string operator()(const ::testing::TestParamInfo<Row>& info) const
    {
        return clean(info.param.name);
    }
};

}  // namespace casename
