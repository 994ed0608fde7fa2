#pragma once
// All sixteen blocks' records at once, held in memory: the module's configuration read
// without touching the window, or the window's as programming would send it.
#include "protocol/ConfigRecords.h"
#include "protocol/ModuleImage.h"

#include <array>
#include <cstdint>
#include <string>

namespace kes {

constexpr int textBlockCount = 9;  // blocks 2..10

// The order a reading job reads the blocks in: block 0, the pause, block 1, the five users,
// then the nine texts.
constexpr std::array<std::uint8_t, blockCount> readingOrder{0, 1, 11, 12, 13, 14, 15, 2, 3, 4, 5, 6, 7, 8, 9, 10};
constexpr unsigned long pauseAfterFirstBlockMs = 200;

struct ModuleConfiguration {
    InputsRecord inputs;
    AlarmsRecord alarms;
    std::array<std::wstring, textBlockCount> texts;  // texts[i] is block 2 + i
    std::array<UserRecord, userCount> users;
};

// The window's settings as programming gathers them, leaving the window as it is.
ModuleConfiguration gatherAsProgrammed();

// Reads the sixteen blocks in the reading job's order (block 0, the 200 ms pause, block 1,
// the users, the texts) as the module holds them; false at the first failed exchange, with
// `image` left as it was.
bool readModuleImage(ModuleImage& image);

// The sixteen write messages' data that programming would send for these records.
ModuleImage imageOf(const ModuleConfiguration& configuration);

// The records as reading decodes the blocks.
ModuleConfiguration configurationIn(const ModuleImage& image);

} // namespace kes
