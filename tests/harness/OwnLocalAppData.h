#pragma once
// LOCALAPPDATA pointed at a new folder of its own while the object lives, so that the module
// archive written meanwhile meets no other one; the variable is set back and the folder removed.
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace harness {

class OwnLocalAppData {
public:
    OwnLocalAppData()
    {
        wchar_t before[MAX_PATH + 1] = {};
        const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", before, MAX_PATH + 1);
        if (length > 0 && length <= MAX_PATH)
            before_ = before;
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        static unsigned made = 0;
        path_ = std::wstring(temp) + L"quellmo-localappdata-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++made);
        CreateDirectoryW(path_.c_str(), nullptr);
        SetEnvironmentVariableW(L"LOCALAPPDATA", path_.c_str());
    }
    ~OwnLocalAppData()
    {
        SetEnvironmentVariableW(L"LOCALAPPDATA", before_.empty() ? nullptr : before_.c_str());
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    OwnLocalAppData(const OwnLocalAppData&) = delete;
    OwnLocalAppData& operator=(const OwnLocalAppData&) = delete;

    const std::wstring& path() const { return path_; }

private:
    std::wstring before_;
    std::wstring path_;
};

} // namespace harness
