#pragma once
// Writing and reading one configuration block through the program's link. Each returns
// whether the exchange succeeded; a failed read leaves its output untouched.
//
// A write is confirmed by reading the block back: the check word cannot see the same bit
// flipped in two bytes of one parity class, so a module may store other settings than were
// sent. Only the module's answer to the read of that block counts: a reply that is not one (a
// late echo of the write) verifies nothing, and the block is written again as when it reads back
// different: at most maxBlockWrites writes in all. A write succeeds only when the module holds
// the settings sent.
#include "protocol/ConfigRecords.h"

namespace kes {

constexpr int maxBlockWrites = 3;

// `message` is a write message (command 0x02) as the record encoders build it.
bool writeBlock(const Frame& message);

// The module's reply to a read request (command 0x03) for the block: only a reply carrying that
// command and block is taken; any other fails its try.
bool readBlock(std::uint8_t block, Frame& reply);

} // namespace kes
