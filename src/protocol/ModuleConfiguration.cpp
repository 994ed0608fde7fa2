#include "protocol/ModuleConfiguration.h"

#include "link/UsbLink.h"
#include "protocol/BlockExchange.h"
#include "protocol/RecordFields.h"
#include "model/Fields.h"

namespace kes {
namespace {

std::uint8_t textBlock(int index) { return static_cast<std::uint8_t>(firstTextBlock + index); }

void decodeInto(ModuleConfiguration& c, std::uint8_t block, const Frame& reply)
{
    if (block == static_cast<std::uint8_t>(ConfigBlock::Inputs))
        c.inputs = decodeInputs(reply);
    else if (block == static_cast<std::uint8_t>(ConfigBlock::Alarms))
        c.alarms = decodeAlarms(reply);
    else if (block < userBlock(0))
        c.texts[static_cast<std::size_t>(block - firstTextBlock)] = decodeText(reply);
    else
        c.users[static_cast<std::size_t>(block - userBlock(0))] = decodeUser(reply);
}

} // namespace

ModuleConfiguration gatherAsProgrammed()
{
    ModuleConfiguration c;
    c.inputs = gatherInputs();
    c.alarms = gatherAlarms();
    for (int i = 0; i < textBlockCount; ++i)
        c.texts[i] = textField(textBlock(i)).getText();
    for (int u = 0; u < userCount; ++u)
        c.users[u] = userAsProgrammed(u);
    return c;
}

bool readModuleConfiguration(ModuleConfiguration& configuration)
{
    ModuleConfiguration c;
    for (std::uint8_t block : readingOrder) {
        Frame reply{};
        if (!readBlock(block, reply))
            return false;
        decodeInto(c, block, reply);
        if (block == readingOrder.front())
            usbLink.clock().sleep(pauseAfterFirstBlockMs);
    }
    configuration = std::move(c);
    return true;
}

ModuleImage imageOf(const ModuleConfiguration& c)
{
    ModuleImage image;
    const auto put = [&image](const Frame& message) { image.put(message[blockOffset], message); };
    put(encodeInputs(c.inputs));
    put(encodeAlarms(c.alarms));
    for (int i = 0; i < textBlockCount; ++i)
        put(encodeText(textBlock(i), c.texts[i]));
    for (int u = 0; u < userCount; ++u)
        put(encodeUser(u, c.users[u]));
    return image;
}

ModuleConfiguration throughTheModule(const ModuleConfiguration& c)
{
    ModuleConfiguration r;
    r.inputs = decodeInputs(encodeInputs(c.inputs));
    r.alarms = decodeAlarms(encodeAlarms(c.alarms));
    for (int i = 0; i < textBlockCount; ++i)
        r.texts[i] = decodeText(encodeText(textBlock(i), c.texts[i]));
    for (int u = 0; u < userCount; ++u)
        r.users[u] = decodeUser(encodeUser(u, c.users[u]));
    return r;
}

} // namespace kes
