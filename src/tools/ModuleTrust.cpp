#include "tools/ModuleTrust.h"

#include "link/UsbLink.h"
#include "protocol/JobEvents.h"
#include "protocol/SettingsBlocks.h"
#include "tools/KeptEdits.h"
#include "tools/ProgrammingRecord.h"

#include <optional>

namespace kes {
namespace {

class ModuleRecognition final : public JobListener {
public:
    void beforeAutomaticReading() override
    {
        recognised_ = false;
        lastProgramming.moduleInHand = false;
    }

    void automaticReadingEnded(bool complete, const ModuleImage& read) override
    {
        if (!complete)
            return;  // still unknown: the next complete reading decides
        const bool backAfterProgramming = lastProgramming.done &&
                                          lastProgramming.interfaceSerial == usbLink.serialNumber &&
                                          sameSettings(read, lastProgramming.written);
        const bool untouched = kept_ && sameSettings(read, kept_->image);
        lastProgramming.moduleInHand = backAfterProgramming;
        if (backAfterProgramming) {
            // Another module may have been read in between: the programmed one's copy comes back.
            kept_ = keptWhenProgrammed_;
        } else if (!untouched) {
            KeptConfiguration copy;
            GetLocalTime(&copy.readAt);
            copy.settings = settingsIn(read);
            fitToFields(copy.settings);
            copy.image = read;
            kept_ = std::move(copy);
        }
        recognised_ = true;
    }

    void programmingEnded(bool succeeded, const ModuleImage& written) override
    {
        if (!succeeded)
            return;
        noteProgrammingSucceeded(written);
        keptWhenProgrammed_ = recognised_ ? kept_ : std::nullopt;
    }

    const KeptConfiguration* kept() const { return recognised_ && kept_ ? &*kept_ : nullptr; }

    void forget()
    {
        kept_.reset();
        keptWhenProgrammed_.reset();
        recognised_ = true;
    }

private:
    std::optional<KeptConfiguration> kept_;
    std::optional<KeptConfiguration> keptWhenProgrammed_;  // what the programmed module held before
    bool recognised_ = true;
};

ModuleRecognition& recognition()
{
    static ModuleRecognition instance;
    return instance;
}

} // namespace

const KeptConfiguration* keptConfiguration() { return recognition().kept(); }

void followModuleJobs()
{
    addJobListener(&recognition());
    startKeepingEdits();
}

void stopFollowingModuleJobs()
{
    stopKeepingEdits();
    removeJobListener(&recognition());
    recognition().forget();
    lastProgramming = ProgrammingRecord();
}

} // namespace kes
