#include "support/HelpLauncher.h"

#include "support/ScopedWin.h"
#include "support/TrustedLibrary.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

namespace kes {
namespace {

// The shell and COM are loaded when a document is first opened: most runs never open one, and
// loading them with the program costs every start. They stay loaded until the program ends.
struct ShellCalls {
    using Initialise = HRESULT(WINAPI*)(LPVOID, DWORD);
    using Uninitialise = void(WINAPI*)();
    using Execute = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

    LoadedLibrary com{loadTrustedLibrary(L"ole32.dll")};
    LoadedLibrary shell{loadTrustedLibrary(L"shell32.dll")};
    Initialise initialise = exportedFunction<Initialise>(com.get(), "CoInitializeEx");
    Uninitialise uninitialise = exportedFunction<Uninitialise>(com.get(), "CoUninitialize");
    Execute execute = exportedFunction<Execute>(shell.get(), "ShellExecuteExW");
};

const ShellCalls& shellCalls()
{
    static const ShellCalls calls;
    return calls;
}

// The shell may hand the verb to an extension that runs on COM.
class ComScope {
public:
    ComScope()
        : initialised_(shellCalls().initialise &&
                       SUCCEEDED(shellCalls().initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
    {
    }
    ~ComScope()
    {
        if (initialised_ && shellCalls().uninitialise)
            shellCalls().uninitialise();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

} // namespace

bool openWithAssociatedApp(const std::wstring& documentPath)
{
    if (!shellCalls().execute)
        return false;
    ComScope com;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // NOASYNC: the shell has finished with the path when we return; NO_UI: failures stay silent.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = documentPath.c_str();
    info.nShow = SW_SHOWNORMAL;
    return shellCalls().execute(&info) != FALSE;
}

} // namespace kes
