#pragma once
// Reading the module's configuration: one loop that reads the sixteen blocks in the reading job's
// order and hands each to a sink, and the reading job itself, whose sink puts each block into the
// window.
#include "protocol/ModuleImage.h"

#include <windows.h>

#include <array>
#include <cstdint>

namespace kes {

// Block 0, the 200 ms pause, block 1, the five users, then the nine texts.
constexpr std::array<std::uint8_t, blockCount> readingOrder{0, 1, 11, 12, 13, 14, 15, 2, 3, 4, 5, 6, 7, 8, 9, 10};
constexpr unsigned long pauseAfterFirstBlockMs = 200;

class BlockSink {
public:
    // The module's reply to the read of the block (command 0x03 and that block in bytes 0-1).
    virtual void blockRead(std::uint8_t block, const Frame& reply) = 0;

protected:
    BlockSink() = default;
    ~BlockSink() = default;
    BlockSink(const BlockSink&) = default;
    BlockSink& operator=(const BlockSink&) = default;
};

// Reads the blocks in the reading order, each handed to the sink as it arrives. Block 0 or 1, or a
// text, failing ends the loop at once; a user block failing leaves that block out, the other users
// are still read, and the loop ends after the fifth. A reply is taken only when it answers that
// very read; any other fails its try. True when all sixteen were read.
bool readBlocks(BlockSink& sink);

// The reading job: every block as it arrives decoded onto the window's settings and shown, then
// the tidy-up of the derived check boxes and the availability. On a failure the job's failure is
// told (owned by `dialog`) once what arrived is shown, and the tidy-up is skipped. The caller keeps
// the main timer stopped meanwhile. True when all sixteen blocks were read; `image`, when given,
// receives every block read.
bool readConfiguration(HWND dialog, ModuleImage* image = nullptr);

// The module's sixteen blocks read by the same loop without touching the window; false, with
// `image` left as it was, when the reading failed.
bool readModuleImage(ModuleImage& image);

// The reading job's failure, owned by `dialog`; returns false for the caller to pass on.
bool showReadError(HWND dialog);

} // namespace kes
