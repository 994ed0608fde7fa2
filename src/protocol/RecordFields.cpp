#include "protocol/RecordFields.h"

#include "model/Catalogue.h"

namespace kes {

InputsRecord gatherInputs()
{
    InputsRecord r;
    r.accessCode = ::accessCode.getText();
    r.simPin = ::simPin.getText();

    InputChannel& one = r.channel[0];
    one.enabled = ::in1Enabled.isChecked();
    one.wiring = ::in1Wiring.getSelection();
    one.time = ::in1Time.getInt();
    one.smsOn = ::in1SmsOn.isChecked();
    one.smsOff = ::in1SmsOff.isChecked();
    // Output 1 goes out as "follows" only when it is not timed; output 2 is sent as it is.
    const bool out1Timed = ::out1InputTimed.isChecked();
    one.outputFollows = ::out1ByInput.isChecked() && !out1Timed;
    one.outputTimed = out1Timed;
    one.outputTime = ::out1InputTime.getInt();

    InputChannel& two = r.channel[1];
    two.enabled = ::in2Enabled.isChecked();
    two.wiring = ::in2Wiring.getSelection();
    two.time = ::in2Time.getInt();
    two.smsOn = ::in2SmsOn.isChecked();
    two.smsOff = ::in2SmsOff.isChecked();
    two.outputFollows = ::out2ByInput.isChecked();
    two.outputTimed = ::out2InputTimed.isChecked();
    two.outputTime = ::out2InputTime.getInt();
    return r;
}

AlarmsRecord gatherAlarms()
{
    AlarmsRecord r;
    r.tempEnabled = ::tempEnabled.isChecked();
    r.out2ByTemp = ::out2ByTemp.isChecked();
    r.alwaysTrue = true;
    r.tempSmsOn = ::tempSmsOn.isChecked();
    r.tempSmsOff = ::tempSmsOff.isChecked();
    r.tempMax = ::tempMax.getInt();
    r.tempMin = ::tempMin.getInt();
    r.out1ByClip = ::out1ByClip.isChecked();
    r.clipUsersOnly = ::out1ClipUsersOnly.isChecked();
    r.clipTimed = ::out1ClipTimed.isChecked();
    r.clipTime = ::out1ClipTime.getInt();
    r.smsUsersOnly = ::smsUsersOnly.isChecked();
    r.powerEnabled = ::powerEnabled.isChecked();
    r.powerMax = ::powerMax.getDouble();
    r.powerMin = ::powerMin.getDouble();
    return r;
}

UserRecord gatherUser(int u)
{
    if (::userRightListen[u].isChecked())
        ::userRightClip[u].setChecked(false);
    return userAsProgrammed(u);
}

UserRecord userAsProgrammed(int u)
{
    UserRecord r;
    r.enabled = ::userActive[u].isChecked();
    r.phone = ::userPhone[u].getText();
    r.notifyMode = ::userNotify[u].getSelection();
    r.rightOut = ::userRightOut[u].isChecked();
    r.rightTemp = ::userRightTemp[u].isChecked();
    r.rightPwr = ::userRightPwr[u].isChecked();
    r.rightListen = ::userRightListen[u].isChecked();
    r.rightClip = ::userRightClip[u].isChecked() && !r.rightListen;
    r.rightMessenger = ::userRightMessenger[u].isChecked();
    r.timedRights = ::userTimedRights[u].isChecked();
    r.hours = ::userRightsHours[u].getInt();
    return r;
}

void putInputs(const InputsRecord& r)
{
    const InputChannel& one = r.channel[0];
    const InputChannel& two = r.channel[1];
    ::accessCode.setText(r.accessCode);
    ::simPin.setText(r.simPin);
    ::in1Enabled.setChecked(one.enabled);
    ::in1Wiring.setSelection(one.wiring);
    ::in1Time.setInt(one.time);
    ::in1SmsOn.setChecked(one.smsOn);
    ::in1SmsOff.setChecked(one.smsOff);
    ::out1ByInput.setChecked(one.outputFollows);
    ::out1InputTimed.setChecked(one.outputTimed);
    ::out1InputTime.setInt(one.outputTime);
    ::in2Enabled.setChecked(two.enabled);
    ::in2Wiring.setSelection(two.wiring);
    ::in2Time.setInt(two.time);
    ::in2SmsOn.setChecked(two.smsOn);
    ::in2SmsOff.setChecked(two.smsOff);
    ::out2ByInput.setChecked(two.outputFollows);
    ::out2InputTimed.setChecked(two.outputTimed);
    ::out2InputTime.setInt(two.outputTime);
}

void putAlarms(const AlarmsRecord& r)
{
    ::tempEnabled.setChecked(r.tempEnabled);
    ::out2ByTemp.setChecked(r.out2ByTemp);
    ::tempSmsOn.setChecked(r.tempSmsOn);
    ::tempSmsOff.setChecked(r.tempSmsOff);
    ::tempMax.setInt(r.tempMax);
    ::tempMin.setInt(r.tempMin);
    ::out1ByClip.setChecked(r.out1ByClip);
    ::out1ClipUsersOnly.setChecked(r.clipUsersOnly);
    ::out1ClipTimed.setChecked(r.clipTimed);
    ::out1ClipTime.setInt(r.clipTime);
    ::smsUsersOnly.setChecked(r.smsUsersOnly);
    ::powerEnabled.setChecked(r.powerEnabled);
    ::powerMax.setDouble(r.powerMax);
    ::powerMin.setDouble(r.powerMin);
}

void putUser(int u, const UserRecord& r)
{
    ::userActive[u].setChecked(r.enabled);
    ::userPhone[u].setText(r.enabled ? r.phone : std::wstring());
    ::userNotify[u].setSelection(r.notifyMode);
    ::userRightOut[u].setChecked(r.rightOut);
    ::userRightTemp[u].setChecked(r.rightTemp);
    ::userRightPwr[u].setChecked(r.rightPwr);
    ::userRightClip[u].setChecked(r.rightClip);
    ::userRightListen[u].setChecked(r.rightListen);
    ::userRightMessenger[u].setChecked(r.rightMessenger);
    ::userTimedRights[u].setChecked(r.timedRights);
    ::userRightsHours[u].setInt(r.hours);
}

EditControl& textField(std::uint8_t block)
{
    switch (static_cast<ConfigBlock>(block)) {
    case ConfigBlock::In2Name: return ::in2Name;
    case ConfigBlock::Out1Name: return ::out1Name;
    case ConfigBlock::Out2Name: return ::out2Name;
    case ConfigBlock::TempName: return ::tempName;
    case ConfigBlock::In1SmsOnText: return ::in1SmsOnText;
    case ConfigBlock::In2SmsOnText: return ::in2SmsOnText;
    case ConfigBlock::In1SmsOffText: return ::in1SmsOffText;
    case ConfigBlock::In2SmsOffText: return ::in2SmsOffText;
    case ConfigBlock::In1Name:
    default: return ::in1Name;
    }
}

} // namespace kes
