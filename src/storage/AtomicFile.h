#pragma once
// Replacing a file's contents without ever leaving a half-written file at its path.
#include <functional>
#include <string>
#include <windows.h>

namespace kes {

// Writes the bytes to a new temporary file in the target's folder, flushes and closes it,
// then moves it over the target in one step. On any failure the temporary file is
// removed and whatever was at the path before is left as it was.
bool replaceFileContents(const std::wstring& path, const std::string& bytes);

// The call that writes the bytes into the open temporary file; tests replace it to make
// a write fail part of the way through. Returns true when every byte was written.
using FileWriteFunction = std::function<bool(HANDLE file, const char* data, DWORD size)>;

// An empty function restores the real writer. Returns the previous function.
FileWriteFunction setFileWriteFunction(FileWriteFunction fn);

// Writes every byte to an open file through that function (WriteFile unless a test replaced it).
bool writeFileBytes(HANDLE file, const char* data, DWORD size);

} // namespace kes
