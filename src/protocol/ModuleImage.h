#pragma once
// A module's sixteen blocks as bytes: what a reading job read from it, or what a programming
// job wrote into it. Kept to recognise a module by what it holds.
#include "protocol/ConfigRecords.h"

#include <array>
#include <bitset>
#include <cstdint>

namespace kes {

struct ModuleImage {
    using BlockData = std::array<std::uint8_t, payloadSize - dataOffset>;  // frame bytes 2..27

    std::array<BlockData, blockCount> blocks{};
    std::bitset<blockCount> present;

    // Takes the data of a block frame (a read reply or a write message) as block `block`.
    void put(std::uint8_t block, const Frame& frame);
    // The block as a write message carrying its data; the decoders read it as a reply.
    Frame frame(std::uint8_t block) const;
    bool complete() const { return present.all(); }
};

// Both complete and holding the same settings: every bit that a block's layout reads is equal
// (markers, don't-care bits and bytes after a text's end are not settings).
bool sameSettings(const ModuleImage& a, const ModuleImage& b);

} // namespace kes
