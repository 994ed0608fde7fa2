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

bool readModuleImage(ModuleImage& image)
{
    ModuleImage read;
    for (std::uint8_t block : readingOrder) {
        Frame reply{};
        if (!readBlock(block, reply))
            return false;
        read.put(block, reply);
        if (block == readingOrder.front())
            usbLink.clock().sleep(pauseAfterFirstBlockMs);
    }
    image = read;
    return true;
}

ModuleImage imageOf(const ModuleConfiguration& c)
{
    ModuleImage image;
    image.put(static_cast<std::uint8_t>(ConfigBlock::Inputs), encodeInputs(c.inputs));
    image.put(static_cast<std::uint8_t>(ConfigBlock::Alarms), encodeAlarms(c.alarms));
    for (int i = 0; i < textBlockCount; ++i)
        image.put(textBlock(i), encodeText(textBlock(i), c.texts[i]));
    for (int u = 0; u < userCount; ++u)
        image.put(userBlock(u), encodeUser(u, c.users[u]));
    return image;
}

ModuleConfiguration configurationIn(const ModuleImage& image)
{
    ModuleConfiguration c;
    for (std::uint8_t block = 0; block < blockCount; ++block)
        decodeInto(c, block, image.frame(block));
    return c;
}

} // namespace kes
