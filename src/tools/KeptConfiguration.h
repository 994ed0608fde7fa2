#pragma once
// What the connected module held before this program wrote anything to it: the settings
// read when it first answered, kept apart from the window so the user can go back to them.
// Neither programming nor a later read of the same module replaces them; a module on
// another interface (another serial number) does.
#include <windows.h>

#include <optional>
#include <string>

namespace kes {

struct KeptConfiguration {
    std::string interfaceSerial;
    SYSTEMTIME readAt{};   // local time of the read
    std::wstring records;  // the settings registry's stream form: a data file's text after its signature
};

// Empty until a reading job has read all sixteen blocks.
extern std::optional<KeptConfiguration> moduleConfigurationAtConnect;

// A module starts answering on the interface with this serial: settings kept from another
// interface no longer describe the module in hand.
void forgetConfigurationOfOtherInterface(const std::string& interfaceSerial);

// How the window's settings are written down for keeping. The shell sets the data file's own
// form (texts without the record marks), so that what is kept is exactly what "Zapisz" would
// write; without it, the registry's plain stream form.
using SettingsSnapshot = std::wstring (*)();
void setSettingsSnapshot(SettingsSnapshot snapshot);

// After a reading job succeeded: keeps the window's settings as this interface's module
// held them, unless that module's are kept already.
void keepConfigurationRead(const std::string& interfaceSerial);

} // namespace kes
