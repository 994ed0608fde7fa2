#include "model/DetachedSettings.h"

#include "model/Catalogue.h"

#include <functional>
#include <vector>

namespace kes {
namespace {

using Edit = EditControl::EditControlInternal;
using Option = OptionControl::OptionControlInternal;
using Enable = EnableControl::EnableControlInternal;
using Combo = ComboboxControl<int>::ComboboxControlInternal;

// Sets a value aside and puts it back.
template <class T>
std::function<void()> keep(T& value)
{
    return [&value, old = value] { value = old; };
}

void cutOff(HWND& handle, std::vector<std::function<void()>>& undo)
{
    undo.push_back(keep(handle));
    handle = nullptr;
}

void cutOff(Dependents& dependents, std::vector<std::function<void()>>& undo)
{
    for (BoundControl& c : dependents.controls)
        cutOff(c.handle, undo);
}

void keepBoundValue(InterfaceControl* control, std::vector<std::function<void()>>& undo)
{
    if (auto* edit = dynamic_cast<Edit*>(control))
        undo.push_back(keep(*edit->value));
    else if (auto* option = dynamic_cast<Option*>(control))
        undo.push_back(keep(*option->value));
    else if (auto* enable = dynamic_cast<Enable*>(control))
        undo.push_back(keep(*enable->value));
    else if (auto* combo = dynamic_cast<Combo*>(control))
        undo.push_back(keep(*combo->value));
}

void cutOffControls(InterfaceControl* control, std::vector<std::function<void()>>& undo)
{
    if (auto* edit = dynamic_cast<Edit*>(control)) {
        cutOff(edit->handle, undo);
    } else if (auto* option = dynamic_cast<Option*>(control)) {
        cutOff(option->handle, undo);
        cutOff(option->dependents, undo);
    } else if (auto* enable = dynamic_cast<Enable*>(control)) {
        cutOff(enable->dependents, undo);
    } else if (auto* combo = dynamic_cast<Combo*>(control)) {
        cutOff(combo->handle, undo);
    }
}

} // namespace

struct DetachedSettings::Saved {
    std::vector<std::function<void()>> undo;
};

DetachedSettings::DetachedSettings(Start start) : saved_(std::make_unique<Saved>())
{
    auto& undo = saved_->undo;
    for (std::size_t i = 0; i < settingsBufor.size(); ++i)
        keepBoundValue(settingsBufor.at(i), undo);
    // An availability field's bound value is its live value already; its fetch does nothing.
    if (start == Start::CopyOfWindow)
        for (std::size_t i = 0; i < settingsBufor.size(); ++i)
            settingsBufor.at(i)->fetch();
    for (std::size_t i = 0; i < settingsBufor.size(); ++i)
        cutOffControls(settingsBufor.at(i), undo);
}

DetachedSettings::~DetachedSettings()
{
    for (auto it = saved_->undo.rbegin(); it != saved_->undo.rend(); ++it)
        (*it)();
}

} // namespace kes
