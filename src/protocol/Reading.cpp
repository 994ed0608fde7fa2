#include "protocol/Reading.h"

#include "link/UsbLink.h"
#include "model/SettingsView.h"
#include "protocol/BlockExchange.h"
#include "protocol/Notices.h"
#include "protocol/SettingsBlocks.h"

namespace kes {
namespace {

constexpr std::uint8_t lastUserBlock = userBlock(userCount - 1);

bool isUserBlock(std::uint8_t block) { return block >= userBlock(0) && block <= lastUserBlock; }

// Into the window, as soon as the block has arrived. Nothing else writes the window meanwhile.
class WindowSink final : public BlockSink {
public:
    explicit WindowSink(ModuleImage* image) : settings(windowSettings()), image_(image) {}

    void blockRead(std::uint8_t block, const Frame& reply) override
    {
        decodeBlock(block, reply, settings);
        showSettings(settings);
        if (image_)
            image_->put(block, reply);
    }

    Settings settings;  // the window's

private:
    ModuleImage* image_;
};

class ImageSink final : public BlockSink {
public:
    void blockRead(std::uint8_t block, const Frame& reply) override { image.put(block, reply); }
    ModuleImage image;
};

} // namespace

bool readBlocks(BlockSink& sink)
{
    // A failed user block leaves its part out; the other users are still read.
    bool usersOk = true;
    for (std::uint8_t block : readingOrder) {
        Frame reply{};
        if (readBlock(block, reply))
            sink.blockRead(block, reply);
        else if (isUserBlock(block))
            usersOk = false;
        else
            return false;
        if (block == readingOrder.front())
            usbLink.clock().sleep(pauseAfterFirstBlockMs);
        if (block == lastUserBlock && !usersOk)
            return false;
    }
    return true;
}

bool showReadError(HWND dialog)
{
    tellUser(dialog, Notice::JobFailed, L"Błąd odczytu danych z urządzenia.");
    return false;
}

bool readConfiguration(HWND dialog, ModuleImage* image)
{
    WindowSink sink(image);
    if (!readBlocks(sink))
        return showReadError(dialog);
    tidyAfterReading(sink.settings);
    showSettings(sink.settings);
    return true;
}

bool readModuleImage(ModuleImage& image)
{
    ImageSink sink;
    if (!readBlocks(sink))
        return false;
    image = sink.image;
    return true;
}

} // namespace kes
