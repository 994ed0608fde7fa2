#include "support/TrustedLibrary.h"

#include "support/ProgramFolder.h"

#include <string>
#include <vector>

namespace kes {
namespace {

constexpr DWORD trustedFolders = LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32;

std::wstring systemFolder()
{
    const UINT needed = GetSystemDirectoryW(nullptr, 0);
    if (needed == 0)
        return {};
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    const UINT got = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    return got > 0 && got < buffer.size() ? std::wstring(buffer.data(), got) : std::wstring();
}

HMODULE loadByFullPath(const std::wstring& folder, const wchar_t* fileName)
{
    if (folder.empty())
        return nullptr;
    return LoadLibraryW((folder + L"\\" + fileName).c_str());
}

} // namespace

HMODULE loadTrustedLibrary(const wchar_t* fileName)
{
    HMODULE module = LoadLibraryExW(fileName, nullptr, trustedFolders);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    // A loader without the search flags: the same two folders by full path, never the bare name.
    module = loadByFullPath(executableFolder(), fileName);
    return module ? module : loadByFullPath(systemFolder(), fileName);
}

void restrictLibrarySearch()
{
    using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
    const auto restrict =
        exportedFunction<SetDefaultDirectories>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (restrict)
        restrict(trustedFolders);
}

} // namespace kes
