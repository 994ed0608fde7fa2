#pragma once
// UTF-8 bytes read back as text, refusing what is not UTF-8.
#include <optional>
#include <string>

namespace kes {

std::optional<std::wstring> decodeUtf8(const std::string& bytes);

} // namespace kes
