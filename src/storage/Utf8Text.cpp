#include "storage/Utf8Text.h"

#include <climits>
#include <windows.h>

namespace kes {

std::optional<std::wstring> decodeUtf8(const std::string& bytes)
{
    if (bytes.empty())
        return std::wstring();
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        return std::nullopt;
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0)
        return std::nullopt;
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, &text[0], length) != length)
        return std::nullopt;
    return text;
}

} // namespace kes
