#include "ui/SystemMenu.h"

#include "tools/KeptEdits.h"
#include "tools/ModuleArchive.h"
#include "tools/ModuleComparison.h"
#include "tools/ModuleTrust.h"
#include "tools/SeriesStation.h"
#include "protocol/Programming.h"
#include "model/SettingsView.h"
#include "storage/DataFile.h"
#include "ui/ArchiveDialog.h"
#include "ui/ComparisonDialog.h"
#include "ui/ConfigurationReportCommand.h"
#include "ui/ConnectionDiagnostics.h"
#include "ui/SeriesDialog.h"

#include <cwchar>
#include <string>

namespace kes {
namespace {

constexpr UINT systemCommandMask = 0xFFF0;  // the system keeps the low four bits

// A series puts its own settings into the window module after module.
bool noJobRuns() { return !programmingPending() && !seriesRunning(); }
bool configurationKept() { return keptConfiguration() && noJobRuns(); }
bool editsKept() { return keptEdits() && noJobRuns(); }
bool always() { return true; }
bool reportPossible() { return canSaveReport() && !programmingPending(); }
bool seriesPossible() { return !programmingPending(); }

void compareWithModule(HWND dialog)
{
    if (const auto module = readModuleToCompare(dialog, dialog))
        showComparisonDialog(dialog, compareWindowWith(*module));
}

void restoreModuleSettings(HWND) { showSettings(keptConfiguration()->settings); }
void restoreEdits(HWND) { showSettings(*keptEdits()); }

void saveModuleSettings(HWND dialog)
{
    // A copy: a reading job may run while the Save dialog is open.
    const Settings settings = keptConfiguration()->settings;
    saveSettingsAsDataFile(dialog, settings);
}

// "Przywróć ustawienia odczytane z modułu (14:32)": when the kept copy was read.
std::wstring restoreModuleSettingsText(const wchar_t* text)
{
    const KeptConfiguration* kept = keptConfiguration();
    if (!kept)
        return text;
    wchar_t time[16] = {};
    swprintf(time, 16, L" (%02u:%02u)", kept->readAt.wHour, kept->readAt.wMinute);
    return std::wstring(text) + time;
}

struct MenuCommand {
    SystemCommand id;
    const wchar_t* text;
    bool (*canRun)();
    void (*run)(HWND dialog);
    std::wstring (*textNow)(const wchar_t* text) = nullptr;  // a text that changes with the state
};

const MenuCommand commands[] = {
    {SystemCommand::CompareWithModule, L"Porównaj z modułem…", &moduleFreeToCompare, &compareWithModule},
    {SystemCommand::RestoreModuleSettings, L"Przywróć ustawienia odczytane z modułu", &configurationKept,
     &restoreModuleSettings, &restoreModuleSettingsText},
    {SystemCommand::RestoreEditsBeforeReading, L"Przywróć zmiany sprzed odczytu", &editsKept, &restoreEdits},
    {SystemCommand::SaveModuleSettings, L"Zapisz kopię ustawień modułu…", &configurationKept, &saveModuleSettings},
    {SystemCommand::ConnectionDiagnostics, L"Diagnostyka połączenia…", &always, &showConnectionDiagnostics},
    {SystemCommand::ConfigurationReport, L"Raport konfiguracji…", &reportPossible, &saveConfigurationReport},
    {SystemCommand::SeriesProgramming, L"Programowanie seryjne…", &seriesPossible, &showSeriesDialog},
    {SystemCommand::ModuleArchive, L"Archiwum modułów…", &always, &showArchiveDialog},
};

UINT idOf(const MenuCommand& c) { return static_cast<UINT>(c.id); }

const MenuCommand* findCommand(UINT id)
{
    for (const MenuCommand& c : commands)
        if (idOf(c) == id)
            return &c;
    return nullptr;
}

} // namespace

void addSystemMenuCommands(HWND dialog)
{
    HMENU menu = GetSystemMenu(dialog, FALSE);
    if (!menu)
        return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (const MenuCommand& c : commands)
        AppendMenuW(menu, MF_STRING, idOf(c), c.text);
}

void updateSystemMenu(HWND dialog, HMENU menu)
{
    if (!menu || menu != GetSystemMenu(dialog, FALSE))
        return;
    for (const MenuCommand& c : commands) {
        const UINT state = c.canRun() ? MF_ENABLED : MF_GRAYED;
        if (c.textNow)
            ModifyMenuW(menu, idOf(c), MF_BYCOMMAND | MF_STRING | state, idOf(c), c.textNow(c.text).c_str());
        else
            EnableMenuItem(menu, idOf(c), MF_BYCOMMAND | state);
    }
}

bool runSystemCommand(HWND dialog, WPARAM wParam)
{
    // Our own items come back with their whole ID (0x0125 is one); the system's own commands
    // carry flags in the low four bits.
    const UINT exact = static_cast<UINT>(wParam);
    const MenuCommand* c = findCommand(exact);
    if (!c && (exact & ~systemCommandMask) != 0)
        c = findCommand(exact & systemCommandMask);
    if (!c)
        return false;
    if (c->canRun())
        c->run(dialog);
    return true;
}

} // namespace kes
