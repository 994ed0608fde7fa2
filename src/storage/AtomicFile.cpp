#include "storage/AtomicFile.h"

#include "storage/TemporaryFile.h"
#include "support/ScopedWin.h"

#include <utility>
#include <vector>

namespace kes {
namespace {

FileWriteFunction& replacement()
{
    static FileWriteFunction fn;
    return fn;
}

bool writeAllBytes(HANDLE file, const char* data, DWORD size)
{
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(file, data, size, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

std::wstring folderOf(const std::wstring& path)
{
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        // "C:name" is relative to the drive's current folder.
        if (path.size() >= 2 && path[1] == L':')
            return path.substr(0, 2);
        return L".";
    }
    if (slash == 0 || (slash == 2 && path[1] == L':'))
        return path.substr(0, slash + 1);  // the root itself
    return path.substr(0, slash);
}

} // namespace

FileWriteFunction setFileWriteFunction(FileWriteFunction fn)
{
    return std::exchange(replacement(), std::move(fn));
}

bool writeFileBytes(HANDLE file, const char* data, DWORD size)
{
    if (const auto& write = replacement())
        return write(file, data, size);
    return writeAllBytes(file, data, size);
}

bool replaceFileContents(const std::wstring& path, const std::string& bytes)
{
    if (path.empty() || bytes.size() > MAXDWORD)
        return false;
    // A read-only target is refused as Windows refuses it; Wine would move over it.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    // GetTempFileNameW creates the file with a unique name, so nothing else is overwritten.
    std::vector<wchar_t> tempName(MAX_PATH + 1, L'\0');
    if (GetTempFileNameW(folderOf(path).c_str(), L"qpc", 0, tempName.data()) == 0)
        return false;
    TemporaryFile temp(tempName.data());

    KernelHandle file(CreateFileW(temp.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    if (!writeFileBytes(file.get(), bytes.data(), static_cast<DWORD>(bytes.size())))
        return false;
    if (!FlushFileBuffers(file.get()))
        return false;
    if (!file.close())
        return false;
    if (!MoveFileExW(temp.path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temp.release();
    return true;
}

} // namespace kes
