#include "tools/SeriesCopies.h"

#include "storage/DataFile.h"
#include "support/ScopedWin.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace kes {
namespace {

constexpr wchar_t heldName[] = L"zastane";
constexpr wchar_t programmedName[] = L"zaprogramowane";
constexpr wchar_t copyPattern[] = L"\\*-*.dat";
constexpr wchar_t folderForNoExtension[] = L"-kopie";

// The digits before the first "-" of a name, or 0.
int leadingNumber(const wchar_t* name)
{
    int number = 0;
    const wchar_t* c = name;
    for (; *c >= L'0' && *c <= L'9'; ++c) {
        if (number > 99999)
            return 0;  // no number of ours
        number = number * 10 + (*c - L'0');
    }
    return (c != name && *c == L'-') ? number : 0;
}

} // namespace

std::wstring copiesFolder(const std::wstring& logPath)
{
    const std::size_t name = logPath.find_last_of(L"\\/");
    const std::size_t dot = logPath.rfind(L'.');
    if (dot == std::wstring::npos || (name != std::wstring::npos && dot < name) ||
        dot == (name == std::wstring::npos ? 0 : name + 1))
        return logPath + folderForNoExtension;  // the log's own name would be taken
    return logPath.substr(0, dot);
}

int nextCopyNumber(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    const FindHandle search(FindFirstFileW((folder + copyPattern).c_str(), &found));
    int highest = 0;
    if (search) {
        do {
            const int number = leadingNumber(found.cFileName);
            if (number > highest)
                highest = number;
        } while (FindNextFileW(search.get(), &found));
    }
    return highest + 1;
}

std::wstring copyPath(const std::wstring& folder, int attempt, KeptCopy copy)
{
    wchar_t number[16] = {};
    swprintf(number, sizeof(number) / sizeof(number[0]), L"%03d", attempt);
    return folder + L'\\' + number + L'-' + (copy == KeptCopy::Held ? heldName : programmedName) + L".dat";
}

bool writeCopy(const std::wstring& path, const std::wstring& records)
{
    const std::wstring folder = path.substr(0, path.find_last_of(L"\\/"));
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    return writeRecordsToFile(path, records);
}

} // namespace kes
