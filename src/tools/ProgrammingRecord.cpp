#include "tools/ProgrammingRecord.h"

#include "link/UsbLink.h"
#include "protocol/SettingsBlocks.h"

namespace kes {

ProgrammingRecord lastProgramming;

void noteProgrammingSucceeded(const ModuleImage& written)
{
    ProgrammingRecord record;
    record.done = true;
    GetLocalTime(&record.when);
    record.interfaceSerial = usbLink.serialNumber;
    record.written = written;
    record.moduleInHand = true;
    lastProgramming = std::move(record);
}

ProgrammedState programmedState(const std::string& openSerial, const Settings& shown)
{
    if (!lastProgramming.done)
        return ProgrammedState::Never;
    if (!lastProgramming.moduleInHand)
        return ProgrammedState::OtherModule;
    if (!openSerial.empty() && openSerial != lastProgramming.interfaceSerial)
        return ProgrammedState::OtherInterface;
    // Settings the module holds the same however they are typed ("12" or "12.0" volts) count as shown.
    return sameSettings(imageOf(shown), lastProgramming.written) ? ProgrammedState::AsProgrammed
                                                                 : ProgrammedState::EditedSince;
}

} // namespace kes
