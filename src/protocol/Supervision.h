#pragma once
// The 500 ms tick: keeps the link alive, runs a programming step or polls the module's
// status, reads the configuration when the module starts answering, shows the status
// column, and carries the user's remote commands (output toggles, CLIP/USSD, SMS, fetching
// a received text). Module status and requests live in usbLink; the tick-side state below.
#include "protocol/ReceivedStatus.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace kes {

enum class PollResult : int {
    NoInterface = 0,  // none open, or the error check failed
    NoReply = 1,
    Settling = 2,
    Good = 3,         // also the tick's result after a programming step
    WriteFailed = 4,
    BadReply = 5,     // wrong check word, or byte 0 not 1
};

// Set by the shell's command handler on clicks of 10129, 10131, 10140, 10143; consumed by the next tick.
extern bool out1Clicked;
extern bool out2Clicked;
extern bool clipClicked;
extern bool smsClicked;

struct SupervisionState {
    std::uint8_t missedReplies = 0;  // polls in a row without a reply, 0..3
    bool connectedSeen = false;
    bool connectedShown = false;
    bool respondingShown = false;
    std::optional<ReceivedStatus> lastGoodStatus;  // none until a good reply
};
extern SupervisionState supervision;

// The main timer (1005) around the reading job. The default stops it with KillTimer and
// restarts it with SetTimer at 500 ms; tests may install their own. Not owned; null restores the default.
struct MainTimer {
    virtual ~MainTimer() = default;
    virtual void stop(HWND dialog) = 0;
    virtual void start(HWND dialog) = 0;
};
void setMainTimer(MainTimer* timer);

// Keeps the main timer stopped for a job that talks to the module in one go.
class MainTimerStopped {
public:
    explicit MainTimerStopped(HWND dialog);
    ~MainTimerStopped();
    MainTimerStopped(const MainTimerStopped&) = delete;
    MainTimerStopped& operator=(const MainTimerStopped&) = delete;

private:
    HWND dialog_;
};

constexpr UINT_PTR mainTimerId = 1005;
constexpr UINT mainTimerPeriodMs = 500;

void tick(HWND dialog);
// The reading job the tick runs when a module starts answering, with its listeners told before
// and after and the main timer stopped meanwhile.
void runAutomaticReading(HWND dialog);
PollResult pollStatus();
void connectStep();
bool sendSmsText();
std::wstring fetchReplyText();  // empty on failure
void storeClipRequest(const std::wstring& number);
void storeSmsRequest(const std::wstring& number, const std::wstring& text);

// The status column's texts from usbLink's current values.
std::wstring temperatureText();
std::wstring signalText();
std::wstring voltageText();

} // namespace kes
