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
        Frame reply{};
        if (!usbLink.sendFrame(message) || !readBlock(message[blockOffset], reply))
            return false;
        if (holdsWrittenSettings(message, reply))
            return true;
    }
    return false;
}

} // namespace kes
