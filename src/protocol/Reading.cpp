#include "protocol/Reading.h"

#include "link/UsbLink.h"
#include "model/Catalogue.h"
#include "model/EnableRules.h"
#include "protocol/BlockExchange.h"
#include "protocol/JobFailure.h"
#include "protocol/ModuleConfiguration.h"
#include "protocol/ModuleImage.h"
#include "protocol/RecordFields.h"

namespace kes {
namespace {

constexpr std::uint8_t lastUserBlock = userBlock(userCount - 1);

bool isUserBlock(std::uint8_t block) { return block >= userBlock(0) && block <= lastUserBlock; }

// Into the window's fields, as soon as the block has arrived.
void put(std::uint8_t block, const Frame& reply)
{
    if (block == static_cast<std::uint8_t>(ConfigBlock::Inputs))
        putInputs(decodeInputs(reply));
    else if (block == static_cast<std::uint8_t>(ConfigBlock::Alarms))
        putAlarms(decodeAlarms(reply));
    else if (isUserBlock(block))
        putUser(block - userBlock(0), decodeUser(reply));
    else
        textField(block).setText(decodeText(reply));
}

} // namespace

bool showReadError(HWND dialog)
{
    reportJobFailure(dialog, L"Błąd odczytu danych z urządzenia.");
    return false;
}

void tidyAfterReading()
{
    // Block 0 sends output 1 as "not following" when it is timed; undo that here.
    if (::out1InputTimed.isChecked())
        ::out1ByInput.setChecked(true);
    if (::out2InputTimed.isChecked())
        ::out2ByInput.setChecked(true);
    ::out1Enabled.setChecked(::out1ByInput.isChecked() || ::out1ByClip.isChecked() || ::smsUsersOnly.isChecked());
    ::out2Enabled.setChecked(::out2ByInput.isChecked() || ::out2ByTemp.isChecked() || ::smsUsersOnly.isChecked());
    ::out1ByInput.isChecked();
    ::out2ByInput.isChecked();
    ::out1InputTimed.isChecked();
    ::out2InputTimed.isChecked();
    model::applyAvailabilityRules();
}

bool readConfiguration(HWND dialog, ModuleImage* image)
{
    // A failed user block leaves its row as it was; the other users are still read.
    bool usersOk = true;
    for (std::uint8_t block : readingOrder) {
        Frame reply{};
        if (readBlock(block, reply)) {
            put(block, reply);
            if (image)
                image->put(block, reply);
        } else if (isUserBlock(block)) {
            usersOk = false;
        } else {
            return showReadError(dialog);
        }
        if (block == readingOrder.front())
            usbLink.clock().sleep(pauseAfterFirstBlockMs);
        if (block == lastUserBlock && !usersOk)
            return showReadError(dialog);
    }
    tidyAfterReading();
    return true;
}

} // namespace kes
