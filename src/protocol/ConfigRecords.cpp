#include "protocol/ConfigRecords.h"

#include "protocol/ModuleText.h"

#include <cmath>

namespace kes {
namespace {

// Block 0
constexpr std::size_t accessCodeOffset = 2;
constexpr std::size_t pinOffset = 6;
constexpr std::size_t codeLength = 4;
constexpr std::array<std::size_t, 2> channelFlagsOffset{10, 17};
constexpr std::array<std::size_t, 2> channelTimeOffset{11, 18};
constexpr std::array<std::size_t, 2> channelOutputTimeOffset{14, 21};

enum ChannelBit : std::uint8_t {
    wiringA = 1u << 0,
    wiringB = 1u << 1,
    channelMarker = 1u << 2,
    channelEnabled = 1u << 3,
    outFollows = 1u << 4,
    outTimed = 1u << 5,
    channelSmsOn = 1u << 6,
    channelSmsOff = 1u << 7,
};

// Block 1
constexpr std::size_t tempFlagsOffset = 2;
constexpr std::size_t tempMaxOffset = 3;
constexpr std::size_t tempMinOffset = 4;
constexpr std::size_t clipFlagsOffset = 5;
constexpr std::size_t clipTimeOffset = 6;
constexpr std::size_t powerFlagsOffset = 9;
constexpr std::size_t powerMaxOffset = 10;
constexpr std::size_t powerMinOffset = 11;

enum TempBit : std::uint8_t {
    tempOn = 1u << 0,
    tempDrivesOut2 = 1u << 1,
    tempMarker = 1u << 2,
    tempSmsOnBit = 1u << 3,
    tempSmsOffBit = 1u << 4,
};
enum ClipBit : std::uint8_t {
    clipOn = 1u << 0,
    clipMarker = 1u << 1,
    clipUsers = 1u << 2,
    smsUsers = 1u << 3,
    clipTimedBit = 1u << 4,
};
constexpr std::uint8_t powerOn = 1u << 0;

// Text blocks
constexpr std::size_t textBytes = payloadSize - dataOffset; // 26

// User blocks
constexpr std::size_t userBitsOffset = 2;
constexpr std::size_t phoneOffset = 4;
constexpr std::size_t phoneBytes = 16;
constexpr std::size_t hoursOffset = userHoursOffset;
constexpr std::size_t hoursTenthsOffset = userHoursTenthsOffset;
constexpr std::size_t hoursEnd = userHoursEnd;
constexpr std::uint32_t noHours = 0xFFFFFF;
constexpr std::int32_t defaultHours = 24;

enum UserBit : std::uint16_t {
    modeMask = 0x7,
    rightTempBit = 1u << 3,
    rightPwrBit = 1u << 4,
    rightListenBit = 1u << 5,
    rightMessengerBit = 1u << 6,
    rightClipBit = 1u << 7,
    rightOutBit = 1u << 8,
};

// The bits the decoders read; the markers above are always sent as 1 and never read.
constexpr std::uint8_t channelBitsUsed = static_cast<std::uint8_t>(0xFF & ~channelMarker);
constexpr std::uint8_t tempBitsUsed = tempOn | tempDrivesOut2 | tempSmsOnBit | tempSmsOffBit;
constexpr std::uint8_t clipBitsUsed = clipOn | clipUsers | smsUsers | clipTimedBit;
constexpr std::uint16_t userBitsUsed =
    modeMask | rightTempBit | rightPwrBit | rightListenBit | rightMessengerBit | rightClipBit | rightOutBit;

constexpr std::size_t timeBytes = 3;  // 24 bits, low byte first

std::uint8_t bit(bool on, std::uint8_t mask) { return on ? mask : 0; }
bool has(std::uint32_t value, std::uint32_t mask) { return (value & mask) != 0; }

void put24(Frame& m, std::size_t offset, std::uint32_t value)
{
    m[offset] = static_cast<std::uint8_t>(value & 0xFF);
    m[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    m[offset + 2] = static_cast<std::uint8_t>((value >> 16) & 0xFF);
}

std::uint32_t take24(const Frame& m, std::size_t offset)
{
    return m[offset] | (std::uint32_t{m[offset + 1]} << 8) | (std::uint32_t{m[offset + 2]} << 16);
}

// Copies at most maxBytes narrowed characters; the rest of the area stays 0.
void putBytes(Frame& m, std::size_t offset, const std::wstring& text, std::size_t maxBytes)
{
    const std::string bytes = narrowText(text);
    for (std::size_t i = 0; i < bytes.size() && i < maxBytes; ++i)
        m[offset + i] = static_cast<std::uint8_t>(bytes[i]);
}

// A text counts up to and including its zero byte; what follows it is never read.
void markText(Frame& mask, const Frame& written, std::size_t offset, std::size_t maxBytes)
{
    for (std::size_t i = offset; i < offset + maxBytes; ++i) {
        mask[i] = 0xFF;
        if (written[i] == 0)
            break;
    }
}

void markBytes(Frame& mask, std::size_t offset, std::size_t count)
{
    for (std::size_t i = offset; i < offset + count; ++i)
        mask[i] = 0xFF;
}

std::wstring takeText(const Frame& m, std::size_t offset, std::size_t maxBytes)
{
    return widenText(bytesUntilZero(m.data() + offset, maxBytes));
}

std::uint8_t wiringBits(std::int32_t index)
{
    const bool a = index == 2 || index == 3;
    const bool b = index == 1 || index == 3;
    return bit(a, wiringA) | bit(b, wiringB);
}

} // namespace

void putTime(Frame& m, std::size_t offset, std::int32_t seconds)
{
    // 64-bit product: a large text must not overflow; only the low 24 bits go out.
    const std::int64_t tenths = static_cast<std::int64_t>(seconds) * 10;
    put24(m, offset, static_cast<std::uint32_t>(static_cast<std::uint64_t>(tenths) & 0xFFFFFF));
}

std::int32_t takeTime(const Frame& m, std::size_t offset)
{
    return static_cast<std::int32_t>(take24(m, offset) / 10);
}

std::uint8_t temperatureByte(std::int32_t celsius)
{
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(celsius) & 0xFF);
}

std::uint8_t voltageByte(double volts)
{
    const double tenths = std::trunc(volts * 10.0);
    // A converted value outside int range would be undefined; such a voltage never passes validation.
    if (!std::isfinite(tenths) || tenths < -2147483648.0 || tenths > 2147483647.0)
        return 0;
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(static_cast<std::int32_t>(tenths)) & 0xFF);
}

