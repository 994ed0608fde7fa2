#include "protocol/BlockExchange.h"

#include "link/UsbLink.h"

namespace kes {
namespace {

bool query(std::uint8_t block, Frame& reply)
{
    return usbLink.queryFrame(readRequest(block), reply);
}

bool writeAndVerify(const Frame& message)
{
    for (int write = 0; write < maxBlockWrites; ++write) {
        Frame reply{};
        if (!usbLink.sendFrame(message) || !query(message[blockOffset], reply))
            return false;
        if (holdsWrittenSettings(message, reply))
            return true;
    }
    return false;
}

} // namespace

bool writeInputs(const InputsRecord& record) { return writeAndVerify(encodeInputs(record)); }
bool writeAlarms(const AlarmsRecord& record) { return writeAndVerify(encodeAlarms(record)); }
bool writeText(std::uint8_t block, const std::wstring& text) { return writeAndVerify(encodeText(block, text)); }
bool writeUser(int userIndex, const UserRecord& record) { return writeAndVerify(encodeUser(userIndex, record)); }

bool readInputs(InputsRecord& record)
{
    Frame reply{};
    if (!query(static_cast<std::uint8_t>(ConfigBlock::Inputs), reply))
        return false;
    record = decodeInputs(reply);
    return true;
}

bool readAlarms(AlarmsRecord& record)
{
    Frame reply{};
    if (!query(static_cast<std::uint8_t>(ConfigBlock::Alarms), reply))
        return false;
    record = decodeAlarms(reply);
    return true;
}

bool readText(std::uint8_t block, std::wstring& text)
{
    Frame reply{};
    if (!query(block, reply))
        return false;
    text = decodeText(reply);
    return true;
}

bool readUser(int userIndex, UserRecord& record)
{
    Frame reply{};
    if (!query(userBlock(userIndex), reply))
        return false;
    record = decodeUser(reply);
    return true;
}

} // namespace kes
