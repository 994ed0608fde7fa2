#pragma once
// Between the bound fields and the block records: gathering for programming, putting for
// reading back. Only the fields' own operations are used, so the live controls are read
// and written (and check boxes re-apply their dependents).
#include "protocol/ConfigRecords.h"

#include <cstdint>
#include <string>

namespace kes {

class EditControl;

InputsRecord gatherInputs();
AlarmsRecord gatherAlarms();
// A row with PODSŁUCH checked loses its CLIP right in the window too.
UserRecord gatherUser(int userIndex);
// The same record without touching the window: PODSŁUCH wins over CLIP in the record only.
UserRecord userAsProgrammed(int userIndex);

void putInputs(const InputsRecord& record);
void putAlarms(const AlarmsRecord& record);
void putUser(int userIndex, const UserRecord& record);

// The edit field of text block 2..10.
EditControl& textField(std::uint8_t block);
constexpr std::uint8_t firstTextBlock = static_cast<std::uint8_t>(ConfigBlock::In1Name);
constexpr std::uint8_t lastTextBlock = static_cast<std::uint8_t>(ConfigBlock::In2SmsOffText);

} // namespace kes
