#include "tools/KeptEdits.h"

#include "protocol/JobEvents.h"
#include "storage/DataFile.h"

#include <optional>

namespace kes {
namespace {

class EditsKeeper final : public JobListener {
public:
    void settled() { settled_ = currentRecords(); }

    void beforeAutomaticReading() override
    {
        std::wstring now = currentRecords();
        if (now != settled_)
            kept_ = std::move(now);
    }
    // Even a reading that failed half-way has put the module's values in: they are no edits.
    void automaticReadingEnded(bool, const ModuleImage&) override { settled(); }
    void programmingEnded(bool succeeded, const ModuleImage&) override
    {
        if (succeeded)
            settled();
    }

    const std::wstring* kept() const { return kept_ ? &*kept_ : nullptr; }
    void forget()
    {
        settled_.clear();
        kept_.reset();
    }

private:
    std::wstring settled_;
    std::optional<std::wstring> kept_;
};

EditsKeeper& keeper()
{
    static EditsKeeper instance;
    return instance;
}

} // namespace

void noteSettingsSettled() { keeper().settled(); }

const std::wstring* keptEdits() { return keeper().kept(); }

void startKeepingEdits()
{
    keeper().settled();
    addJobListener(&keeper());
}

void stopKeepingEdits()
{
    removeJobListener(&keeper());
    keeper().forget();
}

} // namespace kes
