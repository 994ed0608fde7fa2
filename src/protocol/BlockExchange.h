#pragma once
// Writing and reading one configuration block through the program's link. Each returns
// whether the exchange succeeded; a failed read leaves its output untouched.
//
// A write is confirmed by reading the block back: the check word cannot see the same bit
// flipped in two bytes of one parity class, so a module may store other settings than were
// sent. A block read back different is written again, at most maxBlockWrites times in all; a
// write succeeds only when the module holds the settings sent.
#include "protocol/ConfigRecords.h"

#include <string>

namespace kes {

constexpr int maxBlockWrites = 3;

bool writeInputs(const InputsRecord& record);
bool writeAlarms(const AlarmsRecord& record);
bool writeText(std::uint8_t block, const std::wstring& text);
bool writeUser(int userIndex, const UserRecord& record);

bool readInputs(InputsRecord& record);
bool readAlarms(AlarmsRecord& record);
bool readText(std::uint8_t block, std::wstring& text);
bool readUser(int userIndex, UserRecord& record);

} // namespace kes
