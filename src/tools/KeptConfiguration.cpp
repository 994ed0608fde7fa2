#include "tools/KeptConfiguration.h"

#include "model/Catalogue.h"

#include <sstream>

namespace kes {

std::optional<KeptConfiguration> moduleConfigurationAtConnect;

namespace {

std::wstring registryStreamForm()
{
    std::wostringstream records;
    settingsBufor.writeAll(records);
    return records.str();
}

SettingsSnapshot settingsSnapshot = &registryStreamForm;

} // namespace

void setSettingsSnapshot(SettingsSnapshot snapshot)
{
    settingsSnapshot = snapshot ? snapshot : &registryStreamForm;
}

void forgetConfigurationOfOtherInterface(const std::string& interfaceSerial)
{
    if (moduleConfigurationAtConnect && moduleConfigurationAtConnect->interfaceSerial != interfaceSerial)
        moduleConfigurationAtConnect.reset();
}

void keepConfigurationRead(const std::string& interfaceSerial)
{
    forgetConfigurationOfOtherInterface(interfaceSerial);
    if (moduleConfigurationAtConnect)
        return;
    KeptConfiguration kept;
    kept.interfaceSerial = interfaceSerial;
    GetLocalTime(&kept.readAt);
    kept.records = settingsSnapshot();
    moduleConfigurationAtConnect = std::move(kept);
}

} // namespace kes