Frame encodeInputs(const InputsRecord& r)
{
    Frame m = makeMessage(Command::WriteBlock, static_cast<std::uint8_t>(ConfigBlock::Inputs));
    putBytes(m, accessCodeOffset, r.accessCode, codeLength);
    putBytes(m, pinOffset, r.simPin, codeLength);
    for (std::size_t c = 0; c < r.channel.size(); ++c) {
        const InputChannel& ch = r.channel[c];
        m[channelFlagsOffset[c]] = static_cast<std::uint8_t>(
            wiringBits(ch.wiring) | channelMarker | bit(ch.enabled, channelEnabled) |
            bit(ch.outputFollows, outFollows) | bit(ch.outputTimed, outTimed) | bit(ch.smsOn, channelSmsOn) |
            bit(ch.smsOff, channelSmsOff));
        putTime(m, channelTimeOffset[c], ch.time);
        putTime(m, channelOutputTimeOffset[c], ch.outputTime);
    }
    return m;
}

InputsRecord decodeInputs(const Frame& reply)
{
    InputsRecord r;
    r.accessCode = takeText(reply, accessCodeOffset, codeLength);
    r.simPin = takeText(reply, pinOffset, codeLength);
    for (std::size_t c = 0; c < r.channel.size(); ++c) {
        InputChannel& ch = r.channel[c];
        const std::uint8_t f = reply[channelFlagsOffset[c]];
        ch.wiring = 2 * (has(f, wiringA) ? 1 : 0) + (has(f, wiringB) ? 1 : 0);
        ch.enabled = has(f, channelEnabled);
        ch.outputFollows = has(f, outFollows);
        ch.outputTimed = has(f, outTimed);
        ch.smsOn = has(f, channelSmsOn);
        ch.smsOff = has(f, channelSmsOff);
        ch.time = takeTime(reply, channelTimeOffset[c]);
        ch.outputTime = takeTime(reply, channelOutputTimeOffset[c]);
    }
    return r;
}

