#include "support/DebugLog.h"

#include "support/DebugLogRing.h"

#include <windows.h>

namespace kes {

namespace {
DebugLogSink currentSink = nullptr;
}

DebugLogSink setDebugLogSink(DebugLogSink sink)
{
    DebugLogSink previous = currentSink;
    currentSink = sink;
    return previous;
}

template <>
void log_to_win32_debugger<wchar_t>::write(const wchar_t* message)
{
    debugLogRing().add(message);
    if (currentSink)
        currentSink(message);
    else
        OutputDebugStringW(message);
}

} // namespace kes
