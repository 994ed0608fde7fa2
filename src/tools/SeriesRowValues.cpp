#include "tools/SeriesRowValues.h"

namespace kes {
namespace {

constexpr wchar_t cellSeparator = L'|';
constexpr wchar_t nameEnd = L'=';
constexpr wchar_t escape = L'\\';

void appendEscaped(std::wstring& out, const std::wstring& text)
{
    for (wchar_t c : text) {
        if (c == cellSeparator || c == nameEnd || c == escape)
            out += escape;
        out += c;
    }
}

} // namespace

std::wstring rowValuesText(const RowCells& cells)
{
    std::wstring text;
    for (const auto& [column, value] : cells) {
        if (value.empty())
            continue;
        if (!text.empty())
            text += cellSeparator;
        appendEscaped(text, column);
        text += nameEnd;
        appendEscaped(text, value);
    }
    return text;
}

std::optional<RowValues> parseRowValues(const std::wstring& text)
{
    RowValues values;
    if (text.empty())
        return std::nullopt;
    std::wstring name;
    std::wstring value;
    bool inValue = false;
    const auto endCell = [&]() {
        if (!inValue || name.empty() || value.empty())
            return false;
        const bool fresh = values.emplace(std::move(name), std::move(value)).second;
        name.clear();
        value.clear();
        inValue = false;
        return fresh;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == escape) {
            if (++i == text.size())
                return std::nullopt;
            c = text[i];
        } else if (c == nameEnd && !inValue) {
            inValue = true;
            continue;
        } else if (c == cellSeparator) {
            if (!endCell())
                return std::nullopt;
            continue;
        }
        (inValue ? value : name) += c;
    }
    if (!endCell())
        return std::nullopt;
    return values;
}

RowValues rowValuesOf(const RowCells& cells)
{
    RowValues values;
    for (const auto& [column, value] : cells)
        if (!value.empty())
            values[column] = value;
    return values;
}

} // namespace kes
