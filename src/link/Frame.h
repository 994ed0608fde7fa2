#pragma once
// The 30-byte frame of the link: 28 payload bytes and a two-byte check word.
#include <array>
#include <cstddef>
#include <cstdint>

namespace kes {

constexpr std::size_t frameSize = 30;
constexpr std::size_t payloadSize = 28;
using Frame = std::array<std::uint8_t, frameSize>;

// Byte 28: XOR of bytes 0, 2, ..., 26; byte 29: XOR of bytes 1, 3, ..., 27.
void setCheckWord(Frame& frame);
bool hasGoodCheckWord(const Frame& frame);

} // namespace kes
