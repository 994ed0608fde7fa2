#include "protocol/Reading.h"

#include "link/UsbLink.h"
#include "model/Catalogue.h"
#include "model/EnableRules.h"
#include "protocol/BlockExchange.h"
#include "protocol/RecordFields.h"
#include "support/MessageBox.h"

namespace kes {
namespace {

constexpr unsigned long pauseAfterFirstBlockMs = 200;

} // namespace

bool showReadError(HWND dialog)
{
    showMessageBox(dialog, L"Błąd odczytu danych z urządzenia.", L"Błąd", MB_ICONERROR);
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

bool readConfiguration(HWND dialog)
{
    InputsRecord inputs;
    if (!readInputs(inputs))
        return showReadError(dialog);
    putInputs(inputs);

    usbLink.clock().sleep(pauseAfterFirstBlockMs);

    AlarmsRecord alarms;
    if (!readAlarms(alarms))
        return showReadError(dialog);
    putAlarms(alarms);

    bool usersOk = true;
    for (int u = 0; u < userCount; ++u) {
        UserRecord user;
        if (readUser(u, user))
            putUser(u, user);
        else
            usersOk = false;
    }
    if (!usersOk)
        return showReadError(dialog);

    for (std::uint8_t block = firstTextBlock; block <= lastTextBlock; ++block) {
        std::wstring text;
        if (!readText(block, text))
            return showReadError(dialog);
        textField(block).setText(text);
    }
    tidyAfterReading();
    return true;
}

} // namespace kes
