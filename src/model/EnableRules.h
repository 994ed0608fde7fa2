#pragma once
// Which check boxes of the settings can be used, derived from the other check boxes.
// Every rule reads the check states (isChecked counts a box even while it is disabled)
// and stores its result in an availability field.
#include "model/Settings.h"

namespace model {

// The per-user rules, named after the right they make available.
enum class UserRule { Out, Temp, Pwr, Clip, Listen };

// userRight...Available of one user (0 to 4; other users are ignored).
void applyUserRule(UserRule rule, int user);
// The same rule for users 0 to 4 in turn.
void applyUserRuleForAll(UserRule rule);

// out2ByTempAvailable := out2Enabled and tempEnabled.
void applyOut2ByTempRule();
// smsUsersOnlyAvailable := out1Enabled or out2Enabled.
void applySmsUsersOnlyRule();

// Every rule once on a value, every availability worked out from the value's check boxes (as after
// the configuration has been read back).
void applyAvailabilityRules(kes::Settings& settings);

// The refresh after a click on a settings check box (the box has toggled itself).
// Returns false, doing nothing, for any ID that needs no refresh.
bool refreshOnClick(int controlId);

} // namespace model
