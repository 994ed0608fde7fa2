#include "protocol/BlockExchange.h"

#include "link/UsbLink.h"

namespace kes {

namespace {

bool answersTheRead(const Frame& request, const Frame& reply)
{
    return reply[commandOffset] == static_cast<std::uint8_t>(Command::ReadBlock) &&
           reply[blockOffset] == request[blockOffset];
}

} // namespace

bool readBlock(std::uint8_t block, Frame& reply)
{
    return usbLink.queryFrame(readRequest(block), reply, &answersTheRead);
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
        // Any reply is taken here: one to another request (a late echo of the write) holds other
        // settings than were sent, and the block is written again.
        Frame reply{};
        if (!usbLink.queryFrame(readRequest(message[blockOffset]), reply))
            return false;
        if (holdsWrittenSettings(message, reply))
            return true;
    }
    return false;
}

} // namespace kes
