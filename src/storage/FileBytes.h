#pragma once
// Whole small files: read at once, and written as new files that never take the place of one.
#include <functional>
#include <optional>
#include <string>

namespace kes {

// The file's bytes, or nothing when it cannot be opened or read or is larger than `maxBytes`.
// Others may go on reading, writing or deleting it meanwhile.
std::optional<std::string> readFileBytesUpTo(const std::wstring& path, std::size_t maxBytes);

// The name a new file takes at its n-th try (1, 2, 3 ...), inside the folder.
using NewFileName = std::function<std::wstring(int attempt)>;

// Writes the bytes to a temporary file in the folder, flushes and closes it, then moves it to
// the first name of `nameFor` that nothing holds yet: an existing file is never replaced, so two
// writers that want one name both keep their files. The chosen name, or nothing on any failure
// (no file of ours is left then).
std::optional<std::wstring> writeNewFile(const std::wstring& folder, const std::string& bytes,
                                         const NewFileName& nameFor, int maxAttempts);

} // namespace kes
