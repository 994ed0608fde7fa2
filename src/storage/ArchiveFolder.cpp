#include "storage/ArchiveFolder.h"

#include "support/ScopedWin.h"
#include "support/TrustedLibrary.h"

#include <cwchar>
#include <shlobj.h>
#include <vector>

namespace kes {
namespace {

constexpr wchar_t kLocalAppDataVariable[] = L"LOCALAPPDATA";
constexpr wchar_t kArchiveUnderLocalAppData[] = L"\\Quellmo PC\\Archiwum";

std::wstring environmentVariable(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::vector<wchar_t> value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    return length > 0 && length < size ? std::wstring(value.data(), length) : std::wstring();
}

// Only when the variable is not set: the shell and COM stay out of the program's start.
std::wstring knownLocalAppData()
{
    using KnownFolderPath = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
    using TaskMemFree = void(WINAPI*)(LPVOID);
    const LoadedLibrary shell(loadTrustedLibrary(L"shell32.dll"));
    const LoadedLibrary com(loadTrustedLibrary(L"ole32.dll"));
    const auto knownFolderPath = exportedFunction<KnownFolderPath>(shell.get(), "SHGetKnownFolderPath");
    const auto taskMemFree = exportedFunction<TaskMemFree>(com.get(), "CoTaskMemFree");
    if (!knownFolderPath || !taskMemFree)
        return {};
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(knownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &path)))
        folder = path;
    taskMemFree(path);  // owed even when the call failed
    return folder;
}

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

} // namespace

std::wstring archiveFolder()
{
    std::wstring base = environmentVariable(kLocalAppDataVariable);
    if (base.empty())
        base = knownLocalAppData();
    while (!base.empty() && (base.back() == L'\\' || base.back() == L'/'))
        base.pop_back();
    return base.empty() ? base : base + kArchiveUnderLocalAppData;
}

std::wstring monthFolderName(const SYSTEMTIME& local)
{
    wchar_t name[16] = {};
    std::swprintf(name, sizeof name / sizeof name[0], L"%04u-%02u", static_cast<unsigned>(local.wYear),
                  static_cast<unsigned>(local.wMonth));
    return name;
}

bool isMonthFolderName(const std::wstring& name)
{
    return name.size() == 7 && isDigit(name[0]) && isDigit(name[1]) && isDigit(name[2]) && isDigit(name[3]) &&
           name[4] == L'-' && isDigit(name[5]) && isDigit(name[6]);
}

bool folderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool makeFolders(const std::wstring& path)
{
    if (path.empty())
        return false;
    if (folderExists(path))
        return true;
    const std::size_t slash = path.find_last_of(L"\\/");
    // Up to the root ("C:\", "\\server\share\") the folders are there or cannot be made by us.
    if (slash != std::wstring::npos && slash > 0 && path[slash - 1] != L':' && path[slash - 1] != L'\\' &&
        !makeFolders(path.substr(0, slash)))
        return false;
    if (CreateDirectoryW(path.c_str(), nullptr))
        return true;
    // Another writer may have made it meanwhile; a file of that name is no folder.
    return GetLastError() == ERROR_ALREADY_EXISTS && folderExists(path);
}

} // namespace kes
