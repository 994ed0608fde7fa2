#pragma once
// Texts cross the wire as single bytes. Towards the module each UTF-16 unit gives its
// low byte; from the module each byte is its own code point (0x00-0xFF), so a byte
// above 0x7F becomes the Latin-1 character of that value rather than a sign-extended one.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kes {

std::string narrowText(const std::wstring& text);
std::wstring widenText(const std::string& bytes);

// The bytes from data[0] up to the first zero byte, at most maxBytes of them.
std::string bytesUntilZero(const std::uint8_t* data, std::size_t maxBytes);

} // namespace kes
