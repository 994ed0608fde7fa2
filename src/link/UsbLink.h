#pragma once
// The one connection to the QLV-3 USB interface: finding, opening and configuring it, checked
// 30-byte frame exchanges with time limits and retries, and recovery of a failing link.
// Reports by return values only; diagnostics go to the debug log. Single-threaded by design:
// the spin lock makes each exchange exclusive against re-entry.
#include "link/Clock.h"
#include "link/D2xx.h"
#include "link/ExchangeReport.h"
#include "link/Frame.h"
#include "link/LinkCounters.h"
#include "link/Stopwatch.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kes {

// Description reported by the QLV-3 interface, compared exactly.
constexpr char qlvDescription[] = "Quorvaltenique USB";

// One entry of the library's device list, whatever its description.
struct AttachedInterface {
    std::wstring description;
    std::wstring serial;
    bool openFlag = false;  // open already: by another program, or by this link
};

class UsbLink {
public:
    // The program's instance uses the loaded FTD2XX.dll and the performance counter;
    // tests pass a table (e.g. bound to the simulator) and a virtual clock.
    explicit UsbLink(const D2xxApi& api = systemD2xx(), Clock& clock = systemClock());
    ~UsbLink();  // closes the interface
    UsbLink(const UsbLink&) = delete;
    UsbLink& operator=(const UsbLink&) = delete;

    std::vector<std::wstring> findInterfaces();
    std::vector<AttachedInterface> attachedInterfaces();  // every device listed, for the diagnostics
    bool open(const std::wstring& serial);
    bool configure(const std::string& serial);
    void close();
    bool isSettled();
    bool writeFrame(const Frame& frame);   // caller holds the lock
    bool readFrame(Frame& buffer);         // caller holds the lock
    bool sendFrame(const Frame& frame);    // bytes 28, 29 are overwritten with the check word
    // Whether a checked reply answers the request; one that does not fails its try.
    using ReplyTest = bool (*)(const Frame& request, const Frame& reply);
    // A reply passing `answers` (when given) after its check word.
    bool queryFrame(const Frame& frame, Frame& reply, ReplyTest answers = nullptr);
    const ExchangeReport& lastExchange() const { return lastExchange_; }  // of sendFrame or queryFrame
    // Waits until no byte has arrived for a while (bounded like one transfer), then drops what
    // has arrived, so that a late answer to an earlier try is not read as the next one's.
    // False when the line did not go quiet in time (it is purged all the same) or nothing is open.
    bool purgeWhenQuiet();
    bool recover();                        // false when the link has been given up
    void endRecovery();
    void lock();
    void unlock();
    bool checkReply(const Frame& reply);   // check word, counted when wrong

    bool isOpen() const { return handle != nullptr; }
    const D2xxApi& api() const { return api_; }
    Clock& clock() const { return *clock_; }
    // Tests only: closes the link and points it at another library table and clock.
    void rebind(const D2xxApi& api, Clock& clock);

    // Link state.
    FT_HANDLE handle = nullptr;
    volatile LONG lockFlag = 0;
    std::string serialNumber;
    Stopwatch settleWatch;
    bool settled = false;
    Stopwatch transferWatch;
    Stopwatch recoveryWatch;
    LinkCounters counters;

    // Module status, from the last good status reply.
    bool responding = false;
    std::int32_t temperature = -1000;
    std::string moduleText;
    bool in1State = false;
    bool in2State = false;
    bool out1State = false;
    bool out2State = false;
    std::string operatorName;
    std::int32_t signalLevel = -1;
    std::int32_t supplyVolts = -1;

    // Requests the next status poll carries.
    bool requestOut1Toggle = false;
    bool requestOut2Toggle = false;
    bool requestClip = false;
    bool requestSms = false;
    std::string outNumber;
    std::string outSmsText;
    bool replyWaiting = false;

private:
    enum class LineCheck { Good, Failed, Unplugged };
    // Sending pauses before the read and tries a garbled reply again; a query does neither.
    enum class ExchangeKind { Send, Query };
    // The attempts of sendFrame and queryFrame: check word, purge, write, read.
    bool exchange(const Frame& frame, Frame& reply, ExchangeKind kind, ReplyTest answers);
    // FT_W32_ClearCommError: the bytes waiting when it succeeds without an error bit.
    LineCheck checkLine(DWORD& waiting);
    void forgetHandle();  // closed-state bookkeeping without touching the handle

    D2xxApi api_;
    Clock* clock_;
    ExchangeReport lastExchange_;
};

// RAII for the spin lock.
class UsbLinkLock {
public:
    explicit UsbLinkLock(UsbLink& link) : link_(link) { link_.lock(); }
    ~UsbLinkLock() { link_.unlock(); }
    UsbLinkLock(const UsbLinkLock&) = delete;
    UsbLinkLock& operator=(const UsbLinkLock&) = delete;

private:
    UsbLink& link_;
};

// The program's link, built before WinMain runs.
extern UsbLink usbLink;

} // namespace kes
