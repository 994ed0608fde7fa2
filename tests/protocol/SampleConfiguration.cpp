#include "SampleConfiguration.h"

#include "model/Catalogue.h"
#include "model/SettingsView.h"
#include "protocol/SettingsBlocks.h"

namespace protocol_tests {

void applySampleConfiguration()
{
    accessCode.setText(L"AB12");
    simPin.setText(L"");
    in1Enabled.setChecked(true);
    in1Name.setText(L"Drzwi");
    in1Wiring.setSelection(3);
    in1Time.setText(L"99999");
    in1SmsOn.setChecked(true);
    in1SmsOnText.setText(L"Alarm wejscie 1 ON");
    in1SmsOff.setChecked(false);
    in1SmsOffText.setText(L"Koniec alarmu 1");
    in2Enabled.setChecked(true);
    in2Name.setText(L"Okno");
    in2Wiring.setSelection(1);
    in2Time.setText(L"30");
    in2SmsOn.setChecked(false);
    in2SmsOnText.setText(L"Okno otwarte");
    in2SmsOff.setChecked(true);
    in2SmsOffText.setText(L"Okno zamkniete ABCDEFGHIJ");  // 25 characters, the longest
    out1Enabled.setChecked(true);
    out1Name.setText(L"Brama");
    out1ByInput.setChecked(true);
    out1InputTimed.setChecked(true);
    out1InputTime.setText(L"15");
    out1ByClip.setChecked(true);
    out1ClipUsersOnly.setChecked(true);
    out1ClipTimed.setChecked(true);
    out1ClipTime.setText(L"5");
    out2Enabled.setChecked(true);
    out2Name.setText(L"Syrena");
    out2ByInput.setChecked(true);
    out2InputTimed.setChecked(true);
    out2InputTime.setText(L"7");
    out2ByTemp.setChecked(true);
    smsUsersOnly.setChecked(true);
    tempEnabled.setChecked(true);
    tempName.setText(L"Piwnica");
    tempSmsOn.setChecked(true);
    tempSmsOff.setChecked(false);
    tempMax.setText(L"120");
    tempMin.setText(L"-50");
    powerEnabled.setChecked(true);
    powerMax.setText(L"24");
    powerMin.setText(L"10");

    struct Row {
        bool active;
        const wchar_t* phone;
        int notify;
        bool out, temp, pwr, clip, listen, messenger, timed;
        const wchar_t* hours;
    };
    const Row rows[5] = {
        {true, L"+48600100200", 3, true, true, false, true, false, false, false, L"24"},
        {true, L"123456789012345", 2, false, false, false, false, true, true, true, L"48"},
        {true, L"+1", 1, false, false, true, false, false, false, true, L"0"},
        {false, L"", 0, false, false, false, false, false, false, false, L"24"},
        {true, L"600", 4, true, true, true, false, false, true, true, L"999"},
    };
    for (int u = 0; u < 5; ++u) {
        const Row& r = rows[u];
        userActive[u].setChecked(r.active);
        userPhone[u].setText(r.phone);
        userNotify[u].setSelection(r.notify);
        userRightOut[u].setChecked(r.out);
        userRightTemp[u].setChecked(r.temp);
        userRightPwr[u].setChecked(r.pwr);
        userRightClip[u].setChecked(r.clip);
        userRightListen[u].setChecked(r.listen);
        userRightMessenger[u].setChecked(r.messenger);
        userTimedRights[u].setChecked(r.timed);
        userRightsHours[u].setText(r.hours);
    }
    kes::Settings shown = kes::windowSettings();
    kes::tidyAfterReading(shown);
    kes::showSettings(shown);
}

} // namespace protocol_tests
