#include "support/HelpLauncher.h"

#include <vector>
#include <windows.h>

namespace kes {
namespace {

const wchar_t classesKey[] = L"SOFTWARE\\Classes\\";
const wchar_t openCommandSuffix[] = L"\\shell\\open\\command";

class RegistryKey {
public:
    RegistryKey(HKEY root, const std::wstring& path)
    {
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RegistryKey()
    {
        if (key_)
            RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    explicit operator bool() const { return key_ != nullptr; }

    // The default value as text, cut at the size returned; empty on failure or when 0 bytes came.
    std::wstring defaultValue() const
    {
        DWORD bytes = 0;
        if (RegQueryValueExW(key_, nullptr, nullptr, nullptr, nullptr, &bytes) != ERROR_SUCCESS || bytes == 0)
            return {};
        // Values of any length fit: the buffer is as large as the registry says, plus a NUL.
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
        DWORD got = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        if (RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
                ERROR_SUCCESS ||
            got == 0)
            return {};
        std::wstring text(buffer.data(), got / sizeof(wchar_t));
        const auto end = text.find(L'\0');
        if (end != std::wstring::npos)
            text.resize(end);
        return text;
    }

private:
    HKEY key_ = nullptr;
};

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle()
    {
        if (h_)
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

private:
    HANDLE h_;
};

bool expandEnvironment(const std::wstring& text, std::wstring& expanded)
{
    DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0)
        return false;
    std::vector<wchar_t> buffer(needed + 1, L'\0');
    const DWORD got = ExpandEnvironmentStringsW(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0 || got > buffer.size())
        return false;
    expanded.assign(buffer.data());
    return true;
}

} // namespace

std::wstring buildCommandLine(const std::wstring& commandTemplate, const std::wstring& documentPath)
{
    const auto percent = commandTemplate.rfind(L'%');
    if (percent == std::wstring::npos)
        return commandTemplate + L'"' + documentPath + L'"';
    if (percent + 1 < commandTemplate.size() && commandTemplate[percent + 1] == L'1')
        return commandTemplate.substr(0, percent) + documentPath + commandTemplate.substr(percent + 2);
    return commandTemplate;
}

bool openWithAssociatedApp(const std::wstring& documentPath)
{
    const auto dot = documentPath.rfind(L'.');
    if (dot == std::wstring::npos)
        return false;
    const std::wstring extension = documentPath.substr(dot);

    std::wstring className;
    {
        RegistryKey key(HKEY_LOCAL_MACHINE, classesKey + extension);
        if (!key)
            return false;
        className = key.defaultValue();
    }
    if (className.empty())
        return false;

    std::wstring commandTemplate;
    {
        RegistryKey key(HKEY_LOCAL_MACHINE, classesKey + className + openCommandSuffix);
        if (!key)
            return false;
        commandTemplate = key.defaultValue();
    }
    if (commandTemplate.empty())
        return false;

    std::wstring expanded;
    if (!expandEnvironment(commandTemplate, expanded))
        return false;

    const std::wstring commandLine = buildCommandLine(expanded, documentPath);
    std::vector<wchar_t> writable(commandLine.begin(), commandLine.end());
    writable.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    Handle thread(process.hThread);
    Handle processHandle(process.hProcess);
    return true;
}

} // namespace kes
