#include "protocol/ModuleConfiguration.h"

#include "link/UsbLink.h"
#include "protocol/BlockExchange.h"
#include "protocol/RecordFields.h"
#include "model/Fields.h"

namespace kes {
namespace {

constexpr unsigned long pauseAfterFirstBlockMs = 200;

std::uint8_t textBlock(int index) { return static_cast<std::uint8_t>(firstTextBlock + index); }

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
    if (!readInputs(c.inputs))
        return false;
    usbLink.clock().sleep(pauseAfterFirstBlockMs);
    if (!readAlarms(c.alarms))
        return false;
    for (int u = 0; u < userCount; ++u)
        if (!readUser(u, c.users[u]))
            return false;
    for (int i = 0; i < textBlockCount; ++i)
        if (!readText(textBlock(i), c.texts[i]))
            return false;
    configuration = std::move(c);
    return true;
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
