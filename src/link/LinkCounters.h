#pragma once
// What the link has been through since the program started, for the connection diagnostics.
#include <cstdint>

namespace kes {

class LinkCounters {
public:
    std::uint64_t exchanges = 0;      // request frames written in full
    std::uint64_t retries = 0;        // repeated attempts of one exchange
    std::uint64_t badCheckWords = 0;  // replies whose check word did not fit
    std::uint64_t timeouts = 0;       // frame writes or reads that ran out of time
    std::uint64_t unplugs = 0;        // interfaces that went away under an open handle
    std::uint64_t recoveries = 0;     // failing links that answered again within the recovery window

    // A dead handle reports the unplug on every call until it is replaced: count it once.
    void countUnplug()
    {
        if (!unplugCounted_)
            ++unplugs;
        unplugCounted_ = true;
    }
    // A new handle can be unplugged again.
    void handleOpened() { unplugCounted_ = false; }

private:
    bool unplugCounted_ = false;
};

} // namespace kes
