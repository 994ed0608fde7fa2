#pragma once
// Every bound field of the program, built at start-up in registration order, and the
// control IDs of the main window.
#include "model/Fields.h"

namespace ids {

// Main window controls run from 10001 to 10143 without a gap.
constexpr int kFirst = 10001;
constexpr int kLast = 10143;

// General settings (labels carry the IDs in between).
constexpr int accessCodeLabel = 10001;
constexpr int accessCode = 10002;
constexpr int simPinLabel = 10003;
constexpr int simPin = 10004;
constexpr int in1Enabled = 10005;
constexpr int in1Name = 10006;
constexpr int in1Wiring = 10007;
constexpr int in1TimeLabel = 10008;
constexpr int in1Time = 10009;
constexpr int in1SmsOn = 10010;
constexpr int in1SmsOnText = 10011;
constexpr int in1SmsOff = 10012;
constexpr int in1SmsOffText = 10013;
constexpr int in2Enabled = 10014;
constexpr int in2Name = 10015;
constexpr int in2Wiring = 10016;
constexpr int in2TimeLabel = 10017;
constexpr int in2Time = 10018;
constexpr int in2SmsOn = 10019;
constexpr int in2SmsOnText = 10020;
constexpr int in2SmsOff = 10021;
constexpr int in2SmsOffText = 10022;
constexpr int out1Enabled = 10023;
constexpr int out1Name = 10024;
constexpr int out1ByInput = 10025;
constexpr int out1InputTimed = 10026;
constexpr int out1InputTime = 10027;
constexpr int smsControlLabel = 10028;
constexpr int out1ByClip = 10029;
constexpr int out1ClipUsersOnly = 10030;
constexpr int out1ClipTimed = 10031;
constexpr int out1ClipTime = 10032;
constexpr int smsUsersOnly = 10033;
constexpr int out2Enabled = 10034;
constexpr int out2Name = 10035;
constexpr int out2ByInput = 10036;
constexpr int out2InputTimed = 10037;
constexpr int out2InputTime = 10038;
constexpr int out2ByTemp = 10039;
constexpr int tempEnabled = 10040;
constexpr int tempName = 10041;
constexpr int tempSmsOn = 10042;
constexpr int tempSmsOff = 10043;
constexpr int tempMaxLabel = 10044;
constexpr int tempMax = 10045;
constexpr int tempMinLabel = 10046;
constexpr int tempMin = 10047;
constexpr int powerEnabled = 10048;
constexpr int powerMaxLabel = 10049;
constexpr int powerMax = 10050;
constexpr int powerMinLabel = 10051;
constexpr int powerMin = 10052;

// Column headings above the users' rights.
constexpr int headingOut = 10053;
constexpr int headingTemp = 10054;
constexpr int headingPwr = 10055;
constexpr int headingClip = 10056;
constexpr int headingListen = 10057;
constexpr int headingMessenger = 10058;
constexpr int headingTimedRights = 10059;

// User rows: 10060 + 11 * user + offset.
constexpr int kUserCount = 5;
constexpr int kUserBase = 10060;
constexpr int kUserStride = 11;

enum class UserOffset : int {
    Active = 0,
    Phone = 1,
    Notify = 2,
    RightOut = 3,
    RightTemp = 4,
    RightPwr = 5,
    RightClip = 6,
    RightListen = 7,
    RightMessenger = 8,
    TimedRights = 9,
    RightsHours = 10,
};

constexpr int userId(int user, int offset) { return kUserBase + kUserStride * user + offset; }
constexpr int userId(int user, UserOffset offset) { return userId(user, static_cast<int>(offset)); }

// Bottom row.
constexpr int statusLabel = 10115;
constexpr int linkStatus = 10116;
constexpr int openButton = 10117;
constexpr int saveButton = 10118;
constexpr int helpButton = 10119;
constexpr int closeButton = 10120;
constexpr int programButton = 10121;

// Status column.
constexpr int statusOperatorLabel = 10122;
constexpr int statusOperator = 10123;
constexpr int statusLevelLabel = 10124;
constexpr int statusLevel = 10125;
constexpr int statusPowerLabel = 10126;
constexpr int statusPower = 10127;
constexpr int statusOut1Label = 10128;
constexpr int statusOut1 = 10129;
constexpr int statusOut2Label = 10130;
constexpr int statusOut2 = 10131;
constexpr int statusIn1Label = 10132;
constexpr int statusIn1 = 10133;
constexpr int statusIn2Label = 10134;
constexpr int statusIn2 = 10135;
constexpr int statusTempLabel = 10136;
constexpr int statusTemp = 10137;
constexpr int remotePhoneLabel = 10138;
constexpr int remotePhone = 10139;
constexpr int clipUssdButton = 10140;
constexpr int remoteText = 10141;
constexpr int clearTextButton = 10142;
constexpr int smsButton = 10143;

} // namespace ids

