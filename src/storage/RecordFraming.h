#pragma once
// The data file's record framing, checked as a whole before anything is loaded: a start
// marker U+0003, records U+0002 value U+0002 (a text's value ends in its own U+0002), an
// end marker U+0003. Records are identified by position only, so each one is read as the
// kind of the field at its position.
#include "model/SettingsRecords.h"

#include <istream>
#include <string>
#include <vector>

namespace kes {

// A text holds any characters but U+0002 and U+0003; a flag is the digit 0 or 1; an index is
// decimal.
struct RecordSpec {
    RecordKind kind = RecordKind::Text;
    int itemCount = 0;  // Index only: valid indices are -1 .. itemCount-1; 0 means any
};

// The kinds of the settings' records, in their order.
const std::vector<RecordSpec>& recordSpecs();

// Reads from just after the signature: the header up to the start marker, the records
// and the end marker. Returns one value per record present (fewer than `specs` for an
// older, shorter file; records past `specs` are skipped). Throws
// ControlBufor::BadFormatInFile when the start marker is missing or the framing is
// damaged anywhere up to the end marker.
std::vector<std::wstring> readRecords(std::wistream& in, const std::vector<RecordSpec>& specs);

// The framing of the given values as the registry's reader takes it, markers included.
std::wstring frameRecords(const std::vector<std::wstring>& values, const std::vector<RecordSpec>& specs);

// A text as a record may carry it: without U+0002 and U+0003.
std::wstring withoutMarkers(const std::wstring& text);

} // namespace kes
