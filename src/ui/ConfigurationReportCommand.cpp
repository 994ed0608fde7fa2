#include "ui/ConfigurationReportCommand.h"

#include "link/UsbLink.h"
#include "model/SettingsView.h"
#include "tools/ConfigurationReport.h"
#include "storage/AtomicFile.h"
#include "storage/FileDialogs.h"
#include "storage/Utf8Codecvt.h"
#include "support/HelpLauncher.h"
#include "support/MessageBox.h"
#include "ui/ProgramVersion.h"

#include <utility>

namespace kes {
namespace {

constexpr wchar_t filterDescription[] = L"Strona HTML (*.html)";
constexpr wchar_t defaultExtension[] = L"html";

ReportOpener& replacement()
{
    static ReportOpener opener;
    return opener;
}

} // namespace

bool canSaveReport()
{
    return true;
}

void saveConfigurationReport(HWND mainDialog)
{
    ReportFacts facts;
    facts.programVersion = programVersion();
    GetLocalTime(&facts.now);
    const std::string serial = usbLink.isOpen() ? usbLink.serialNumber : std::string();
    const auto path = askForSavePath(mainDialog, filterDescription, defaultExtension,
                                     defaultReportName(serial, facts.now));
    if (!path)
        return;
    // The time on the page is when it was written, not when the dialog opened.
    GetLocalTime(&facts.now);
    std::string bytes;
    if (!encodeUtf8(configurationReport(facts, windowSettings()), bytes) || !replaceFileContents(*path, bytes)) {
        showMessageBox(mainDialog, L"Nie można zapisać pliku: " + *path, L"Błąd zapisu pliku", MB_OK | MB_ICONERROR);
        return;
    }
    // Whether a browser starts or not, the file stays; a failure to open it says nothing.
    if (const auto& opener = replacement())
        opener(*path);
    else
        openWithAssociatedApp(*path);
}

ReportOpener setReportOpener(ReportOpener opener)
{
    return std::exchange(replacement(), std::move(opener));
}

} // namespace kes