// Settings of the module; their stream form is the data file.
extern kes::ControlBufor settingsBufor;
// Display fields of the status column; never saved.
extern kes::ControlBufor statusBufor;

// settingsBufor, rows 1 to 45.
extern kes::EditControl accessCode;
extern kes::EditControl simPin;
extern kes::OptionControl in1Enabled;
extern kes::EditControl in1Name;
extern kes::ComboboxControl<int> in1Wiring;
extern kes::EditControl in1Time;
extern kes::OptionControl in1SmsOn;
extern kes::EditControl in1SmsOnText;
extern kes::OptionControl in1SmsOff;
extern kes::EditControl in1SmsOffText;
extern kes::OptionControl in2Enabled;
extern kes::EditControl in2Name;
extern kes::ComboboxControl<int> in2Wiring;
extern kes::EditControl in2Time;
extern kes::OptionControl in2SmsOn;
extern kes::EditControl in2SmsOnText;
extern kes::OptionControl in2SmsOff;
extern kes::EditControl in2SmsOffText;
extern kes::OptionControl out1Enabled;
extern kes::EditControl out1Name;
extern kes::OptionControl out1ByInput;
extern kes::OptionControl out1InputTimed;
extern kes::EditControl out1InputTime;
extern kes::OptionControl out1ByClip;
extern kes::OptionControl out1ClipUsersOnly;
extern kes::OptionControl out1ClipTimed;
extern kes::EditControl out1ClipTime;
extern kes::OptionControl out2Enabled;
extern kes::EditControl out2Name;
extern kes::OptionControl out2ByInput;
extern kes::OptionControl out2InputTimed;
extern kes::EditControl out2InputTime;
extern kes::OptionControl out2ByTemp;
extern kes::EnableControl out2ByTempAvailable;
extern kes::OptionControl smsUsersOnly;
extern kes::EnableControl smsUsersOnlyAvailable;
extern kes::OptionControl tempEnabled;
extern kes::EditControl tempName;
extern kes::OptionControl tempSmsOn;
extern kes::OptionControl tempSmsOff;
extern kes::EditControl tempMax;
extern kes::EditControl tempMin;
extern kes::OptionControl powerEnabled;
extern kes::EditControl powerMax;
extern kes::EditControl powerMin;

// settingsBufor, rows 46 to 125: sixteen groups of five, user 0 to 4 in each.
extern kes::OptionControl userActive[ids::kUserCount];
extern kes::EditControl userPhone[ids::kUserCount];
extern kes::ComboboxControl<int> userNotify[ids::kUserCount];
extern kes::OptionControl userRightOut[ids::kUserCount];
extern kes::EnableControl userRightOutAvailable[ids::kUserCount];
extern kes::OptionControl userRightTemp[ids::kUserCount];
extern kes::EnableControl userRightTempAvailable[ids::kUserCount];
extern kes::OptionControl userRightPwr[ids::kUserCount];
extern kes::EnableControl userRightPwrAvailable[ids::kUserCount];
extern kes::OptionControl userRightClip[ids::kUserCount];
extern kes::EnableControl userRightClipAvailable[ids::kUserCount];
extern kes::OptionControl userRightListen[ids::kUserCount];
extern kes::EnableControl userRightListenAvailable[ids::kUserCount];
extern kes::OptionControl userRightMessenger[ids::kUserCount];
extern kes::OptionControl userTimedRights[ids::kUserCount];
extern kes::EditControl userRightsHours[ids::kUserCount];

// statusBufor.
extern kes::EditControl statusOperator;
extern kes::EditControl statusLevel;
extern kes::EditControl statusPower;
extern kes::OptionControl statusIn1;
extern kes::OptionControl statusIn2;
extern kes::EditControl statusTemp;
extern kes::OptionControl statusOut1;
extern kes::OptionControl statusOut2;
extern kes::EditControl remotePhone;
extern kes::EditControl remoteText;

// In no registry.
extern kes::EditControl linkStatusField;
extern kes::EnableControl connectedOnlyGroup;
extern kes::ViewControl<int> firstUserTimeRightsView;

// Texts the fields are attached with.
extern const wchar_t* const kLinkStatusInitialText;  // "podłącz QLV-3 USB"

