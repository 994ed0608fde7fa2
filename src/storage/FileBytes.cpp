#include "storage/FileBytes.h"

#include "storage/AtomicFile.h"
#include "storage/TemporaryFile.h"
#include "support/ScopedWin.h"

#include <utility>
#include <vector>
#include <windows.h>

namespace kes {
namespace {

bool nameTaken(DWORD error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

} // namespace

std::optional<std::string> readFileBytesUpTo(const std::wstring& path, std::size_t maxBytes)
{
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return std::nullopt;
    return bytes;
}

std::optional<std::wstring> writeNewFile(const std::wstring& folder, const std::string& bytes,
                                         const NewFileName& nameFor, int maxAttempts)
{
    if (bytes.size() > MAXDWORD)
        return std::nullopt;
    std::vector<wchar_t> tempName(MAX_PATH + 1, L'\0');
    if (GetTempFileNameW(folder.c_str(), L"qpc", 0, tempName.data()) == 0)
        return std::nullopt;
    TemporaryFile temp(tempName.data());
    {
        KernelHandle file(CreateFileW(temp.path().c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !writeFileBytes(file.get(), bytes.data(), static_cast<DWORD>(bytes.size())) || !FlushFileBuffers(file.get()) || !file.close())
            return std::nullopt;
    }
    for (int attempt = 1; attempt <= maxAttempts; ++attempt) {
        const std::wstring name = nameFor(attempt);
        // No MOVEFILE_REPLACE_EXISTING: a name someone holds is refused, never taken over.
        if (MoveFileExW(temp.path().c_str(), (folder + L'\\' + name).c_str(), MOVEFILE_WRITE_THROUGH)) {
            temp.release();
            return name;
        }
        if (!nameTaken(GetLastError()))
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace kes
