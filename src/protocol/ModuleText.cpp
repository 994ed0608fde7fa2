#include "protocol/ModuleText.h"

namespace kes {

std::string narrowText(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text)
        out.push_back(static_cast<char>(static_cast<std::uint16_t>(c) & 0xFFu));
    return out;
}

std::wstring widenText(const std::string& bytes)
{
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

std::string bytesUntilZero(const std::uint8_t* data, std::size_t maxBytes)
{
    std::string out;
    for (std::size_t i = 0; i < maxBytes && data[i] != 0; ++i)
        out.push_back(static_cast<char>(data[i]));
    return out;
}

} // namespace kes
