#include "protocol/KeptConfiguration.h"

#include "model/Catalogue.h"

#include <sstream>

namespace kes {

std::optional<KeptConfiguration> moduleConfigurationAtConnect;

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
    std::wostringstream records;
    settingsBufor.writeAll(records);
    kept.records = records.str();
    moduleConfigurationAtConnect = std::move(kept);
}

} // namespace kes
