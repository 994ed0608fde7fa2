// The process entry: the main dialog is the whole program.
#include "ui/ExceptionFilter.h"
#include "ui/Shell.h"

namespace {
// Installed by static construction, before the entry function runs.
struct FilterInstaller {
    FilterInstaller() { kes::installUnhandledExceptionFilter(); }
} filterInstaller;
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return kes::runMainDialog(instance);
}
