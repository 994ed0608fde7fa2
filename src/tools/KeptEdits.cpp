#include "tools/KeptEdits.h"

#include "model/SettingsView.h"
#include "protocol/JobEvents.h"

#include <optional>

namespace kes {
namespace {

class EditsKeeper final : public JobListener {
public:
    void settled() { settled_ = windowSettings(); }

    void beforeAutomaticReading() override
    {
        if (series_)
            return;
        Settings now = windowSettings();
        if (now != settled_)
            kept_ = std::move(now);
    }
    // A file's settings put in place of the window's.
    void replaced(const Settings& before)
    {
        if (before != settled_)
            kept_ = before;
    }
    // Even a reading that failed half-way has put the module's values in: they are no edits.
    void automaticReadingEnded(bool, const ModuleImage&) override { settled(); }
    void programmingEnded(bool succeeded, const ModuleImage&) override
    {
        if (succeeded)
            settled();
    }

    const Settings* kept() const { return kept_ ? &*kept_ : nullptr; }
    void forget()
    {
        settled_ = Settings();
        kept_.reset();
        series_ = false;
        leftBySeries_.reset();
    }
    // A series started again over the module the last one left in the window keeps the user's.
    void seriesStarts(const Settings& atStart)
    {
        if (!leftBySeries_ || atStart != *leftBySeries_)
            kept_ = atStart;
        series_ = true;
    }
    void seriesEnds()
    {
        series_ = false;
        settled();
        leftBySeries_ = settled_;
    }

private:
    bool series_ = false;
    std::optional<Settings> leftBySeries_;
    Settings settled_;
    std::optional<Settings> kept_;
};

EditsKeeper& keeper()
{
    static EditsKeeper instance;
    return instance;
}

} // namespace

void noteSettingsSettled() { keeper().settled(); }

void noteSettingsReplaced(const Settings& before) { keeper().replaced(before); }

const Settings* keptEdits() { return keeper().kept(); }

void keepEditsThroughSeries(const Settings& atStart) { keeper().seriesStarts(atStart); }

void seriesEnded() { keeper().seriesEnds(); }

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
