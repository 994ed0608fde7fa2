#include "tools/ModuleTrust.h"

#include "link/UsbLink.h"
#include "protocol/JobEvents.h"
#include "protocol/ModuleImage.h"
#include "tools/KeptConfiguration.h"
#include "tools/ProgrammingRecord.h"

namespace kes {
namespace {

class Follower final : public JobListener {
public:
    void beforeAutomaticReading() override { forgetConfigurationOfOtherInterface(usbLink.serialNumber); }
    void automaticReadingEnded(bool complete, const ModuleImage&) override
    {
        if (complete)
            keepConfigurationRead(usbLink.serialNumber);
    }
    void programmingEnded(bool succeeded, const ModuleImage&) override
    {
        if (succeeded)
            noteProgrammingSucceeded();
    }
};

Follower follower;

} // namespace

void followModuleJobs() { addJobListener(&follower); }
void stopFollowingModuleJobs() { removeJobListener(&follower); }

} // namespace kes
