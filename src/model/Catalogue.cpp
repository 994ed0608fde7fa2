// The catalogue. Everything here is built by static construction in this one
// translation unit, so the order of definition is the order of the registries and
// therefore of the records in a data file. Do not reorder.
#include "model/Catalogue.h"

using ids::kUserCount;
using ids::UserOffset;

namespace {
constexpr int kEnd = kes::kEndOfList;
constexpr int kNone = kes::kNoControl;

constexpr int u(int user, UserOffset offset)
{
    return ids::userId(user, offset);
}
} // namespace

kes::ControlBufor settingsBufor;
kes::ControlBufor statusBufor;

const wchar_t* const kLinkStatusInitialText = L"podłącz QLV-3 USB";
const std::vector<std::wstring> kWiringItems{L"NO PLUS", L"NO GND", L"NC PLUS", L"NC GND"};
const std::vector<std::wstring> kNotifyItems{L"- - -", L"CLIP", L"SMS", L"CLIP+SMS", L"SMS+CLIP"};

// Access and inputs.
kes::EditControl accessCode{L"WKTR", &settingsBufor, ids::accessCode, 4};
kes::EditControl simPin{L"4821", &settingsBufor, ids::simPin, 4};
kes::OptionControl in1Enabled{&settingsBufor, ids::in1Enabled,
                              {ids::in1Name, ids::in1Wiring, ids::in1Time, ids::in1SmsOn, ids::in1SmsOff, kEnd, kEnd}};
kes::EditControl in1Name{L"INPUT-1", &settingsBufor, ids::in1Name, 15};
kes::ComboboxControl<int> in1Wiring{&settingsBufor, ids::in1Wiring, kWiringItems};
kes::EditControl in1Time{L"1", &settingsBufor, ids::in1Time, 5};
kes::OptionControl in1SmsOn{&settingsBufor, ids::in1SmsOn, {ids::in1SmsOnText, kEnd, kEnd}};
kes::EditControl in1SmsOnText{L"INPUT-1 ON", &settingsBufor, ids::in1SmsOnText, 25};
kes::OptionControl in1SmsOff{&settingsBufor, ids::in1SmsOff, {ids::in1SmsOffText, kEnd, kEnd}};
kes::EditControl in1SmsOffText{L"INPUT-1 OFF", &settingsBufor, ids::in1SmsOffText, 25};
kes::OptionControl in2Enabled{&settingsBufor, ids::in2Enabled,
                              {ids::in2Name, ids::in2Wiring, ids::in2Time, ids::in2SmsOn, ids::in2SmsOff, kEnd, kEnd}};
kes::EditControl in2Name{L"INPUT-2", &settingsBufor, ids::in2Name, 15};
kes::ComboboxControl<int> in2Wiring{&settingsBufor, ids::in2Wiring, kWiringItems};
kes::EditControl in2Time{L"1", &settingsBufor, ids::in2Time, 5};
kes::OptionControl in2SmsOn{&settingsBufor, ids::in2SmsOn, {ids::in2SmsOnText, kEnd, kEnd}};
kes::EditControl in2SmsOnText{L"INPUT-2 ON", &settingsBufor, ids::in2SmsOnText, 25};
kes::OptionControl in2SmsOff{&settingsBufor, ids::in2SmsOff, {ids::in2SmsOffText, kEnd, kEnd}};
kes::EditControl in2SmsOffText{L"INPUT-2 OFF", &settingsBufor, ids::in2SmsOffText, 25};

// Outputs.
kes::OptionControl out1Enabled{&settingsBufor, ids::out1Enabled, {ids::out1Name, ids::out1ByInput, ids::out1ByClip, kEnd, kEnd}};
kes::EditControl out1Name{L"OUT-1", &settingsBufor, ids::out1Name, 15};
kes::OptionControl out1ByInput{&settingsBufor, ids::out1ByInput, {ids::out1InputTimed, kEnd, kEnd}};
kes::OptionControl out1InputTimed{&settingsBufor, ids::out1InputTimed, {ids::out1InputTime, kEnd, kEnd}};
kes::EditControl out1InputTime{L"1", &settingsBufor, ids::out1InputTime, 5};
kes::OptionControl out1ByClip{&settingsBufor, ids::out1ByClip, {ids::out1ClipUsersOnly, ids::out1ClipTimed, kEnd, kEnd}};
kes::OptionControl out1ClipUsersOnly{&settingsBufor, ids::out1ClipUsersOnly};
kes::OptionControl out1ClipTimed{&settingsBufor, ids::out1ClipTimed, {ids::out1ClipTime, kEnd, kEnd}};
kes::EditControl out1ClipTime{L"1", &settingsBufor, ids::out1ClipTime, 5};
kes::OptionControl out2Enabled{&settingsBufor, ids::out2Enabled, {ids::out2Name, ids::out2ByInput, kEnd, kEnd}};
kes::EditControl out2Name{L"OUT-2", &settingsBufor, ids::out2Name, 15};
kes::OptionControl out2ByInput{&settingsBufor, ids::out2ByInput, {ids::out2InputTimed, kEnd, kEnd}};
kes::OptionControl out2InputTimed{&settingsBufor, ids::out2InputTimed, {ids::out2InputTime, kEnd, kEnd}};
kes::EditControl out2InputTime{L"1", &settingsBufor, ids::out2InputTime, 5};
kes::OptionControl out2ByTemp{&settingsBufor, ids::out2ByTemp};
kes::EnableControl out2ByTempAvailable{&settingsBufor, {ids::out2ByTemp, kEnd, kEnd}};
kes::OptionControl smsUsersOnly{&settingsBufor, ids::smsUsersOnly};
kes::EnableControl smsUsersOnlyAvailable{&settingsBufor, {ids::smsUsersOnly, kEnd, kEnd}};

