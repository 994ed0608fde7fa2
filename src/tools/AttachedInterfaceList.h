#pragma once
// The interfaces attached, for a view refreshed every tick: the library builds its device list
// by asking the devices on the bus, so the list is asked afresh only every listing period of the
// link clock, or at once when the link has opened or closed an interface since; the last list
// is kept in between.
#include "link/UsbLink.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kes {

class AttachedInterfaceList {
public:
    static constexpr double listingPeriodSeconds = 2.0;

    const std::vector<AttachedInterface>& current(UsbLink& link);

private:
    std::optional<std::int64_t> listedAt_;  // link clock counts
    std::string heldSerial_;                // the interface the link held then; empty: none
    std::vector<AttachedInterface> interfaces_;
};

} // namespace kes
