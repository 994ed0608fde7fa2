#pragma once
// A dialog of which the program runs one copy at a time: asked for again while it runs, the
// running copy comes to the front instead. The shell brings every running one up to date after
// each tick of the main window.
#include "ui/Dialog.h"

#include <vector>

namespace kes {

class SingleDialog : public Dialog {
public:
    // What runAlone returns when a copy of the same kind was running already.
    static constexpr INT_PTR alreadyRunning = -3;

    // The running copy of a kind, from the start of its runAlone to its end; else null.
    template <class Kind>
    static Kind* running()
    {
        for (SingleDialog* copy : copies())
            if (auto* found = dynamic_cast<Kind*>(copy))
                return found;
        return nullptr;
    }
    // Its window while it runs (not once it has been told to end), else null.
    template <class Kind>
    static HWND runningWindow()
    {
        const Kind* copy = running<Kind>();
        return copy && copy->isRunning() ? copy->window() : nullptr;
    }

    // Refreshes every running copy, each as a handler of its own dialog.
    static void refreshAll();

    // Runs this copy modally unless one of its kind runs; that one is brought to the front.
    INT_PTR runAlone(HWND owner);

protected:
    using Dialog::Dialog;
    // After each tick of the main window while this copy runs.
    virtual void refresh() {}

private:
    static std::vector<SingleDialog*>& copies();
};

} // namespace kes
