// The catalogue. Everything here is built by static construction in this one
// translation unit, so the order of definition is the order of the registries and
// therefore of the records in a data file. Do not reorder.
#include "model/Catalogue.h"

#include "model/Settings.h"

using ids::kUserCount;
using ids::UserOffset;

namespace {
constexpr int kEnd = kes::kEndOfList;
constexpr int kNone = kes::kNoControl;

constexpr int u(int user, UserOffset offset)
{
    return ids::userId(user, offset);
}

// The defaults are a default value's.
const kes::Settings kDefaults;
const kes::UserSettings& kUser = kDefaults.users[0];
} // namespace

kes::ControlBufor settingsBufor;
kes::ControlBufor statusBufor;

const wchar_t* const kLinkStatusInitialText = L"podłącz QLV-3 USB";

// Access and inputs.
kes::EditControl accessCode{kDefaults.accessCode, &settingsBufor, ids::accessCode, kes::lengths::code};
kes::EditControl simPin{kDefaults.simPin, &settingsBufor, ids::simPin, kes::lengths::code};
kes::OptionControl in1Enabled{&settingsBufor, ids::in1Enabled,
                              {ids::in1Name, ids::in1Wiring, ids::in1Time, ids::in1SmsOn, ids::in1SmsOff, kEnd, kEnd}};
kes::EditControl in1Name{kDefaults.in1Name, &settingsBufor, ids::in1Name, kes::lengths::name};
kes::ComboboxControl<int> in1Wiring{&settingsBufor, ids::in1Wiring, kes::wiringItems()};
kes::EditControl in1Time{kDefaults.in1Time, &settingsBufor, ids::in1Time, kes::lengths::seconds};
kes::OptionControl in1SmsOn{&settingsBufor, ids::in1SmsOn, {ids::in1SmsOnText, kEnd, kEnd}};
kes::EditControl in1SmsOnText{kDefaults.in1SmsOnText, &settingsBufor, ids::in1SmsOnText, kes::lengths::smsText};
kes::OptionControl in1SmsOff{&settingsBufor, ids::in1SmsOff, {ids::in1SmsOffText, kEnd, kEnd}};
kes::EditControl in1SmsOffText{kDefaults.in1SmsOffText, &settingsBufor, ids::in1SmsOffText, kes::lengths::smsText};
kes::OptionControl in2Enabled{&settingsBufor, ids::in2Enabled,
                              {ids::in2Name, ids::in2Wiring, ids::in2Time, ids::in2SmsOn, ids::in2SmsOff, kEnd, kEnd}};
kes::EditControl in2Name{kDefaults.in2Name, &settingsBufor, ids::in2Name, kes::lengths::name};
kes::ComboboxControl<int> in2Wiring{&settingsBufor, ids::in2Wiring, kes::wiringItems()};
kes::EditControl in2Time{kDefaults.in2Time, &settingsBufor, ids::in2Time, kes::lengths::seconds};
kes::OptionControl in2SmsOn{&settingsBufor, ids::in2SmsOn, {ids::in2SmsOnText, kEnd, kEnd}};
kes::EditControl in2SmsOnText{kDefaults.in2SmsOnText, &settingsBufor, ids::in2SmsOnText, kes::lengths::smsText};
kes::OptionControl in2SmsOff{&settingsBufor, ids::in2SmsOff, {ids::in2SmsOffText, kEnd, kEnd}};
kes::EditControl in2SmsOffText{kDefaults.in2SmsOffText, &settingsBufor, ids::in2SmsOffText, kes::lengths::smsText};

