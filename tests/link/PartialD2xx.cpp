// A library that exports only some of the D2XX ordinals.
#include <windows.h>

extern "C" ULONG WINAPI partial_CreateDeviceInfoList(DWORD* count)
{
    *count = 1;
    return 0;
}

extern "C" ULONG WINAPI partial_GetDeviceInfoDetail(DWORD, DWORD*, DWORD*, DWORD*, DWORD*, void*, void*, void**)
{
    return 0;
}
