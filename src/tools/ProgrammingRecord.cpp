#include "tools/ProgrammingRecord.h"

#include "link/UsbLink.h"
#include "model/Catalogue.h"

#include <sstream>

namespace kes {

ProgrammingRecord lastProgramming;

std::wstring currentSettingsForm()
{
    std::wostringstream form;
    settingsBufor.writeAll(form);
    return form.str();
}

void noteProgrammingSucceeded()
{
    ProgrammingRecord record;
    record.done = true;
    GetLocalTime(&record.when);
    record.interfaceSerial = usbLink.serialNumber;
    record.settings = currentSettingsForm();
    lastProgramming = std::move(record);
}

ProgrammedState programmedState(const std::string& openSerial)
{
    if (!lastProgramming.done)
        return ProgrammedState::Never;
    if (!openSerial.empty() && openSerial != lastProgramming.interfaceSerial)
        return ProgrammedState::OtherInterface;
    return currentSettingsForm() == lastProgramming.settings ? ProgrammedState::AsProgrammed
                                                             : ProgrammedState::EditedSince;
}

} // namespace kes