// Outputs.
kes::OptionControl out1Enabled{&settingsBufor, ids::out1Enabled, {ids::out1Name, ids::out1ByInput, ids::out1ByClip, kEnd, kEnd}};
kes::EditControl out1Name{kDefaults.out1Name, &settingsBufor, ids::out1Name, kes::lengths::name};
kes::OptionControl out1ByInput{&settingsBufor, ids::out1ByInput, {ids::out1InputTimed, kEnd, kEnd}};
kes::OptionControl out1InputTimed{&settingsBufor, ids::out1InputTimed, {ids::out1InputTime, kEnd, kEnd}};
kes::EditControl out1InputTime{kDefaults.out1InputTime, &settingsBufor, ids::out1InputTime, kes::lengths::seconds};
kes::OptionControl out1ByClip{&settingsBufor, ids::out1ByClip, {ids::out1ClipUsersOnly, ids::out1ClipTimed, kEnd, kEnd}};
kes::OptionControl out1ClipUsersOnly{&settingsBufor, ids::out1ClipUsersOnly};
kes::OptionControl out1ClipTimed{&settingsBufor, ids::out1ClipTimed, {ids::out1ClipTime, kEnd, kEnd}};
kes::EditControl out1ClipTime{kDefaults.out1ClipTime, &settingsBufor, ids::out1ClipTime, kes::lengths::seconds};
kes::OptionControl out2Enabled{&settingsBufor, ids::out2Enabled, {ids::out2Name, ids::out2ByInput, kEnd, kEnd}};
kes::EditControl out2Name{kDefaults.out2Name, &settingsBufor, ids::out2Name, kes::lengths::name};
kes::OptionControl out2ByInput{&settingsBufor, ids::out2ByInput, {ids::out2InputTimed, kEnd, kEnd}};
kes::OptionControl out2InputTimed{&settingsBufor, ids::out2InputTimed, {ids::out2InputTime, kEnd, kEnd}};
kes::EditControl out2InputTime{kDefaults.out2InputTime, &settingsBufor, ids::out2InputTime, kes::lengths::seconds};
kes::OptionControl out2ByTemp{&settingsBufor, ids::out2ByTemp};
kes::EnableControl out2ByTempAvailable{&settingsBufor, {ids::out2ByTemp, kEnd, kEnd}};
kes::OptionControl smsUsersOnly{&settingsBufor, ids::smsUsersOnly};
kes::EnableControl smsUsersOnlyAvailable{&settingsBufor, {ids::smsUsersOnly, kEnd, kEnd}};

// Temperature and supply voltage alarms.
kes::OptionControl tempEnabled{&settingsBufor, ids::tempEnabled,
                               {ids::tempName, ids::tempSmsOn, ids::tempSmsOff, ids::tempMax, ids::tempMin, kEnd, kEnd}};
kes::EditControl tempName{kDefaults.tempName, &settingsBufor, ids::tempName, kes::lengths::name};
kes::OptionControl tempSmsOn{&settingsBufor, ids::tempSmsOn};
kes::OptionControl tempSmsOff{&settingsBufor, ids::tempSmsOff};
kes::EditControl tempMax{kDefaults.tempMax, &settingsBufor, ids::tempMax, kes::lengths::temperature};
kes::EditControl tempMin{kDefaults.tempMin, &settingsBufor, ids::tempMin, kes::lengths::temperature};
kes::OptionControl powerEnabled{&settingsBufor, ids::powerEnabled, {ids::powerMax, ids::powerMin, kEnd, kEnd}};
kes::EditControl powerMax{kDefaults.powerMax, &settingsBufor, ids::powerMax, kes::lengths::volts};
kes::EditControl powerMin{kDefaults.powerMin, &settingsBufor, ids::powerMin, kes::lengths::volts};

