#include "model/Fields.h"

namespace kes {

Dependents Dependents::fromList(std::initializer_list<int> ids)
{
    Dependents result;
    auto it = ids.begin();
    for (; it != ids.end() && *it != kEndOfList; ++it)
        result.controls.push_back({*it, nullptr});
    result.onCount = result.controls.size();
    if (it != ids.end())
        ++it;
    for (; it != ids.end() && *it != kEndOfList; ++it)
        result.controls.push_back({*it, nullptr});
    return result;
}

void Dependents::attach(HWND dialog)
{
    for (BoundControl& control : controls)
        control.handle = GetDlgItem(dialog, control.id);
}

void Dependents::apply(bool value, bool ownerEnabled) const
{
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const bool enabled = ownerEnabled && ((i < onCount) == value);
        // Asking costs nothing; enabling goes through the window system even when nothing changes.
        if ((IsWindowEnabled(controls[i].handle) != FALSE) != enabled)
            EnableWindow(controls[i].handle, enabled ? TRUE : FALSE);
    }
}

} // namespace kes
