#pragma once
// What the jobs tell the tools built on them: the module has started answering and its
// configuration is about to be read into the window, that reading has ended, a reading apart
// from the window has ended, a programming job has ended. Listeners are not owned; each removes itself before it goes away. All calls
// come on the dialog's thread, from inside the tick.
#include <vector>

namespace kes {

struct ModuleImage;

class JobListener {
public:
    // The window is about to be overwritten by the reading job that follows a module starting to answer.
    virtual void beforeAutomaticReading() {}
    // That reading job has ended; complete when all sixteen blocks were read into the window.
    virtual void automaticReadingEnded(bool /*complete*/, const ModuleImage& /*read*/) {}
    // A reading that leaves the window alone (a comparison's) has read all sixteen blocks.
    virtual void moduleImageRead(const ModuleImage& /*read*/) {}
    // A programming step has run: `step` 1..16, the block written and read back or not.
    virtual void programmingStepEnded(int /*step*/, bool /*ok*/) {}
    // The programming job has ended; succeeded when all sixteen blocks are held as sent.
    virtual void programmingEnded(bool /*succeeded*/, const ModuleImage& /*written*/) {}

protected:
    JobListener() = default;
    ~JobListener() = default;
    JobListener(const JobListener&) = default;
    JobListener& operator=(const JobListener&) = default;
};

void addJobListener(JobListener* listener);
void removeJobListener(JobListener* listener);

// For the jobs: every listener, in the order they were added.
const std::vector<JobListener*>& jobListeners();

// Calls event(listener) for each; a listener may remove itself meanwhile.
template <class Event>
void tellJobListeners(Event event)
{
    const std::vector<JobListener*> listeners = jobListeners();
    for (JobListener* listener : listeners)
        event(*listener);
}

} // namespace kes