// Users: group by group, users 0 to 4 within each group.
kes::OptionControl userActive[kUserCount] = {
    {&settingsBufor, u(0, UserOffset::Active), {u(0, UserOffset::Phone), u(0, UserOffset::Notify), u(0, UserOffset::RightMessenger), u(0, UserOffset::TimedRights), kEnd, kEnd}},
    {&settingsBufor, u(1, UserOffset::Active), {u(1, UserOffset::Phone), u(1, UserOffset::Notify), u(1, UserOffset::RightMessenger), u(1, UserOffset::TimedRights), kEnd, kEnd}},
    {&settingsBufor, u(2, UserOffset::Active), {u(2, UserOffset::Phone), u(2, UserOffset::Notify), u(2, UserOffset::RightMessenger), u(2, UserOffset::TimedRights), kEnd, kEnd}},
    {&settingsBufor, u(3, UserOffset::Active), {u(3, UserOffset::Phone), u(3, UserOffset::Notify), u(3, UserOffset::RightMessenger), u(3, UserOffset::TimedRights), kEnd, kEnd}},
    {&settingsBufor, u(4, UserOffset::Active), {u(4, UserOffset::Phone), u(4, UserOffset::Notify), u(4, UserOffset::RightMessenger), u(4, UserOffset::TimedRights), kEnd, kEnd}},
};
kes::EditControl userPhone[kUserCount] = {
    {kUser.phone, &settingsBufor, u(0, UserOffset::Phone), kes::lengths::phone},
    {kUser.phone, &settingsBufor, u(1, UserOffset::Phone), kes::lengths::phone},
    {kUser.phone, &settingsBufor, u(2, UserOffset::Phone), kes::lengths::phone},
    {kUser.phone, &settingsBufor, u(3, UserOffset::Phone), kes::lengths::phone},
    {kUser.phone, &settingsBufor, u(4, UserOffset::Phone), kes::lengths::phone},
};
kes::ComboboxControl<int> userNotify[kUserCount] = {
    {&settingsBufor, u(0, UserOffset::Notify), kes::notifyItems()},
    {&settingsBufor, u(1, UserOffset::Notify), kes::notifyItems()},
    {&settingsBufor, u(2, UserOffset::Notify), kes::notifyItems()},
    {&settingsBufor, u(3, UserOffset::Notify), kes::notifyItems()},
    {&settingsBufor, u(4, UserOffset::Notify), kes::notifyItems()},
};
kes::OptionControl userRightOut[kUserCount] = {
    {&settingsBufor, u(0, UserOffset::RightOut)},
    {&settingsBufor, u(1, UserOffset::RightOut)},
    {&settingsBufor, u(2, UserOffset::RightOut)},
    {&settingsBufor, u(3, UserOffset::RightOut)},
    {&settingsBufor, u(4, UserOffset::RightOut)},
};
kes::EnableControl userRightOutAvailable[kUserCount] = {
    {&settingsBufor, {u(0, UserOffset::RightOut), kEnd, kEnd}},
    {&settingsBufor, {u(1, UserOffset::RightOut), kEnd, kEnd}},
    {&settingsBufor, {u(2, UserOffset::RightOut), kEnd, kEnd}},
    {&settingsBufor, {u(3, UserOffset::RightOut), kEnd, kEnd}},
    {&settingsBufor, {u(4, UserOffset::RightOut), kEnd, kEnd}},
};
kes::OptionControl userRightTemp[kUserCount] = {
    {&settingsBufor, u(0, UserOffset::RightTemp)},
    {&settingsBufor, u(1, UserOffset::RightTemp)},
    {&settingsBufor, u(2, UserOffset::RightTemp)},
    {&settingsBufor, u(3, UserOffset::RightTemp)},
    {&settingsBufor, u(4, UserOffset::RightTemp)},
};
kes::EnableControl userRightTempAvailable[kUserCount] = {
    {&settingsBufor, {u(0, UserOffset::RightTemp), kEnd, kEnd}},
    {&settingsBufor, {u(1, UserOffset::RightTemp), kEnd, kEnd}},
    {&settingsBufor, {u(2, UserOffset::RightTemp), kEnd, kEnd}},
    {&settingsBufor, {u(3, UserOffset::RightTemp), kEnd, kEnd}},
    {&settingsBufor, {u(4, UserOffset::RightTemp), kEnd, kEnd}},
};
kes::OptionControl userRightPwr[kUserCount] = {
    {&settingsBufor, u(0, UserOffset::RightPwr)},
    {&settingsBufor, u(1, UserOffset::RightPwr)},
    {&settingsBufor, u(2, UserOffset::RightPwr)},
    {&settingsBufor, u(3, UserOffset::RightPwr)},
    {&settingsBufor, u(4, UserOffset::RightPwr)},
};
kes::EnableControl userRightPwrAvailable[kUserCount] = {
    {&settingsBufor, {u(0, UserOffset::RightPwr), kEnd, kEnd}},
    {&settingsBufor, {u(1, UserOffset::RightPwr), kEnd, kEnd}},
    {&settingsBufor, {u(2, UserOffset::RightPwr), kEnd, kEnd}},
    {&settingsBufor, {u(3, UserOffset::RightPwr), kEnd, kEnd}},
    {&settingsBufor, {u(4, UserOffset::RightPwr), kEnd, kEnd}},
};
kes::OptionControl userRightClip[kUserCount] = {
    {&settingsBufor, u(0, UserOffset::RightClip)},
    {&settingsBufor, u(1, UserOffset::RightClip)},
    {&settingsBufor, u(2, UserOffset::RightClip)},
    {&settingsBufor, u(3, UserOffset::RightClip)},
    {&settingsBufor, u(4, UserOffset::RightClip)},
};
kes::EnableControl userRightClipAvailable[kUserCount] = {
    {&settingsBufor, {u(0, UserOffset::RightClip), kEnd, kEnd}},
    {&settingsBufor, {u(1, UserOffset::RightClip), kEnd, kEnd}},
    {&settingsBufor, {u(2, UserOffset::RightClip), kEnd, kEnd}},
    {&settingsBufor, {u(3, UserOffset::RightClip), kEnd, kEnd}},
    {&settingsBufor, {u(4, UserOffset::RightClip), kEnd, kEnd}},
};
kes::OptionControl userRightListen[kUserCount] = {
    {&settingsBufor, u(0, UserOffset::RightListen)},
    {&settingsBufor, u(1, UserOffset::RightListen)},
    {&settingsBufor, u(2, UserOffset::RightListen)},
    {&settingsBufor, u(3, UserOffset::RightListen)},
    {&settingsBufor, u(4, UserOffset::RightListen)},
};
kes::EnableControl userRightListenAvailable[kUserCount] = {
    {&settingsBufor, {u(0, UserOffset::RightListen), kEnd, kEnd}},
    {&settingsBufor, {u(1, UserOffset::RightListen), kEnd, kEnd}},
    {&settingsBufor, {u(2, UserOffset::RightListen), kEnd, kEnd}},
    {&settingsBufor, {u(3, UserOffset::RightListen), kEnd, kEnd}},
    {&settingsBufor, {u(4, UserOffset::RightListen), kEnd, kEnd}},
};
kes::OptionControl userRightMessenger[kUserCount] = {
    {&settingsBufor, u(0, UserOffset::RightMessenger)},
    {&settingsBufor, u(1, UserOffset::RightMessenger)},
    {&settingsBufor, u(2, UserOffset::RightMessenger)},
    {&settingsBufor, u(3, UserOffset::RightMessenger)},
    {&settingsBufor, u(4, UserOffset::RightMessenger)},
};
kes::OptionControl userTimedRights[kUserCount] = {
    {&settingsBufor, u(0, UserOffset::TimedRights), {u(0, UserOffset::RightsHours), kEnd, kEnd}},
    {&settingsBufor, u(1, UserOffset::TimedRights), {u(1, UserOffset::RightsHours), kEnd, kEnd}},
    {&settingsBufor, u(2, UserOffset::TimedRights), {u(2, UserOffset::RightsHours), kEnd, kEnd}},
    {&settingsBufor, u(3, UserOffset::TimedRights), {u(3, UserOffset::RightsHours), kEnd, kEnd}},
    {&settingsBufor, u(4, UserOffset::TimedRights), {u(4, UserOffset::RightsHours), kEnd, kEnd}},
};
kes::EditControl userRightsHours[kUserCount] = {
    {kUser.rightsHours, &settingsBufor, u(0, UserOffset::RightsHours), kes::lengths::hours},
    {kUser.rightsHours, &settingsBufor, u(1, UserOffset::RightsHours), kes::lengths::hours},
    {kUser.rightsHours, &settingsBufor, u(2, UserOffset::RightsHours), kes::lengths::hours},
    {kUser.rightsHours, &settingsBufor, u(3, UserOffset::RightsHours), kes::lengths::hours},
    {kUser.rightsHours, &settingsBufor, u(4, UserOffset::RightsHours), kes::lengths::hours},
};

