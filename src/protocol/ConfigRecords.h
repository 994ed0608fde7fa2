#pragma once
// The module's configuration blocks and their byte layouts. Pure byte work: the fields
// are gathered into these records elsewhere (RecordFields.h), the exchange is the link's.
#include "protocol/Message.h"

#include <array>
#include <cstdint>
#include <string>

namespace kes {

enum class ConfigBlock : std::uint8_t {
    Inputs = 0,
    Alarms = 1,
    In1Name = 2,
    In2Name = 3,
    Out1Name = 4,
    Out2Name = 5,
    TempName = 6,
    In1SmsOnText = 7,
    In2SmsOnText = 8,
    In1SmsOffText = 9,
    In2SmsOffText = 10,
    FirstUser = 11,
};

constexpr int blockCount = 16;
constexpr int userCount = 5;
constexpr std::uint8_t userBlock(int userIndex) { return static_cast<std::uint8_t>(11 + userIndex); }

// A user block's time-limited rights: the hours in frame bytes 20..22 (0xFFFFFF: none), then
// hours / 10 + 1 in bytes 23..24, which decoding does not read.
constexpr std::size_t userHoursOffset = 20;
constexpr std::size_t userHoursTenthsOffset = 23;
constexpr std::size_t userHoursEnd = 25;

// One alarm input and the output it may drive (output 1 for input 1, output 2 for input 2).
struct InputChannel {
    bool enabled = false;
    std::int32_t wiring = 0;   // list index: NO PLUS, NO GND, NC PLUS, NC GND
    std::int32_t time = 0;     // seconds
    bool smsOn = false;
    bool smsOff = false;
    bool outputFollows = false;
    bool outputTimed = false;
    std::int32_t outputTime = 0; // seconds
};

struct InputsRecord {
    std::wstring accessCode;
    std::wstring simPin;
    std::array<InputChannel, 2> channel;
};

struct AlarmsRecord {
    bool tempEnabled = false;
    bool out2ByTemp = false;
    bool alwaysTrue = true;
    bool tempSmsOn = false;
    bool tempSmsOff = false;
    std::int32_t tempMax = 0;
    std::int32_t tempMin = 0;
    bool out1ByClip = false;
    bool clipUsersOnly = false;
    bool clipTimed = false;
    std::int32_t clipTime = 0; // seconds
    bool smsUsersOnly = false;
    bool powerEnabled = false;
    double powerMax = 0.0;
    double powerMin = 0.0;
};

struct UserRecord {
    bool enabled = false;
    std::int32_t notifyMode = 0; // list index 0..4
    bool rightOut = false;
    bool rightTemp = false;
    bool rightPwr = false;
    bool rightClip = false;
    bool rightListen = false;
    bool rightMessenger = false;
    bool timedRights = false;
    std::int32_t hours = 24;
    std::wstring phone;
};

// Write messages (command 0x02), check bytes left 0.
Frame encodeInputs(const InputsRecord& r);
Frame encodeAlarms(const AlarmsRecord& r);
Frame encodeText(std::uint8_t block, const std::wstring& text);
Frame encodeUser(int userIndex, const UserRecord& r);

// Read request (command 0x03) for one block.
Frame readRequest(std::uint8_t block);

// Decoding a read reply: bytes 0 and 1 are not looked at.
InputsRecord decodeInputs(const Frame& reply);
AlarmsRecord decodeAlarms(const Frame& reply);
std::wstring decodeText(const Frame& reply);
UserRecord decodeUser(const Frame& reply);

// The bits of a write message that carry settings, by the block's layout: markers, don't-care
// bits, bytes after a text's zero byte and unused bytes are 0. A module may fill those as it likes.
Frame meaningfulBits(const Frame& written);
// Whether `other` carries the settings of the write message `written` in its bytes 2..27
// (its bytes 0 and 1 are not looked at, as in decoding).
bool sameBlockSettings(const Frame& written, const Frame& other);
// Whether a read reply confirms the write message `written`: it answers a read of that very block
// (command 0x03, the same block number) and holds its settings. A late reply to the write itself
// echoes the data sent and says nothing of what the module holds.
bool holdsWrittenSettings(const Frame& written, const Frame& reply);

// The value encodings, exposed for their own tests.
void putTime(Frame& m, std::size_t offset, std::int32_t seconds);
std::int32_t takeTime(const Frame& m, std::size_t offset);
std::uint8_t temperatureByte(std::int32_t celsius);
std::uint8_t voltageByte(double volts);

} // namespace kes
