#pragma once
// A module's memory as programming leaves it from a new window once validation has rewritten
// the settings, written out byte by byte: inputs, outputs, TEMP and POWER switched off at their
// fixed values, no users. Read into a window, it passes validation with nothing rewritten, so a
// test's own changes are all that differ.
#include "Simulator.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace harness {

// A text block: the text's bytes, the rest 0.
inline void putText(qlvsim::Block& block, const char* text)
{
    block.fill(0);
    std::memcpy(block.data(), text, std::strlen(text));
}

// Frame bytes 20..24 of a user block without time-limited rights.
constexpr std::array<std::uint8_t, 5> noTimedRights{0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// A user with the number +48600100200: the rights' bits of frame byte 2, the number's 16 bytes,
// then frame bytes 20..24.
inline void putUser(qlvsim::Block& block, std::uint8_t bits, const std::array<std::uint8_t, 5>& hours)
{
    block = {bits, 0x00, '+', '4', '8', '6', '0', '0', '1', '0', '0', '2', '0', '0', 0x00, 0x00, 0x00, 0x00,
             hours[0], hours[1], hours[2], hours[3], hours[4]};
}

inline void programNewWindow(qlvsim::Simulator& sim, std::size_t index = 0)
{
    // "WKTR", PIN "4821"; per input: the flags' always-set bit alone, 1 s and its output's 1 s
    // (10 tenths each).
    sim.block(0, index) = {0x57, 0x4B, 0x54, 0x52, 0x34, 0x38, 0x32, 0x31, 0x04, 0x0A, 0x00,
                           0x00, 0x0A, 0x00, 0x00, 0x04, 0x0A, 0x00, 0x00, 0x0A, 0x00, 0x00};
    // TEMP off at 25 and 16 degrees; CLIP off with 1 s; POWER off at 24.0 and 12.0 V.
    sim.block(1, index) = {0x04, 0x19, 0x10, 0x02, 0x0A, 0x00, 0x00, 0x00, 0xF0, 0x78};
    const char* const texts[] = {"INPUT-1",    "INPUT-2",    "OUT-1",       "OUT-2",      "TEMP",
                                 "INPUT-1 ON", "INPUT-2 ON", "INPUT-1 OFF", "INPUT-2 OFF"};
    std::size_t block = 2;
    for (const char* text : texts)
        putText(sim.block(block++, index), text);
    // Switched-off users: no bits, no number, no time-limited rights.
    for (; block < qlvsim::blockCount; ++block)
        sim.block(block, index) = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
}

} // namespace harness
