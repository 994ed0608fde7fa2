#include "protocol/SettingsBlocks.h"

#include "model/EnableRules.h"
#include "model/NumberText.h"

#include <array>

namespace kes {
namespace {

constexpr auto inputsBlock = static_cast<std::uint8_t>(ConfigBlock::Inputs);
constexpr auto alarmsBlock = static_cast<std::uint8_t>(ConfigBlock::Alarms);

bool isUserBlock(std::uint8_t block) { return block >= userBlock(0) && block < blockCount; }

// The members of one input and of the output its input may drive.
struct ChannelMembers {
    bool Settings::*enabled;
    int Settings::*wiring;
    std::wstring Settings::*time;
    bool Settings::*smsOn;
    bool Settings::*smsOff;
    bool Settings::*outputByInput;
    bool Settings::*outputTimed;
    std::wstring Settings::*outputTime;
};

using S = Settings;
constexpr std::array<ChannelMembers, 2> channels{
    ChannelMembers{&S::in1Enabled, &S::in1Wiring, &S::in1Time, &S::in1SmsOn, &S::in1SmsOff, &S::out1ByInput,
                   &S::out1InputTimed, &S::out1InputTime},
    ChannelMembers{&S::in2Enabled, &S::in2Wiring, &S::in2Time, &S::in2SmsOn, &S::in2SmsOff, &S::out2ByInput,
                   &S::out2InputTimed, &S::out2InputTime}};

InputsRecord inputsOf(const Settings& s)
{
    InputsRecord r;
    r.accessCode = s.accessCode;
    r.simPin = s.simPin;
    for (std::size_t c = 0; c < channels.size(); ++c) {
        const ChannelMembers& m = channels[c];
        InputChannel& ch = r.channel[c];
        ch.enabled = s.*m.enabled;
        ch.wiring = s.*m.wiring;
        ch.time = intOf(s.*m.time);
        ch.smsOn = s.*m.smsOn;
        ch.smsOff = s.*m.smsOff;
        ch.outputFollows = s.*m.outputByInput;
        ch.outputTimed = s.*m.outputTimed;
        ch.outputTime = intOf(s.*m.outputTime);
    }
    // Output 1 goes out as "follows" only when it is not timed; output 2 is sent as it is.
    r.channel[0].outputFollows = s.out1ByInput && !s.out1InputTimed;
    return r;
}

AlarmsRecord alarmsOf(const Settings& s)
{
    AlarmsRecord r;
    r.tempEnabled = s.tempEnabled;
    r.out2ByTemp = s.out2ByTemp;
    r.alwaysTrue = true;
    r.tempSmsOn = s.tempSmsOn;
    r.tempSmsOff = s.tempSmsOff;
    r.tempMax = intOf(s.tempMax);
    r.tempMin = intOf(s.tempMin);
    r.out1ByClip = s.out1ByClip;
    r.clipUsersOnly = s.out1ClipUsersOnly;
    r.clipTimed = s.out1ClipTimed;
    r.clipTime = intOf(s.out1ClipTime);
    r.smsUsersOnly = s.smsUsersOnly;
    r.powerEnabled = s.powerEnabled;
    r.powerMax = doubleOf(s.powerMax);
    r.powerMin = doubleOf(s.powerMin);
    return r;
}

UserRecord userOf(const UserSettings& u)
{
    UserRecord r;
    r.enabled = u.active;
    r.phone = u.phone;
    r.notifyMode = u.notify;
    r.rightOut = u.rightOut;
    r.rightTemp = u.rightTemp;
    r.rightPwr = u.rightPwr;
    r.rightListen = u.rightListen;
    r.rightClip = u.rightClip && !u.rightListen;
    r.rightMessenger = u.rightMessenger;
    r.timedRights = u.timedRights;
    r.hours = intOf(u.rightsHours);
    return r;
}

void putInputs(const InputsRecord& r, Settings& s)
{
    s.accessCode = r.accessCode;
    s.simPin = r.simPin;
    for (std::size_t c = 0; c < channels.size(); ++c) {
        const ChannelMembers& m = channels[c];
        const InputChannel& ch = r.channel[c];
        s.*m.enabled = ch.enabled;
        s.*m.wiring = ch.wiring;
        s.*m.time = intText(ch.time);
        s.*m.smsOn = ch.smsOn;
        s.*m.smsOff = ch.smsOff;
        s.*m.outputByInput = ch.outputFollows;
        s.*m.outputTimed = ch.outputTimed;
        s.*m.outputTime = intText(ch.outputTime);
    }
}

void putAlarms(const AlarmsRecord& r, Settings& s)
{
    s.tempEnabled = r.tempEnabled;
    s.out2ByTemp = r.out2ByTemp;
    s.tempSmsOn = r.tempSmsOn;
    s.tempSmsOff = r.tempSmsOff;
    s.tempMax = intText(r.tempMax);
    s.tempMin = intText(r.tempMin);
    s.out1ByClip = r.out1ByClip;
    s.out1ClipUsersOnly = r.clipUsersOnly;
    s.out1ClipTimed = r.clipTimed;
    s.out1ClipTime = intText(r.clipTime);
    s.smsUsersOnly = r.smsUsersOnly;
    s.powerEnabled = r.powerEnabled;
    s.powerMax = doubleText(r.powerMax);
    s.powerMin = doubleText(r.powerMin);
}

void putUser(const UserRecord& r, UserSettings& u)
{
    u.active = r.enabled;
    u.phone = r.enabled ? r.phone : std::wstring();
    u.notify = r.notifyMode;
    u.rightOut = r.rightOut;
    u.rightTemp = r.rightTemp;
    u.rightPwr = r.rightPwr;
    u.rightClip = r.rightClip;
    u.rightListen = r.rightListen;
    u.rightMessenger = r.rightMessenger;
    u.timedRights = r.timedRights;
    u.rightsHours = intText(r.hours);
}

std::size_t userIndex(std::uint8_t block) { return static_cast<std::size_t>(block - userBlock(0)); }

} // namespace

SettingsText textOfBlock(std::uint8_t block)
{
    switch (static_cast<ConfigBlock>(block)) {
    case ConfigBlock::In2Name: return &Settings::in2Name;
    case ConfigBlock::Out1Name: return &Settings::out1Name;
    case ConfigBlock::Out2Name: return &Settings::out2Name;
    case ConfigBlock::TempName: return &Settings::tempName;
    case ConfigBlock::In1SmsOnText: return &Settings::in1SmsOnText;
    case ConfigBlock::In2SmsOnText: return &Settings::in2SmsOnText;
    case ConfigBlock::In1SmsOffText: return &Settings::in1SmsOffText;
    case ConfigBlock::In2SmsOffText: return &Settings::in2SmsOffText;
    case ConfigBlock::In1Name:
    default: return &Settings::in1Name;
    }
}

Frame encodeBlock(std::uint8_t block, const Settings& settings)
{
    if (block == inputsBlock)
        return encodeInputs(inputsOf(settings));
    if (block == alarmsBlock)
        return encodeAlarms(alarmsOf(settings));
    if (isUserBlock(block))
        return encodeUser(static_cast<int>(userIndex(block)), userOf(settings.users[userIndex(block)]));
    return encodeText(block, settings.*textOfBlock(block));
}

void decodeBlock(std::uint8_t block, const Frame& reply, Settings& settings)
{
    if (block == inputsBlock)
        putInputs(decodeInputs(reply), settings);
    else if (block == alarmsBlock)
        putAlarms(decodeAlarms(reply), settings);
    else if (isUserBlock(block))
        putUser(decodeUser(reply), settings.users[userIndex(block)]);
    else if (block < blockCount)
        settings.*textOfBlock(block) = decodeText(reply);
}

bool dropClipBesideListen(UserSettings& user)
{
    if (!user.rightListen || !user.rightClip)
        return false;
    user.rightClip = false;
    return true;
}

Settings asProgrammed(Settings settings)
{
    for (UserSettings& user : settings.users)
        dropClipBesideListen(user);
    return settings;
}

ModuleImage imageOf(const Settings& settings)
{
    ModuleImage image;
    for (std::uint8_t block = 0; block < blockCount; ++block)
        image.put(block, encodeBlock(block, settings));
    return image;
}

Settings settingsIn(const ModuleImage& image)
{
    Settings settings;
    for (std::uint8_t block = 0; block < blockCount; ++block)
        decodeBlock(block, image.frame(block), settings);
    tidyAfterReading(settings);
    return settings;
}

void tidyAfterReading(Settings& s)
{
    // Block 0 sends output 1 as "not following" when it is timed; undo that here.
    if (s.out1InputTimed)
        s.out1ByInput = true;
    if (s.out2InputTimed)
        s.out2ByInput = true;
    s.out1Enabled = s.out1ByInput || s.out1ByClip || s.smsUsersOnly;
    s.out2Enabled = s.out2ByInput || s.out2ByTemp || s.smsUsersOnly;
    model::applyAvailabilityRules(s);
}

} // namespace kes
