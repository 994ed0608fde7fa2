#include "model/EnableRules.h"

#include "model/Catalogue.h"

namespace model {

namespace {

bool validUser(int user)
{
    return user >= 0 && user < ids::kUserCount;
}

// The rules themselves, on the check states.
bool outAvailable(bool active, bool anyOutput, bool smsUsersOnly) { return active && anyOutput && smsUsersOnly; }
bool tempAvailable(bool active, bool temp, bool smsOn, bool smsOff) { return active && temp && (smsOn || smsOff); }
bool pwrAvailable(bool active, bool power) { return active && power; }
bool clipAvailable(bool active, bool out1, bool byClip, bool usersOnly) { return active && out1 && byClip && usersOnly; }
bool listenAvailable(bool active, bool out1, bool byClip, bool usersOnly)
{
    return active && (!(byClip && out1) || usersOnly);
}

bool anyOutputEnabled()
{
    // Both boxes are read so that both re-apply their dependents.
    const bool out1 = out1Enabled.isChecked();
    const bool out2 = out2Enabled.isChecked();
    return out1 || out2;
}

} // namespace

void applyUserRule(UserRule rule, int user)
{
    if (!validUser(user))
        return;
    const bool active = userActive[user].isChecked();
    switch (rule) {
    case UserRule::Out: {
        const bool outputs = anyOutputEnabled();
        userRightOutAvailable[user].setEnabled(outAvailable(active, outputs, smsUsersOnly.isChecked()));
        break;
    }
    case UserRule::Temp: {
        const bool temp = tempEnabled.isChecked();
        const bool smsOn = tempSmsOn.isChecked();
        const bool smsOff = tempSmsOff.isChecked();
        userRightTempAvailable[user].setEnabled(tempAvailable(active, temp, smsOn, smsOff));
        break;
    }
    case UserRule::Pwr:
        userRightPwrAvailable[user].setEnabled(pwrAvailable(active, powerEnabled.isChecked()));
        break;
    case UserRule::Clip: {
        const bool out1 = out1Enabled.isChecked();
        const bool byClip = out1ByClip.isChecked();
        const bool usersOnly = out1ClipUsersOnly.isChecked();
        userRightClipAvailable[user].setEnabled(clipAvailable(active, out1, byClip, usersOnly));
        break;
    }
    case UserRule::Listen: {
        const bool byClip = out1ByClip.isChecked();
        const bool out1 = out1Enabled.isChecked();
        const bool usersOnly = out1ClipUsersOnly.isChecked();
        userRightListenAvailable[user].setEnabled(listenAvailable(active, out1, byClip, usersOnly));
        break;
    }
    }
}

void applyUserRuleForAll(UserRule rule)
{
    for (int user = 0; user < ids::kUserCount; ++user)
        applyUserRule(rule, user);
}

void applyOut2ByTempRule()
{
    const bool out2 = out2Enabled.isChecked();
    const bool temp = tempEnabled.isChecked();
    out2ByTempAvailable.setEnabled(out2 && temp);
}

void applySmsUsersOnlyRule()
{
    smsUsersOnlyAvailable.setEnabled(anyOutputEnabled());
}

void applyAvailabilityRules(kes::Settings& s)
{
    const bool anyOutput = s.out1Enabled || s.out2Enabled;
    s.out2ByTempAvailable = s.out2Enabled && s.tempEnabled;
    s.smsUsersOnlyAvailable = anyOutput;
    for (kes::UserSettings& u : s.users) {
        u.rightTempAvailable = tempAvailable(u.active, s.tempEnabled, s.tempSmsOn, s.tempSmsOff);
        u.rightPwrAvailable = pwrAvailable(u.active, s.powerEnabled);
        u.rightClipAvailable = clipAvailable(u.active, s.out1Enabled, s.out1ByClip, s.out1ClipUsersOnly);
        u.rightListenAvailable = listenAvailable(u.active, s.out1Enabled, s.out1ByClip, s.out1ClipUsersOnly);
        u.rightOutAvailable = outAvailable(u.active, anyOutput, s.smsUsersOnly);
    }
}

namespace {

void refresh(std::initializer_list<kes::OptionControl*> boxes)
{
    for (kes::OptionControl* box : boxes)
        box->isChecked();
}

bool refreshUserRow(int controlId)
{
    for (int user = 0; user < ids::kUserCount; ++user) {
        if (controlId == ids::userId(user, ids::UserOffset::Active)) {
            for (UserRule rule : {UserRule::Out, UserRule::Temp, UserRule::Pwr, UserRule::Clip, UserRule::Listen})
                applyUserRule(rule, user);
            userTimedRights[user].isChecked();
            return true;
        }
        if (controlId == ids::userId(user, ids::UserOffset::TimedRights)) {
            userTimedRights[user].isChecked();
            return true;
        }
    }
    return false;
}

} // namespace

bool refreshOnClick(int controlId)
{
    switch (controlId) {
    case ids::in1Enabled:
        refresh({&in1Enabled, &in1SmsOn, &in1SmsOff});
        return true;
    case ids::in1SmsOn:
        refresh({&in1SmsOn});
        return true;
    case ids::in1SmsOff:
        refresh({&in1SmsOff});
        return true;
    case ids::in2Enabled:
        refresh({&in2Enabled, &in2SmsOn, &in2SmsOff});
        return true;
    case ids::in2SmsOn:
        refresh({&in2SmsOn});
        return true;
    case ids::in2SmsOff:
        refresh({&in2SmsOff});
        return true;
    case ids::out1Enabled:
        refresh({&out1Enabled, &out1ByInput, &out1InputTimed, &out1ByClip});
        applyUserRuleForAll(UserRule::Clip);
        applyUserRuleForAll(UserRule::Listen);
        applySmsUsersOnlyRule();
        applyUserRuleForAll(UserRule::Out);
        refresh({&out1ClipTimed});
        return true;
    case ids::out1ByInput:
        refresh({&out1ByInput, &out1InputTimed});
        return true;
    case ids::out1InputTimed:
        refresh({&out1InputTimed});
        return true;
    case ids::out1ClipTimed:
        refresh({&out1ClipTimed});
        return true;
    case ids::out2InputTimed:
        refresh({&out2InputTimed});
        return true;
    case ids::out2ByTemp:
        refresh({&out2ByTemp});
        return true;
    case ids::out1ByClip:
        refresh({&out1ByClip});
        applyUserRuleForAll(UserRule::Clip);
        applyUserRuleForAll(UserRule::Listen);
        refresh({&out1ClipTimed});
        return true;
    case ids::out1ClipUsersOnly:
        applyUserRuleForAll(UserRule::Clip);
        applyUserRuleForAll(UserRule::Listen);
        return true;
    case ids::smsUsersOnly:
        applyUserRuleForAll(UserRule::Out);
        return true;
    case ids::out2Enabled:
        refresh({&out2Enabled, &out2ByInput, &out2InputTimed, &out2ByTemp});
        applyUserRuleForAll(UserRule::Temp);
        applyOut2ByTempRule();
        applySmsUsersOnlyRule();
        applyUserRuleForAll(UserRule::Out);
        return true;
    case ids::out2ByInput:
        refresh({&out2ByInput, &out2InputTimed});
        return true;
    case ids::tempEnabled:
        refresh({&tempEnabled});
        applyUserRuleForAll(UserRule::Temp);
        applyOut2ByTempRule();
        refresh({&out2ByTemp});
        return true;
    case ids::tempSmsOn:
    case ids::tempSmsOff:
        applyUserRuleForAll(UserRule::Temp);
        return true;
    case ids::powerEnabled:
        refresh({&powerEnabled});
        applyUserRuleForAll(UserRule::Pwr);
        return true;
    default:
        return refreshUserRow(controlId);
    }
}

} // namespace model
