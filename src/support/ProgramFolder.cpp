#include "support/ProgramFolder.h"

#include <vector>
#include <windows.h>

namespace kes {
namespace {

constexpr DWORD modulePathChars = 522;

} // namespace

std::wstring executableFolder()
{
    std::vector<wchar_t> path(modulePathChars, L'\0');
    for (;;) {
        const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0)
            return {};
        if (got < path.size())
            break;
        path.assign(path.size() * 2, L'\0'); // cut off: try again with more room
    }
    return folderOfPath(path.data());
}

std::wstring folderOfPath(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return {};
    return path.substr(0, slash == 2 && path[1] == L':' ? slash + 1 : slash);
}

const std::wstring programFolder = executableFolder();

} // namespace kes
