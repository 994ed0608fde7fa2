#pragma once
// The FTDI D2XX calls the link makes, as a table of function pointers bound by ordinal from FTD2XX.dll,
// and the library's version, asked for by name once when it is loaded.
// Tests fill a D2xxApi themselves (e.g. from the simulator) and never load a library.
#include "support/ScopedWin.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace kes {

using FT_HANDLE = void*;
using FT_STATUS = ULONG;

constexpr FT_STATUS ftOk = 0;
constexpr DWORD ftFlagOpened = 0x1;              // device info flags: open in some process already
constexpr DWORD ftErrorUnplugged = 5;            // FT_W32_GetLastError after the interface went away
constexpr DWORD ftPurgeTx = 4;
constexpr DWORD ftPurgeRx = 8;
constexpr std::size_t ftStringSize = 64;         // serial number and description buffers
// FT_W32_CreateFile's failure result (INVALID_HANDLE_VALUE).
inline FT_HANDLE ftInvalidHandle() { return INVALID_HANDLE_VALUE; }

// Export ordinals of FTD2XX.dll.
enum class D2xxOrdinal : WORD {
    CreateFile = 42,
    CloseDevice = 43,  // FT_W32_CloseHandle
    ReadFile = 44,
    WriteFile = 45,
    ClearCommError = 48,
    GetCommState = 51,
    GetLastError = 53,
    PurgeComm = 54,
    SetCommState = 57,
    CreateDeviceInfoList = 70,
    GetDeviceInfoDetail = 72,
};

// Optional, for the diagnostics: bound by its name, since no ordinal of it is known for sure and
// another function there would be called with the wrong arguments.
constexpr char libraryVersionExport[] = "FT_GetLibraryVersion";

struct D2xxApi {
    FT_STATUS(WINAPI* createDeviceInfoList)(DWORD* count) = nullptr;
    FT_STATUS(WINAPI* getDeviceInfoDetail)(DWORD index, DWORD* flags, DWORD* type, DWORD* id, DWORD* locId,
                                           void* serialNumber, void* description, FT_HANDLE* handle) = nullptr;
    FT_HANDLE(WINAPI* createFile)(LPCSTR name, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                                  DWORD creation, DWORD flagsAndAttributes, HANDLE templateFile) = nullptr;
    BOOL(WINAPI* closeHandle)(FT_HANDLE handle) = nullptr;
    BOOL(WINAPI* getCommState)(FT_HANDLE handle, DCB* dcb) = nullptr;
    BOOL(WINAPI* setCommState)(FT_HANDLE handle, DCB* dcb) = nullptr;
    BOOL(WINAPI* purgeComm)(FT_HANDLE handle, DWORD flags) = nullptr;
    BOOL(WINAPI* clearCommError)(FT_HANDLE handle, DWORD* errors, COMSTAT* status) = nullptr;
    BOOL(WINAPI* writeFile)(FT_HANDLE handle, void* buffer, DWORD size, DWORD* written, OVERLAPPED* overlapped) = nullptr;
    BOOL(WINAPI* readFile)(FT_HANDLE handle, void* buffer, DWORD size, DWORD* read, OVERLAPPED* overlapped) = nullptr;
    DWORD(WINAPI* getLastError)(FT_HANDLE handle) = nullptr;

    // The library's version as the vendor writes it, taken when the library was loaded; empty
    // when it has no version call or the call failed. The program works without it.
    std::wstring libraryVersion;

    // All eleven required entries bound; a partial table is treated as no library at all.
    bool valid() const;
};

// The file the table's functions were loaded from; empty for an empty table.
std::wstring libraryPath(const D2xxApi& api);

// A version as FT_GetLibraryVersion gives it, written as the vendor writes it: 0x00030215 is "3.02.15".
std::wstring libraryVersionText(DWORD version);

// Owns the loaded FTD2XX.dll, taken from the program's folder or the system folder only.
// A missing library or a missing export leaves api() empty (invalid).
class D2xxLibrary {
public:
    explicit D2xxLibrary(const wchar_t* fileName = L"FTD2XX.dll");

    const D2xxApi& api() const { return api_; }
    bool loaded() const { return api_.valid(); }

private:
    LoadedLibrary module_;
    D2xxApi api_;
};

// The process's FTD2XX.dll, loaded on first use and kept until exit.
const D2xxApi& systemD2xx();

} // namespace kes
