#pragma once
// Loading a DLL by its name from the program's own folder or the system folder only. The
// ordinary search also looks in the current folder and along PATH, where anyone may have put a
// file of that name that would then run inside the program.
#include <windows.h>

namespace kes {

// Null when the library is in neither folder or does not load.
HMODULE loadTrustedLibrary(const wchar_t* fileName);

// A function the library exports, as the type it has; null when the library or the export is missing.
template <class Function>
Function exportedFunction(HMODULE library, const char* name)
{
    const FARPROC found = library ? GetProcAddress(library, name) : nullptr;
    // Through the generic function type, which the compiler accepts for any function.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// Makes the same two folders the only ones searched for every library the process loads later,
// whoever loads it. Does nothing on a system that cannot restrict the search (Windows 7 without
// its loader update).
void restrictLibrarySearch();

} // namespace kes
