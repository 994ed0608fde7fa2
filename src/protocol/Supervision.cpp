#include "protocol/Supervision.h"

#include "link/UsbLink.h"
#include "model/Catalogue.h"
#include "protocol/JobEvents.h"
#include "protocol/ModuleImage.h"
#include "protocol/ModuleText.h"
#include "protocol/Notices.h"
#include "protocol/Programming.h"
#include "protocol/Reading.h"
#include "protocol/StatusHistory.h"
#include "protocol/StatusMessages.h"

#include <utility>
#include <vector>

namespace kes {

bool out1Clicked = false;
bool out2Clicked = false;
bool clipClicked = false;
bool smsClicked = false;
SupervisionState supervision;

namespace {

constexpr std::int32_t temperatureBeforePoll = -200;
constexpr std::uint8_t repliesMissedForSilence = 3;
constexpr unsigned long pauseAfterSmsChunkMs = 20;
constexpr wchar_t plugInText[] = L"podłącz QLV-3 USB";
constexpr wchar_t linkOkText[] = L"QLV-3 USB OK";

class WindowTimer final : public MainTimer {
public:
    void stop(HWND dialog) override { KillTimer(dialog, mainTimerId); }
    void start(HWND dialog) override { SetTimer(dialog, mainTimerId, mainTimerPeriodMs, nullptr); }
};

MainTimer& windowTimer()
{
    static WindowTimer timer;
    return timer;
}

MainTimer*& installedTimer()
{
    static MainTimer* timer = &windowTimer();
    return timer;
}

bool takeFlag(bool& flag) { return std::exchange(flag, false); }

void showStatusValues()
{
    UsbLink& link = usbLink;
    ::statusOperator.setText(widenText(link.operatorName));
    ::statusLevel.setText(signalText());
    ::statusPower.setText(voltageText());
    ::statusIn1.setChecked(link.in1State);
    ::statusIn2.setChecked(link.in2State);
    ::statusTemp.setText(temperatureText());
    ::statusOut1.setChecked(link.out1State);
    ::statusOut2.setChecked(link.out2State);
}

} // namespace

void setMainTimer(MainTimer* timer)
{
    installedTimer() = timer ? timer : &windowTimer();
}

MainTimerStopped::MainTimerStopped(HWND dialog) : dialog_(dialog)
{
    installedTimer()->stop(dialog_);
}

MainTimerStopped::~MainTimerStopped()
{
    installedTimer()->start(dialog_);
}

void storeClipRequest(const std::wstring& number)
{
    usbLink.outNumber = narrowText(number);
    usbLink.requestClip = true;
}

void storeSmsRequest(const std::wstring& number, const std::wstring& text)
{
    usbLink.outNumber = narrowText(number);
    usbLink.outSmsText = narrowText(text);
    usbLink.requestSms = true;
}

bool sendSmsText()
{
    for (int chunk = 0; chunk < smsChunkCount; ++chunk) {
        if (!usbLink.sendFrame(encodeSmsChunk(usbLink.outSmsText, chunk)))
            return false;
        usbLink.clock().sleep(pauseAfterSmsChunkMs);
    }
    return true;
}

std::wstring fetchReplyText()
{
    std::string text;
    for (int chunk = 0; chunk < replyChunkCount; ++chunk) {
        Frame reply{};
        if (!usbLink.queryFrame(encodeFetchRequest(chunk), reply))
            return {};
        text += replyChunkText(reply, chunk);
    }
    return widenText(text);
}

PollResult pollStatus()
{
    UsbLink& link = usbLink;
    link.temperature = temperatureBeforePoll;
    link.moduleText.clear();

    if (link.isOpen() && !link.isSettled())
        return PollResult::Settling;

    if (link.responding && link.requestSms && !sendSmsText())
        link.requestSms = false;

    UsbLinkLock guard(link);
    if (!link.isOpen())
        return PollResult::NoInterface;

    DWORD errors = 0;
    COMSTAT comStat{};
    if (!link.api().clearCommError(link.handle, &errors, &comStat)) {
        link.api().getLastError(link.handle);
        return PollResult::NoInterface;
    }

    StatusRequest request;
    request.out1Toggle = link.requestOut1Toggle;
    request.out2Toggle = link.requestOut2Toggle;
    request.clip = link.requestClip;
    request.sms = link.requestSms;
    request.number = link.outNumber;
    Frame frame = encodeStatusRequest(request);
    setCheckWord(frame);
    link.requestOut1Toggle = link.requestOut2Toggle = link.requestClip = link.requestSms = false;

    link.api().purgeComm(link.handle, ftPurgeRx);
    if (!link.writeFrame(frame))
        return PollResult::WriteFailed;

    Frame reply{};
    if (!link.readFrame(reply)) {
        if (supervision.missedReplies < repliesMissedForSilence &&
            ++supervision.missedReplies == repliesMissedForSilence)
            link.responding = false;
        return PollResult::NoReply;
    }
    supervision.missedReplies = 0;
    if (!link.checkReply(reply) || !isGoodStatusReply(reply))
        return PollResult::BadReply;

    const StatusReply status = decodeStatusReply(reply);
    link.temperature = status.temperature;
    link.endRecovery();
    link.responding = true;
    link.moduleText = status.moduleText;
    link.in1State = status.in1State;
    link.in2State = status.in2State;
    link.out1State = status.out1State;
    link.out2State = status.out2State;
    link.replyWaiting = status.replyWaiting;
    link.supplyVolts = status.supplyVolts;
    link.signalLevel = status.signalLevel;
    link.operatorName = status.operatorName;
    ReceivedStatus received{status, {}};
    GetLocalTime(&received.at);
    supervision.lastGoodStatus = received;
    Clock& clock = link.clock();
    statusHistory.add({static_cast<double>(clock.now()) * clock.secondsPerCount(), status.signalLevel,
                       status.supplyVolts, status.temperature});
    return PollResult::Good;
}

void connectStep()
{
    UsbLink& link = usbLink;
    supervision.connectedSeen = link.isOpen();
    if (!supervision.connectedSeen) {
        const std::vector<std::wstring> found = link.findInterfaces();
        if (!found.empty()) {
            supervision.connectedSeen = true;
            if (!found.front().empty() && !link.open(found.front()))
                supervision.connectedSeen = false;
        }
    }
    if (supervision.connectedSeen != supervision.connectedShown) {
        supervision.connectedShown = supervision.connectedSeen;
        ::linkStatusField.setText(supervision.connectedSeen ? linkOkText : plugInText);
    }
}

void runAutomaticReading(HWND dialog)
{
    tellJobListeners([](JobListener& l) { l.beforeAutomaticReading(); });
    MainTimer* timer = installedTimer();
    timer->stop(dialog);
    ModuleImage image;
    const bool complete = readConfiguration(dialog, &image);
    timer->start(dialog);
    tellJobListeners([&](JobListener& l) { l.automaticReadingEnded(complete, image); });
}

void tick(HWND dialog)
{
    UsbLink& link = usbLink;
    if (takeFlag(out1Clicked))
        link.requestOut1Toggle = true;
    if (takeFlag(out2Clicked))
        link.requestOut2Toggle = true;
    if (takeFlag(clipClicked)) {
        const std::wstring number = ::remotePhone.getText();
        if (!number.empty())
            storeClipRequest(number);
    }
    if (takeFlag(smsClicked)) {
        const std::wstring number = ::remotePhone.getText();
        const std::wstring text = ::remoteText.getText();
        if (!number.empty() && !text.empty())
            storeSmsRequest(number, text);
    }

    PollResult result = PollResult::Good;
    if (programmingPending())
        runProgrammingStep(dialog);
    else
        result = pollStatus();

    if (link.isOpen() && result != PollResult::NoReply && result != PollResult::Good) {
        if (!link.recover()) {
            ::linkStatusField.setText(plugInText);
            // The line now says "plug in": a reopen by the connect step below must show itself.
            supervision.connectedShown = false;
        }
    }

    if (!link.isOpen())
        connectStep();

    if (link.isOpen() && link.responding != supervision.respondingShown) {
        supervision.respondingShown = link.responding;
        ::linkStatusField.setText(link.responding ? widenText(link.moduleText) : std::wstring(linkOkText));
        ::connectedOnlyGroup.setEnabled(link.responding);
        if (link.responding)
            runAutomaticReading(dialog);
    }

    showStatusValues();

    if (link.replyWaiting) {
        link.replyWaiting = false;
        ::remoteText.setText(fetchReplyText());
        playSound(Sound::TextReceived);
    }
}

std::wstring temperatureText() { return kes::temperatureText(usbLink.temperature); }
std::wstring signalText() { return kes::signalText(usbLink.signalLevel); }
std::wstring voltageText() { return kes::voltageText(usbLink.supplyVolts); }

} // namespace kes
