// The process entry: the main dialog is the whole program.
#include "support/TrustedLibrary.h"
#include "ui/ExceptionFilter.h"
#include "ui/Shell.h"

namespace {
// Installed by static construction, before the entry function runs. FTD2XX.dll may be loaded
// before the search is restricted (the link is built by static construction too): its loader
// restricts the search itself.
struct StartInstaller {
    StartInstaller()
    {
        kes::restrictLibrarySearch();
        kes::installUnhandledExceptionFilter();
    }
} startInstaller;
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    return kes::runMainDialog(instance);
}
