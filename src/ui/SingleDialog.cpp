#include "ui/SingleDialog.h"

#include <algorithm>
#include <typeinfo>

namespace kes {

std::vector<SingleDialog*>& SingleDialog::copies()
{
    static std::vector<SingleDialog*> running;
    return running;
}

void SingleDialog::refreshAll()
{
    // A refresh may run a modal loop in which another copy starts or ends: each is looked up again.
    const std::vector<SingleDialog*> now = copies();
    for (SingleDialog* copy : now) {
        const auto& still = copies();
        if (std::find(still.begin(), still.end(), copy) != still.end() && copy->isRunning())
            copy->runAsHandler([copy] { copy->refresh(); });
    }
}

INT_PTR SingleDialog::runAlone(HWND owner)
{
    for (SingleDialog* copy : copies())
        if (typeid(*copy) == typeid(*this)) {
            if (HWND shown = copy->window())
                SetForegroundWindow(shown);
            return alreadyRunning;
        }
    copies().push_back(this);
    // runModal lets no exception out: the copy is always taken off the list again.
    const INT_PTR result = runModal(owner);
    copies().erase(std::find(copies().begin(), copies().end(), this));
    return result;
}

} // namespace kes