// Status column.
kes::EditControl statusOperator{L"", &statusBufor, ids::statusOperator, 0};
kes::EditControl statusLevel{L"", &statusBufor, ids::statusLevel, 0};
kes::EditControl statusPower{L"", &statusBufor, ids::statusPower, 0};
kes::OptionControl statusIn1{&statusBufor, ids::statusIn1};
kes::OptionControl statusIn2{&statusBufor, ids::statusIn2};
kes::EditControl statusTemp{L"", &statusBufor, ids::statusTemp, 0};
kes::OptionControl statusOut1{&statusBufor, ids::statusOut1};
kes::OptionControl statusOut2{&statusBufor, ids::statusOut2};
kes::EditControl remotePhone{L"", &statusBufor, ids::remotePhone, 26};
kes::EditControl remoteText{L"", &statusBufor, ids::remoteText, 160};

// In no registry.
kes::EditControl linkStatusField{L"", nullptr, ids::linkStatus, 0};
kes::EnableControl connectedOnlyGroup{nullptr,
                                      {ids::programButton, ids::statusOut1, ids::statusOut2, ids::remotePhone,
                                       ids::clipUssdButton, ids::smsButton, ids::remoteText, kEnd, kEnd}};
// The first user has no time-limited rights: group 1 is never shown.
kes::ViewControl<int> firstUserTimeRightsView{
    {kNone, kEnd, u(0, UserOffset::TimedRights), u(0, UserOffset::RightsHours), kEnd, kEnd}};
