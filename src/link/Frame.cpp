#include "link/Frame.h"

namespace kes {

namespace {
std::array<std::uint8_t, 2> checkWord(const Frame& frame)
{
    std::array<std::uint8_t, 2> word{0, 0};
    for (std::size_t i = 0; i < payloadSize; ++i)
        word[i % 2] = static_cast<std::uint8_t>(word[i % 2] ^ frame[i]);
    return word;
}
} // namespace

void setCheckWord(Frame& frame)
{
    const auto word = checkWord(frame);
    frame[payloadSize] = word[0];
    frame[payloadSize + 1] = word[1];
}

bool hasGoodCheckWord(const Frame& frame)
{
    const auto word = checkWord(frame);
    return frame[payloadSize] == word[0] && frame[payloadSize + 1] == word[1];
}

} // namespace kes
