#include "storage/FileBytes.h"

#include <utility>
#include <vector>
#include <windows.h>

namespace kes {
namespace {

class OpenFile {
public:
    explicit OpenFile(HANDLE handle) : handle_(handle) {}
    ~OpenFile() { close(); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    // A write the system still held back can fail only here.
    bool close() { return !valid() || CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0; }

private:
    HANDLE handle_;
};

// Removes the temporary file unless it was moved to its name.
class PendingFile {
public:
    explicit PendingFile(std::wstring path) : path_(std::move(path)) {}
    ~PendingFile()
    {
        if (!path_.empty())
            DeleteFileW(path_.c_str());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    const std::wstring& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    std::wstring path_;
};

bool writeWhole(HANDLE file, const std::string& bytes)
{
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        if (!WriteFile(file, data, static_cast<DWORD>(left), &written, nullptr) || written == 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

bool nameTaken(DWORD error) { return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS; }

} // namespace

std::optional<std::string> readFileBytesUpTo(const std::wstring& path, std::size_t maxBytes)
{
    OpenFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size) || static_cast<unsigned long long>(size.QuadPart) > maxBytes)
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
    PendingFile temp(tempName.data());
    {
        OpenFile file(CreateFileW(temp.path().c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() || !writeWhole(file.get(), bytes) || !FlushFileBuffers(file.get()) || !file.close())
            return std::nullopt;
    }
    for (int attempt = 1; attempt <= maxAttempts; ++attempt) {
        const std::wstring name = nameFor(attempt);
        // No MOVEFILE_REPLACE_EXISTING: a name someone holds is refused, never taken over.
        if (MoveFileExW(temp.path().c_str(), (folder + L'\\' + name).c_str(), MOVEFILE_WRITE_THROUGH)) {
            temp.keep();
            return name;
        }
        if (!nameTaken(GetLastError()))
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace kes
