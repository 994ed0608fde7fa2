#include "protocol/ModuleImage.h"

#include <algorithm>

namespace kes {

void ModuleImage::put(std::uint8_t block, const Frame& frame)
{
    if (block >= blockCount)
        return;
    std::copy(frame.begin() + dataOffset, frame.begin() + payloadSize, blocks[block].begin());
    present.set(block);
}

Frame ModuleImage::frame(std::uint8_t block) const
{
    Frame m = makeMessage(Command::WriteBlock, block);
    const BlockData& data = blocks.at(block);
    std::copy(data.begin(), data.end(), m.begin() + dataOffset);
    return m;
}

bool sameSettings(const ModuleImage& a, const ModuleImage& b)
{
    if (!a.complete() || !b.complete())
        return false;
    for (std::uint8_t block = 0; block < blockCount; ++block)
        if (!sameBlockSettings(a.frame(block), b.frame(block)))
            return false;
    return true;
}

} // namespace kes
