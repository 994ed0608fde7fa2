#include "protocol/BlockExchange.h"

#include "link/UsbLink.h"

namespace kes {

bool readBlock(std::uint8_t block, Frame& reply)
{
    return usbLink.queryFrame(readRequest(block), reply);
}

bool writeBlock(const Frame& message)
{
    for (int write = 0; write < maxBlockWrites; ++write) {
        if (!usbLink.sendFrame(message))
            return false;
        // A try that went unanswered in time may be answered yet: that echo of the write must
        // not be read as the read-back.
        if (usbLink.lastExchange().retried())
            usbLink.purgeWhenQuiet();
        Frame reply{};
        if (!readBlock(message[blockOffset], reply))
            return false;
        if (holdsWrittenSettings(message, reply))
            return true;
    }
    return false;
}

} // namespace kes
