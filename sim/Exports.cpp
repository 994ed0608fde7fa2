// The D2XX entry points, answered by the active simulator.
#include "Simulator.h"

#include <cstdlib>

namespace qlvsim {

namespace {
Simulator* active = nullptr;

#ifdef QLV_SIM_DLL
std::wstring environment(const wchar_t* name)
{
    wchar_t value[1024];
    const DWORD length = GetEnvironmentVariableW(name, value, static_cast<DWORD>(sizeof(value) / sizeof(value[0])));
    return length > 0 && length < sizeof(value) / sizeof(value[0]) ? std::wstring(value, length) : std::wstring();
}

// The DLL's own simulator, set up from the environment the first time the program calls in.
Simulator* dllSimulator()
{
    static RealTime time;
    static Simulator simulator(time);
    static bool ready = false;
    if (!ready) {
        ready = true;
        const std::wstring journal = environment(L"QLV_SIM_JOURNAL");
        if (!journal.empty())
            simulator.setJournalFile(journal);
        const std::wstring scenario = environment(L"QLV_SIM_SCENARIO");
        std::string error;
        if (scenario.empty() || !loadScenario(simulator, scenario, &error)) {
            if (!error.empty())
                OutputDebugStringA(("qlv-sim: " + error + "\n").c_str());
            if (simulator.interfaceCount() == 0)
                simulator.addInterface();
        }
        const std::wstring state = environment(L"QLV_SIM_STATE");
        if (!state.empty())
            simulator.setStateFile(state);
    }
    return &simulator;
}
#endif

Simulator* current()
{
#ifdef QLV_SIM_DLL
    if (!active)
        active = dllSimulator();
#endif
    return active;
}
} // namespace

Simulator* setActiveSimulator(Simulator* simulator)
{
    Simulator* previous = active;
    active = simulator;
    return previous;
}

Simulator* activeSimulator()
{
    return current();
}

} // namespace qlvsim

using qlvsim::current;

extern "C" {

ULONG WINAPI qlvsim_FT_CreateDeviceInfoList(DWORD* count)
{
    if (auto* sim = current())
        return sim->createDeviceInfoList(count);
    if (count)
        *count = 0;
    return 0;
}

ULONG WINAPI qlvsim_FT_GetDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type, DWORD* id, DWORD* locId,
                                           void* serial, void* description, void** handle)
{
    auto* sim = current();
    return sim ? sim->getDeviceInfoDetail(index, flags, type, id, locId, serial, description, handle) : 2;
}

void* WINAPI qlvsim_FT_W32_CreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                                      DWORD creation, DWORD flags, HANDLE)
{
    auto* sim = current();
    return sim ? sim->createFile(name, access, share, creation, flags) : INVALID_HANDLE_VALUE;
}

BOOL WINAPI qlvsim_FT_W32_CloseHandle(void* handle)
{
    auto* sim = current();
    return sim ? sim->closeHandle(handle) : FALSE;
}

BOOL WINAPI qlvsim_FT_W32_GetCommState(void* handle, DCB* dcb)
{
    auto* sim = current();
    return sim ? sim->getCommState(handle, dcb) : FALSE;
}

BOOL WINAPI qlvsim_FT_W32_SetCommState(void* handle, DCB* dcb)
{
    auto* sim = current();
    return sim ? sim->setCommState(handle, dcb) : FALSE;
}

BOOL WINAPI qlvsim_FT_W32_PurgeComm(void* handle, DWORD flags)
{
    auto* sim = current();
    return sim ? sim->purgeComm(handle, flags) : FALSE;
}

BOOL WINAPI qlvsim_FT_W32_ClearCommError(void* handle, DWORD* errors, COMSTAT* status)
{
    auto* sim = current();
    return sim ? sim->clearCommError(handle, errors, status) : FALSE;
}

BOOL WINAPI qlvsim_FT_W32_WriteFile(void* handle, void* buffer, DWORD size, DWORD* written, OVERLAPPED*)
{
    auto* sim = current();
    return sim ? sim->writeFile(handle, buffer, size, written) : FALSE;
}

BOOL WINAPI qlvsim_FT_W32_ReadFile(void* handle, void* buffer, DWORD size, DWORD* read, OVERLAPPED*)
{
    auto* sim = current();
    return sim ? sim->readFile(handle, buffer, size, read) : FALSE;
}

DWORD WINAPI qlvsim_FT_W32_GetLastError(void* handle)
{
    auto* sim = current();
    return sim ? sim->getLastError(handle) : 1;
}

ULONG WINAPI qlvsim_FT_GetLibraryVersion(DWORD* version)
{
    auto* sim = current();
    return sim ? sim->getLibraryVersion(version) : 1;
}

} // extern "C"
