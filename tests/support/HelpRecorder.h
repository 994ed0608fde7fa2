#pragma once
// Test helpers around the recorder program: associations in the registry and reading what it saw.
// The build passes the recorder's path as QUELLMO_RECORDER_UNIX_PATH.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace helptest {

// The recorder's path as Windows sees it (the build passes a Unix path).
inline std::wstring recorderPath()
{
    std::wstring path = L"Z:" QUELLMO_RECORDER_UNIX_PATH;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

inline void setDefaultValue(HKEY root, const std::wstring& key, const std::wstring& value)
{
    HKEY k = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
}

// An association extension -> class -> open command, removed again by the destructor.
class Association {
public:
    Association(HKEY root, std::wstring extension, std::wstring className, const std::wstring* command)
        : root_(root), extension_(std::move(extension)), className_(std::move(className))
    {
        setDefaultValue(root_, L"SOFTWARE\\Classes\\" + extension_, className_);
        if (command)
            setDefaultValue(root_, L"SOFTWARE\\Classes\\" + className_ + L"\\shell\\open\\command", *command);
    }
    ~Association()
    {
        RegDeleteTreeW(root_, (L"SOFTWARE\\Classes\\" + extension_).c_str());
        RegDeleteKeyW(root_, (L"SOFTWARE\\Classes\\" + extension_).c_str());
        RegDeleteTreeW(root_, (L"SOFTWARE\\Classes\\" + className_).c_str());
        RegDeleteKeyW(root_, (L"SOFTWARE\\Classes\\" + className_).c_str());
    }
    Association(const Association&) = delete;
    Association& operator=(const Association&) = delete;

private:
    HKEY root_;
    std::wstring extension_, className_;
};

// The recorder's output file, fresh for each test.
class RecorderOutput {
public:
    RecorderOutput()
    {
        wchar_t dir[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, dir);
        path_ = std::wstring(dir) + L"quellmo-recorder-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
        DeleteFileW(path_.c_str());
        SetEnvironmentVariableW(L"QUELLMO_RECORDER_OUT", path_.c_str());
    }
    ~RecorderOutput() { DeleteFileW(path_.c_str()); }

    std::wstring read() const
    {
        FILE* f = _wfopen(path_.c_str(), L"rb");
        if (!f)
            return L"";
        std::wstring text;
        wchar_t c;
        while (std::fread(&c, sizeof c, 1, f) == 1)
            text.push_back(c);
        std::fclose(f);
        return text;
    }

    // The arguments of the recorder's first start, waiting for it up to the deadline; false
    // when it did not start.
    bool waitForStart(std::vector<std::wstring>& arguments,
                      std::chrono::milliseconds deadline = std::chrono::milliseconds(15000)) const
    {
        const auto end = std::chrono::steady_clock::now() + deadline;
        for (;;) {
            std::vector<std::wstring> lines;
            const std::wstring text = read();
            for (std::size_t at = 0, newline; (newline = text.find(L'\n', at)) != std::wstring::npos; at = newline + 1)
                lines.push_back(text.substr(at, newline - at));
            if (!lines.empty() && lines.size() > std::stoul(lines[0])) {
                arguments.assign(lines.begin() + 1, lines.begin() + 1 + static_cast<std::ptrdiff_t>(std::stoul(lines[0])));
                return true;
            }
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

private:
    std::wstring path_;
};

} // namespace helptest
