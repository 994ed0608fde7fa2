#include "ui/SystemMenu.h"

#include "link/UsbLink.h"
#include "tools/KeptConfiguration.h"
#include "tools/ModuleComparison.h"
#include "protocol/ModuleConfiguration.h"
#include "protocol/Programming.h"
#include "protocol/Reading.h"
#include "protocol/Supervision.h"
#include "storage/DataFile.h"
#include "ui/ComparisonDialog.h"
#include "ui/ConfigurationReportCommand.h"
#include "ui/ConnectionDiagnostics.h"

namespace kes {
namespace {

constexpr UINT systemCommandMask = 0xFFF0;  // the system keeps the low four bits

bool moduleAnswering() { return usbLink.isOpen() && usbLink.responding && !programmingPending(); }
bool configurationKept() { return moduleConfigurationAtConnect.has_value() && !programmingPending(); }
bool always() { return true; }
bool reportPossible() { return canSaveReport() && !programmingPending(); }

void compareWithModule(HWND dialog)
{
    ModuleImage module;
    bool read = false;
    {
        MainTimerStopped stopped(dialog);
        read = readModuleImage(module);
    }
    if (!read) {
        showReadError(dialog);
        return;
    }
    showComparisonDialog(dialog, compareWindowWith(module));
}

void restoreModuleSettings(HWND) { loadRecords(moduleConfigurationAtConnect->records); }

void saveModuleSettings(HWND dialog)
{
    // A copy: a reading job may run while the Save dialog is open.
    const std::wstring records = moduleConfigurationAtConnect->records;
    saveRecordsAsDataFile(dialog, records);
}

struct MenuCommand {
    SystemCommand id;
    const wchar_t* text;
    bool (*canRun)();
    void (*run)(HWND dialog);
};

const MenuCommand commands[] = {
    {SystemCommand::CompareWithModule, L"Porównaj z modułem…", &moduleAnswering, &compareWithModule},
    {SystemCommand::RestoreModuleSettings, L"Przywróć ustawienia odczytane z modułu", &configurationKept,
     &restoreModuleSettings},
    {SystemCommand::SaveModuleSettings, L"Zapisz kopię ustawień modułu…", &configurationKept, &saveModuleSettings},
    {SystemCommand::ConnectionDiagnostics, L"Diagnostyka połączenia…", &always, &showConnectionDiagnostics},
    {SystemCommand::ConfigurationReport, L"Raport konfiguracji…", &reportPossible, &saveConfigurationReport},
};

UINT idOf(const MenuCommand& c) { return static_cast<UINT>(c.id); }

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
    for (const MenuCommand& c : commands)
        EnableMenuItem(menu, idOf(c), MF_BYCOMMAND | (c.canRun() ? MF_ENABLED : MF_GRAYED));
}

bool runSystemCommand(HWND dialog, WPARAM wParam)
{
    const UINT id = static_cast<UINT>(wParam) & systemCommandMask;
    for (const MenuCommand& c : commands) {
        if (idOf(c) != id)
            continue;
        if (c.canRun())
            c.run(dialog);
        return true;
    }
    return false;
}

} // namespace kes
