#pragma once
// The module's settings as one plain value: a member for every record of the settings registry,
// the availability of the check boxes included, so a value holds all that a data file holds.
// Texts as the window's edits hold them, check boxes and availability as bools, lists as the
// item's index (-1: none). A value made by default holds the catalogue's defaults. Settings worked
// on apart from the window are values of this type; the window is a view of one.
#include <array>
#include <string>
#include <vector>

namespace kes {

constexpr int settingsUsers = 5;

// The edits' maximum lengths, in characters.
namespace lengths {
constexpr int code = 4;         // access code, SIM PIN
constexpr int name = 15;        // inputs, outputs, temperature
constexpr int smsText = 25;
constexpr int seconds = 5;      // input and output times
constexpr int temperature = 3;
constexpr int volts = 2;
constexpr int phone = 15;
constexpr int hours = 3;
} // namespace lengths

struct UserSettings {
    bool active = false;
    std::wstring phone = L"+1234567890";
    int notify = 0;
    bool rightOut = false;
    bool rightOutAvailable = false;
    bool rightTemp = false;
    bool rightTempAvailable = false;
    bool rightPwr = false;
    bool rightPwrAvailable = false;
    bool rightClip = false;
    bool rightClipAvailable = false;
    bool rightListen = false;
    bool rightListenAvailable = false;
    bool rightMessenger = false;
    bool timedRights = false;
    std::wstring rightsHours = L"24";
};

struct Settings {
    std::wstring accessCode = L"WKTR";
    std::wstring simPin = L"4821";
    bool in1Enabled = false;
    std::wstring in1Name = L"INPUT-1";
    int in1Wiring = 0;
    std::wstring in1Time = L"1";
    bool in1SmsOn = false;
    std::wstring in1SmsOnText = L"INPUT-1 ON";
    bool in1SmsOff = false;
    std::wstring in1SmsOffText = L"INPUT-1 OFF";
    bool in2Enabled = false;
    std::wstring in2Name = L"INPUT-2";
    int in2Wiring = 0;
    std::wstring in2Time = L"1";
    bool in2SmsOn = false;
    std::wstring in2SmsOnText = L"INPUT-2 ON";
    bool in2SmsOff = false;
    std::wstring in2SmsOffText = L"INPUT-2 OFF";
    bool out1Enabled = false;
    std::wstring out1Name = L"OUT-1";
    bool out1ByInput = false;
    bool out1InputTimed = false;
    std::wstring out1InputTime = L"1";
    bool out1ByClip = false;
    bool out1ClipUsersOnly = false;
    bool out1ClipTimed = false;
    std::wstring out1ClipTime = L"1";
    bool out2Enabled = false;
    std::wstring out2Name = L"OUT-2";
    bool out2ByInput = false;
    bool out2InputTimed = false;
    std::wstring out2InputTime = L"1";
    bool out2ByTemp = false;
    bool out2ByTempAvailable = false;
    bool smsUsersOnly = false;
    bool smsUsersOnlyAvailable = false;
    bool tempEnabled = false;
    std::wstring tempName = L"TEMP";
    bool tempSmsOn = false;
    bool tempSmsOff = false;
    std::wstring tempMax = L"50";
    std::wstring tempMin = L"10";
    bool powerEnabled = false;
    std::wstring powerMax = L"20";
    std::wstring powerMin = L"12";
    std::array<UserSettings, settingsUsers> users{};
};

// Every record equal.
bool operator==(const Settings& a, const Settings& b);
bool operator!=(const Settings& a, const Settings& b);

// As the window shows the value put into it: every text cut to its edit's maximum length, every
// list index that its list does not hold made -1 (no selection).
void fitToFields(Settings& settings);

// The items of the wiring lists and of the users' notification lists, in index order.
const std::vector<std::wstring>& wiringItems();
const std::vector<std::wstring>& notifyItems();

} // namespace kes
