#pragma once
// Where the module archive lives: "%LOCALAPPDATA%\Quellmo PC\Archiwum", one folder a month.
#include <string>
#include <windows.h>

namespace kes {

// The archive's folder, without a trailing backslash: under the LOCALAPPDATA variable, or under
// the known local application data folder when the variable is not set. Empty when neither is
// there. Nothing is created.
std::wstring archiveFolder();

// The month folder's name for a local time: "2026-12".
std::wstring monthFolderName(const SYSTEMTIME& local);

// True for a name of that form, so that only month folders are looked into.
bool isMonthFolderName(const std::wstring& name);

bool folderExists(const std::wstring& path);

// Makes the folder and each one missing above it. False when one cannot be made, a file
// standing where a folder should be included.
bool makeFolders(const std::wstring& path);

} // namespace kes
