#pragma once
// LOCALAPPDATA pointed at a new folder while the object lives, so that the module archive written
// meanwhile meets no other; then the variable is set back and the folder removed.
#include <windows.h>

#include <filesystem>
#include <string>

namespace harness {

class OwnLocalAppData {
public:
    OwnLocalAppData()
    {
        static unsigned made = 0;
        wchar_t text[MAX_PATH + 1] = {};
        if (GetEnvironmentVariableW(L"LOCALAPPDATA", text, MAX_PATH + 1) <= MAX_PATH)
            before_ = text;
        path_ = std::filesystem::temp_directory_path() /
                (L"quellmo-" + std::to_wstring(GetCurrentProcessId()) + L'-' + std::to_wstring(++made));
        std::filesystem::create_directory(path_);
        SetEnvironmentVariableW(L"LOCALAPPDATA", path_.c_str());
    }
    ~OwnLocalAppData()
    {
        SetEnvironmentVariableW(L"LOCALAPPDATA", before_.empty() ? nullptr : before_.c_str());
        std::filesystem::remove_all(path_, ignored_);
    }
    std::wstring path() const { return path_.wstring(); }

private:
    std::wstring before_;
    std::filesystem::path path_;
    std::error_code ignored_;
};

} // namespace harness
