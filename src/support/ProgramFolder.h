#pragma once
// The folder the running executable was started from: the manual lies there, and so may the
// D2XX library.
#include <string>

namespace kes {

// Without a trailing backslash; computed during static construction.
extern const std::wstring programFolder;

// The same, computed now: for code that runs during static construction itself.
std::wstring executableFolder();

// The path without its last part; a drive's root keeps its backslash ("C:\\").
std::wstring folderOfPath(const std::wstring& path);

} // namespace kes
