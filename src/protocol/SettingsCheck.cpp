#include "protocol/SettingsCheck.h"

#include "model/SettingsView.h"
#include "model/Validation.h"
#include "protocol/Notices.h"

namespace kes {

bool checkWindowSettings(HWND owner)
{
    const ValidatedSettings validated = validateSettings(windowSettings());
    showSettings(validated.settings);
    if (validated.faults.empty())
        return true;
    tellUser(owner, Notice::SettingsFaults, validated.faults);
    return false;
}

} // namespace kes
