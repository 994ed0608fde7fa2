#include "model/NumberText.h"

#include <iomanip>
#include <locale>
#include <sstream>

namespace kes {
namespace {

template <class Number>
Number numberOf(const std::wstring& text)
{
    std::wistringstream in(text);
    in.imbue(std::locale::classic());
    Number value = 0;
    if (!(in >> value))
        return 0;
    return value;
}

} // namespace

int intOf(const std::wstring& text) { return numberOf<int>(text); }

double doubleOf(const std::wstring& text) { return numberOf<double>(text); }

std::wstring intText(int value)
{
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

std::wstring doubleText(double value)
{
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(1) << value;
    return out.str();
}

} // namespace kes
