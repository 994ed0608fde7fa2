#pragma once
// Payload layout shared by every message to the module: byte 0 the command, byte 1 the
// block or chunk number, data from byte 2. Bytes 28 and 29 are the link's check word.
#include "link/Frame.h"

#include <cstddef>
#include <cstdint>

namespace kes {

enum class Command : std::uint8_t {
    StatusPoll = 0x01,
    WriteBlock = 0x02,
    ReadBlock = 0x03,
    SmsChunk = 0x04,
    FetchChunk = 0x05,
};

constexpr std::size_t commandOffset = 0;
constexpr std::size_t blockOffset = 1;
constexpr std::size_t dataOffset = 2;

// An all-zero frame carrying the command and the second byte (block or chunk number).
inline Frame makeMessage(Command command, std::uint8_t second)
{
    Frame m{};
    m[commandOffset] = static_cast<std::uint8_t>(command);
    m[blockOffset] = second;
    return m;
}

} // namespace kes