Frame encodeAlarms(const AlarmsRecord& r)
{
    Frame m = makeMessage(Command::WriteBlock, static_cast<std::uint8_t>(ConfigBlock::Alarms));
    m[tempFlagsOffset] = static_cast<std::uint8_t>(bit(r.tempEnabled, tempOn) | bit(r.out2ByTemp, tempDrivesOut2) |
                                                   tempMarker | bit(r.tempSmsOn, tempSmsOnBit) |
                                                   bit(r.tempSmsOff, tempSmsOffBit));
    m[tempMaxOffset] = temperatureByte(r.tempMax);
    m[tempMinOffset] = temperatureByte(r.tempMin);
    m[clipFlagsOffset] = static_cast<std::uint8_t>(bit(r.out1ByClip, clipOn) | clipMarker |
                                                   bit(r.clipUsersOnly, clipUsers) | bit(r.smsUsersOnly, smsUsers) |
                                                   bit(r.clipTimed, clipTimedBit));
    putTime(m, clipTimeOffset, r.clipTime);
    m[powerFlagsOffset] = bit(r.powerEnabled, powerOn);
    m[powerMaxOffset] = voltageByte(r.powerMax);
    m[powerMinOffset] = voltageByte(r.powerMin);
    return m;
}

AlarmsRecord decodeAlarms(const Frame& reply)
{
    AlarmsRecord r;
    const std::uint8_t t = reply[tempFlagsOffset];
    r.tempEnabled = has(t, tempOn);
    r.out2ByTemp = has(t, tempDrivesOut2);
    r.alwaysTrue = true;
    r.tempSmsOn = has(t, tempSmsOnBit);
    r.tempSmsOff = has(t, tempSmsOffBit);
    r.tempMax = static_cast<std::int8_t>(reply[tempMaxOffset]);
    r.tempMin = static_cast<std::int8_t>(reply[tempMinOffset]);
    const std::uint8_t c = reply[clipFlagsOffset];
    r.out1ByClip = has(c, clipOn);
    r.clipUsersOnly = has(c, clipUsers);
    r.smsUsersOnly = has(c, smsUsers);
    r.clipTimed = has(c, clipTimedBit);
    r.clipTime = takeTime(reply, clipTimeOffset);
    r.powerEnabled = has(reply[powerFlagsOffset], powerOn);
    r.powerMax = reply[powerMaxOffset] / 10.0;
    r.powerMin = reply[powerMinOffset] / 10.0;
    return r;
}

Frame encodeText(std::uint8_t block, const std::wstring& text)
{
    Frame m = makeMessage(Command::WriteBlock, block);
    putBytes(m, dataOffset, text, textBytes);
    return m;
}

std::wstring decodeText(const Frame& reply)
{
    return takeText(reply, dataOffset, textBytes);
}

Frame encodeUser(int userIndex, const UserRecord& r)
{
    Frame m = makeMessage(Command::WriteBlock, userBlock(userIndex));
    for (std::size_t i = hoursOffset; i < hoursEnd; ++i)
        m[i] = 0xFF;
    if (!r.enabled)
        return m;

    const std::uint16_t mode = (r.notifyMode >= 0 && r.notifyMode <= modeMask) ? static_cast<std::uint16_t>(r.notifyMode) : 0;
    const std::uint16_t bits = static_cast<std::uint16_t>(
        mode | (r.rightTemp ? rightTempBit : 0) | (r.rightPwr ? rightPwrBit : 0) |
        (r.rightListen ? rightListenBit : 0) | (r.rightMessenger ? rightMessengerBit : 0) |
        (r.rightClip ? rightClipBit : 0) | (r.rightOut ? rightOutBit : 0));
    m[userBitsOffset] = static_cast<std::uint8_t>(bits & 0xFF);
    m[userBitsOffset + 1] = static_cast<std::uint8_t>(bits >> 8);
    putBytes(m, phoneOffset, r.phone, phoneBytes);

    // The first user's rights are never time-limited, whatever its check box says.
    if (r.timedRights && userIndex != 0) {
        const std::uint32_t hours = static_cast<std::uint32_t>(r.hours) & 0xFFFFFF;
        put24(m, hoursOffset, hours);
        const std::uint32_t tenths = static_cast<std::uint32_t>(r.hours / 10 + 1);
        m[hoursTenthsOffset] = static_cast<std::uint8_t>(tenths & 0xFF);
        m[hoursTenthsOffset + 1] = static_cast<std::uint8_t>((tenths >> 8) & 0xFF);
    }
    return m;
}

