#include "model/NumberText.h"

#include <iomanip>
#include <locale>
#include <sstream>

namespace kes {

int intOf(const std::wstring& text)
{
    std::wistringstream in(text);
    in.imbue(std::locale::classic());
    int value = 0;
    if (!(in >> value))
        return 0;
    return value;
}

double doubleOf(const std::wstring& text)
{
    std::wistringstream in(text);
    in.imbue(std::locale::classic());
    double value = 0;
    if (!(in >> value))
        return 0;
    return value;
}

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
