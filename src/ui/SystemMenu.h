#pragma once
// The main window's own commands in its system menu: comparing the window with the module,
// going back to what the module held when it was first read or to the edits an automatic
// reading replaced, the field tools, programming a series of modules, and the module archive.
#include <windows.h>

namespace kes {

enum class SystemCommand : UINT {
    CompareWithModule = 0x0110,
    RestoreModuleSettings = 0x0120,
    RestoreEditsBeforeReading = 0x0125,
    SaveModuleSettings = 0x0130,
    ConnectionDiagnostics = 0x0140,
    ConfigurationReport = 0x0150,
    SeriesProgramming = 0x0160,
    ModuleArchive = 0x0170,
};

// Appends a separator and the commands to the dialog's system menu.
void addSystemMenuCommands(HWND dialog);

// Greys the commands that cannot run now; does nothing for any menu but the dialog's system menu.
void updateSystemMenu(HWND dialog, HMENU menu);

// Runs one of the commands (a WM_SYSCOMMAND's wParam) when it can run now. True when the
// command is one of ours, whether it ran or not; false leaves it to the system.
bool runSystemCommand(HWND dialog, WPARAM wParam);

} // namespace kes