// Temperature and supply voltage alarms.
kes::OptionControl tempEnabled{&settingsBufor, ids::tempEnabled,
                               {ids::tempName, ids::tempSmsOn, ids::tempSmsOff, ids::tempMax, ids::tempMin, kEnd, kEnd}};
kes::EditControl tempName{L"TEMP", &settingsBufor, ids::tempName, 15};
kes::OptionControl tempSmsOn{&settingsBufor, ids::tempSmsOn};
kes::OptionControl tempSmsOff{&settingsBufor, ids::tempSmsOff};
kes::EditControl tempMax{L"50", &settingsBufor, ids::tempMax, 3};
kes::EditControl tempMin{L"10", &settingsBufor, ids::tempMin, 3};
kes::OptionControl powerEnabled{&settingsBufor, ids::powerEnabled, {ids::powerMax, ids::powerMin, kEnd, kEnd}};
kes::EditControl powerMax{L"20", &settingsBufor, ids::powerMax, 2};
kes::EditControl powerMin{L"12", &settingsBufor, ids::powerMin, 2};

// Users: group by group, users 0 to 4 within each group.
kes::OptionControl userActive[kUserCount] = {
    {&settingsBufor, u(0, UserOffset::Active), {u(0, UserOffset::Phone), u(0, UserOffset::Notify), u(0, UserOffset::RightMessenger), u(0, UserOffset::TimedRights), kEnd, kEnd}},
    {&settingsBufor, u(1, UserOffset::Active), {u(1, UserOffset::Phone), u(1, UserOffset::Notify), u(1, UserOffset::RightMessenger), u(1, UserOffset::TimedRights), kEnd, kEnd}},
    {&settingsBufor, u(2, UserOffset::Active), {u(2, UserOffset::Phone), u(2, UserOffset::Notify), u(2, UserOffset::RightMessenger), u(2, UserOffset::TimedRights), kEnd, kEnd}},
    {&settingsBufor, u(3, UserOffset::Active), {u(3, UserOffset::Phone), u(3, UserOffset::Notify), u(3, UserOffset::RightMessenger), u(3, UserOffset::TimedRights), kEnd, kEnd}},
    {&settingsBufor, u(4, UserOffset::Active), {u(4, UserOffset::Phone), u(4, UserOffset::Notify), u(4, UserOffset::RightMessenger), u(4, UserOffset::TimedRights), kEnd, kEnd}},
};
kes::EditControl userPhone[kUserCount] = {
    {L"+1234567890", &settingsBufor, u(0, UserOffset::Phone), 15},
    {L"+1234567890", &settingsBufor, u(1, UserOffset::Phone), 15},
    {L"+1234567890", &settingsBufor, u(2, UserOffset::Phone), 15},
    {L"+1234567890", &settingsBufor, u(3, UserOffset::Phone), 15},
    {L"+1234567890", &settingsBufor, u(4, UserOffset::Phone), 15},
};
kes::ComboboxControl<int> userNotify[kUserCount] = {
    {&settingsBufor, u(0, UserOffset::Notify), kNotifyItems},
    {&settingsBufor, u(1, UserOffset::Notify), kNotifyItems},
    {&settingsBufor, u(2, UserOffset::Notify), kNotifyItems},
    {&settingsBufor, u(3, UserOffset::Notify), kNotifyItems},
    {&settingsBufor, u(4, UserOffset::Notify), kNotifyItems},
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
    {L"24", &settingsBufor, u(0, UserOffset::RightsHours), 3},
    {L"24", &settingsBufor, u(1, UserOffset::RightsHours), 3},
    {L"24", &settingsBufor, u(2, UserOffset::RightsHours), 3},
    {L"24", &settingsBufor, u(3, UserOffset::RightsHours), 3},
    {L"24", &settingsBufor, u(4, UserOffset::RightsHours), 3},
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
