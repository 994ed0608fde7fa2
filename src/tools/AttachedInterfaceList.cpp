#include "tools/AttachedInterfaceList.h"

#include <cmath>

namespace kes {

const std::vector<AttachedInterface>& AttachedInterfaceList::current(UsbLink& link)
{
    Clock& clock = link.clock();
    const std::int64_t now = clock.now();
    // In counts, so that a period of whole ticks is never missed by a rounding.
    const auto period = static_cast<std::int64_t>(std::llround(listingPeriodSeconds / clock.secondsPerCount()));
    const std::string held = link.isOpen() ? link.serialNumber : std::string();
    // A clock that went back (another link clock) counts as due.
    const bool due = !listedAt_ || now < *listedAt_ || now - *listedAt_ >= period;
    if (due || held != heldSerial_) {
        interfaces_ = link.attachedInterfaces();
        listedAt_ = now;
        heldSerial_ = held;
    }
    return interfaces_;
}

} // namespace kes
