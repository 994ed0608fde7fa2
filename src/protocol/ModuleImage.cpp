#include "protocol/ModuleImage.h"

#include <algorithm>

namespace kes {
namespace {

Frame blockFrame(const ModuleImage& image, std::uint8_t block)
{
    Frame m = makeMessage(Command::WriteBlock, block);
    const ModuleImage::BlockData& data = image.blocks[block];
    std::copy(data.begin(), data.end(), m.begin() + dataOffset);
    return m;
}

} // namespace

void ModuleImage::put(std::uint8_t block, const Frame& frame)
{
    if (block >= blockCount)
        return;
    std::copy(frame.begin() + dataOffset, frame.begin() + payloadSize, blocks[block].begin());
    present.set(block);
}

bool sameSettings(const ModuleImage& a, const ModuleImage& b)
{
    if (!a.complete() || !b.complete())
        return false;
    for (std::uint8_t block = 0; block < blockCount; ++block)
        if (!sameBlockSettings(blockFrame(a, block), blockFrame(b, block)))
            return false;
    return true;
}

} // namespace kes
