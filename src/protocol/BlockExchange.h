#pragma once
// Writing and reading one configuration block through the program's link. Each returns
// whether the exchange succeeded; a failed read leaves its output untouched.
#include "protocol/ConfigRecords.h"

#include <string>

namespace kes {

bool writeInputs(const InputsRecord& record);
bool writeAlarms(const AlarmsRecord& record);
bool writeText(std::uint8_t block, const std::wstring& text);
bool writeUser(int userIndex, const UserRecord& record);

bool readInputs(InputsRecord& record);
bool readAlarms(AlarmsRecord& record);
bool readText(std::uint8_t block, std::wstring& text);
bool readUser(int userIndex, UserRecord& record);

} // namespace kes
