#pragma once
// The last good status reply and the local time it came. Every poll empties the module text and
// resets the temperature before its exchange, so after one missed reply the link no longer holds
// what the module last said, though the module still counts as answering; this does.
#include "protocol/StatusMessages.h"

#include <windows.h>

namespace kes {

struct ReceivedStatus {
    StatusReply values;
    SYSTEMTIME at{};  // local time
};

} // namespace kes