UserRecord decodeUser(const Frame& reply)
{
    UserRecord r;
    const std::uint32_t bits = reply[userBitsOffset] | (std::uint32_t{reply[userBitsOffset + 1]} << 8);
    r.notifyMode = static_cast<std::int32_t>(bits & modeMask);
    r.rightTemp = has(bits, rightTempBit);
    r.rightPwr = has(bits, rightPwrBit);
    r.rightListen = has(bits, rightListenBit);
    r.rightMessenger = has(bits, rightMessengerBit);
    r.rightClip = has(bits, rightClipBit);
    r.rightOut = has(bits, rightOutBit);
    const std::uint32_t t = take24(reply, hoursOffset);
    r.timedRights = t != noHours;
    r.hours = r.timedRights ? static_cast<std::int32_t>(t) : defaultHours;
    r.phone = takeText(reply, phoneOffset, phoneBytes);
    r.enabled = !r.phone.empty();
    return r;
}

Frame meaningfulBits(const Frame& written)
{
    Frame mask{};
    const std::uint8_t block = written[blockOffset];
    if (block == static_cast<std::uint8_t>(ConfigBlock::Inputs)) {
        markText(mask, written, accessCodeOffset, codeLength);
        markText(mask, written, pinOffset, codeLength);
        for (std::size_t c = 0; c < channelFlagsOffset.size(); ++c) {
            mask[channelFlagsOffset[c]] = channelBitsUsed;
            markBytes(mask, channelTimeOffset[c], timeBytes);
            markBytes(mask, channelOutputTimeOffset[c], timeBytes);
        }
    } else if (block == static_cast<std::uint8_t>(ConfigBlock::Alarms)) {
        mask[tempFlagsOffset] = tempBitsUsed;
        mask[tempMaxOffset] = 0xFF;
        mask[tempMinOffset] = 0xFF;
        mask[clipFlagsOffset] = clipBitsUsed;
        markBytes(mask, clipTimeOffset, timeBytes);
        mask[powerFlagsOffset] = powerOn;
        mask[powerMaxOffset] = 0xFF;
        mask[powerMinOffset] = 0xFF;
    } else if (block < static_cast<std::uint8_t>(ConfigBlock::FirstUser)) {
        markText(mask, written, dataOffset, textBytes);
    } else if (block < blockCount) {
        mask[userBitsOffset] = static_cast<std::uint8_t>(userBitsUsed & 0xFF);
        mask[userBitsOffset + 1] = static_cast<std::uint8_t>(userBitsUsed >> 8);
        markText(mask, written, phoneOffset, phoneBytes);
        markBytes(mask, hoursOffset, hoursEnd - hoursOffset);
    }
    return mask;
}

bool sameBlockSettings(const Frame& written, const Frame& other)
{
    const Frame mask = meaningfulBits(written);
    for (std::size_t i = dataOffset; i < payloadSize; ++i)
        if (((written[i] ^ other[i]) & mask[i]) != 0)
            return false;
    return true;
}

bool holdsWrittenSettings(const Frame& written, const Frame& reply)
{
    return reply[commandOffset] == static_cast<std::uint8_t>(Command::ReadBlock) &&
           reply[blockOffset] == written[blockOffset] && sameBlockSettings(written, reply);
}

Frame readRequest(std::uint8_t block)
{
    return makeMessage(Command::ReadBlock, block);
}

} // namespace kes
