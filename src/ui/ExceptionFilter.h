#pragma once
// The last resort: a failure nothing else handled is reported before the process ends.
#include <windows.h>

namespace kes {

LONG WINAPI unhandledExceptionFilter(EXCEPTION_POINTERS* exception);

// Shows "Błąd w programie" (caption "Błąd", error icon), with no owner.
void reportProgramFault();

// Installs the filter and a terminate handler that reports the same way.
void installUnhandledExceptionFilter();

} // namespace kes
