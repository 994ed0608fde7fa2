#include "link/D2xx.h"

#include "support/TrustedLibrary.h"

#include <cwchar>

namespace kes {

bool D2xxApi::valid() const
{
    return createDeviceInfoList && getDeviceInfoDetail && createFile && closeHandle && getCommState &&
           setCommState && purgeComm && clearCommError && writeFile && readFile && getLastError;
}

namespace {

template <class Fn>
bool bind(HMODULE module, D2xxOrdinal ordinal, Fn& target)
{
    target = exportedFunction<Fn>(module, MAKEINTRESOURCEA(static_cast<WORD>(ordinal)));
    return target != nullptr;
}

std::wstring askLibraryVersion(HMODULE module)
{
    using VersionCall = FT_STATUS(WINAPI*)(DWORD* version);
    const auto ask = exportedFunction<VersionCall>(module, libraryVersionExport);
    DWORD version = 0;
    if (!ask || ask(&version) != ftOk)
        return {};
    return libraryVersionText(version);
}

} // namespace

D2xxLibrary::D2xxLibrary(const wchar_t* fileName)
{
    // No "cannot find" dialog from the system when the library is missing.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    module_.reset(loadTrustedLibrary(fileName));
    SetErrorMode(previousMode);
    if (!module_)
        return;
    const HMODULE m = module_.get();
    D2xxApi api;
    const bool all = bind(m, D2xxOrdinal::CreateDeviceInfoList, api.createDeviceInfoList) &&
                     bind(m, D2xxOrdinal::GetDeviceInfoDetail, api.getDeviceInfoDetail) &&
                     bind(m, D2xxOrdinal::CreateFile, api.createFile) &&
                     bind(m, D2xxOrdinal::CloseDevice, api.closeHandle) &&
                     bind(m, D2xxOrdinal::GetCommState, api.getCommState) &&
                     bind(m, D2xxOrdinal::SetCommState, api.setCommState) &&
                     bind(m, D2xxOrdinal::PurgeComm, api.purgeComm) &&
                     bind(m, D2xxOrdinal::ClearCommError, api.clearCommError) &&
                     bind(m, D2xxOrdinal::WriteFile, api.writeFile) &&
                     bind(m, D2xxOrdinal::ReadFile, api.readFile) &&
                     bind(m, D2xxOrdinal::GetLastError, api.getLastError);
    if (all) {
        api.libraryVersion = askLibraryVersion(m);
        api_ = api;
    } else {
        module_.reset();
    }
}

std::wstring libraryPath(const D2xxApi& api)
{
    if (!api.createFile)
        return {};
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(api.createFile)), &module))
        return {};
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

std::wstring libraryVersionText(DWORD version)
{
    wchar_t text[16] = {};
    swprintf(text, 16, L"%X.%02X.%02X", static_cast<unsigned>((version >> 16) & 0xFF),
             static_cast<unsigned>((version >> 8) & 0xFF), static_cast<unsigned>(version & 0xFF));
    return text;
}

const D2xxApi& systemD2xx()
{
    // Built during the link's static construction, so it is destroyed after the link has closed.
    static const D2xxLibrary library;
    return library.api();
}

} // namespace kes
