#include "support/ProgramFolder.h"

#include <vector>
#include <windows.h>
#include <shlwapi.h>

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
    PathRemoveFileSpecW(path.data());
    return path.data();
}

const std::wstring programFolder = executableFolder();

} // namespace kes
