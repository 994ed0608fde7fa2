#include "tools/SettingsToProgram.h"

#include "model/DetachedSettings.h"
#include "model/Validation.h"

namespace kes {

SettingsToProgram settingsToProgram()
{
    SettingsToProgram s;
    {
        DetachedSettings copy(DetachedSettings::Start::CopyOfWindow);
        s.faults = collectSettingsFaults();
        if (s.faults.empty())
            s.configuration = gatherAsProgrammed();
    }
    if (!s.faults.empty())
        s.configuration = gatherAsProgrammed();
    return s;
}

} // namespace kes
