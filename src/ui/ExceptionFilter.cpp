#include "ui/ExceptionFilter.h"

#include "support/MessageBox.h"

#include <cstdlib>
#include <exception>

namespace kes {

void reportProgramFault()
{
    showMessageBox(nullptr, L"Błąd w programie", L"Błąd", MB_ICONERROR);
}

LONG WINAPI unhandledExceptionFilter(EXCEPTION_POINTERS*)
{
    reportProgramFault();
    return EXCEPTION_EXECUTE_HANDLER;
}

namespace {
[[noreturn]] void reportAndEnd()
{
    reportProgramFault();
    std::_Exit(EXIT_FAILURE);
}
} // namespace

void installUnhandledExceptionFilter()
{
    SetUnhandledExceptionFilter(&unhandledExceptionFilter);
    // A C++ exception that leaves every handler ends in std::terminate, not in the filter.
    std::set_terminate(&reportAndEnd);
}

} // namespace kes
