#include "link/UsbLink.h"

#include "support/DebugLog.h"

#include <algorithm>
#include <cstring>

namespace kes {

namespace {

constexpr DWORD accessReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD openExisting = OPEN_EXISTING;
constexpr DWORD openBySerialNumber = FILE_ATTRIBUTE_NORMAL | 0x1;  // FT_OPEN_BY_SERIAL_NUMBER
constexpr DWORD baudRate = 9600;
constexpr BYTE byteSize = 8;
constexpr BYTE oneStopBit = ONESTOPBIT;
constexpr double settleSeconds = 7.0;
constexpr double transferLimitSeconds = 0.2;
constexpr double recoverySeconds = 10.0;
constexpr int writeIdleLimit = 100;
constexpr int exchangeAttempts = 3;
constexpr unsigned long writeReadPauseMs = 10;
// Longer than the chip's 16 ms latency plus a 30-byte frame on the wire (31.25 ms at 9600 baud):
// an answer under way shows within it.
constexpr double quietSeconds = 0.05;

void logLine(const wchar_t* text)
{
    debuglog_stream log;
    log << text;
}

std::string narrow(const std::wstring& text)
{
    std::string result;
    result.reserve(text.size());
    for (wchar_t unit : text)
        result.push_back(static_cast<char>(unit & 0xFF));
    return result;
}

std::wstring widen(const char* text)
{
    std::wstring result;
    for (; *text; ++text)
        result.push_back(static_cast<wchar_t>(static_cast<signed char>(*text)));
    return result;
}

} // namespace

UsbLink::UsbLink(const D2xxApi& api, Clock& clock)
    : settleWatch(clock), transferWatch(clock), recoveryWatch(clock), api_(api), clock_(&clock)
{
}

UsbLink::~UsbLink()
{
    close();
}

void UsbLink::rebind(const D2xxApi& api, Clock& clock)
{
    close();
    recoveryWatch.reset();
    transferWatch.reset();
    api_ = api;
    clock_ = &clock;
    counters = LinkCounters();
    settleWatch.setClock(clock);
    transferWatch.setClock(clock);
    recoveryWatch.setClock(clock);
}

void UsbLink::lock()
{
    while (InterlockedExchange(&lockFlag, 1) == 1)
        clock_->sleep(0);
}

void UsbLink::unlock()
{
    InterlockedExchange(&lockFlag, 0);
}

std::vector<AttachedInterface> UsbLink::attachedInterfaces()
{
    std::vector<AttachedInterface> attached;
    if (!api_.valid())
        return attached;
    DWORD count = 0;
    if (api_.createDeviceInfoList(&count) != ftOk || static_cast<LONG>(count) <= 0)
        return attached;
    for (DWORD index = 0; index < count; ++index) {
        DWORD flags = 0, type = 0, id = 0, location = 0;
        char serial[ftStringSize] = {};
        char description[ftStringSize] = {};
        FT_HANDLE unused = nullptr;
        if (api_.getDeviceInfoDetail(index, &flags, &type, &id, &location, serial, description, &unused) != ftOk)
            continue;
        // A library that fills the whole buffer must not make us read past it.
        serial[ftStringSize - 1] = '\0';
        description[ftStringSize - 1] = '\0';
        attached.push_back({widen(description), widen(serial), (flags & ftFlagOpened) != 0});
    }
    return attached;
}

std::vector<std::wstring> UsbLink::findInterfaces()
{
    const std::wstring wanted = widen(qlvDescription);
    std::vector<std::wstring> serials;
    for (const AttachedInterface& device : attachedInterfaces()) {
        if (!device.openFlag && device.description == wanted)
            serials.push_back(device.serial);
    }
    return serials;
}

bool UsbLink::open(const std::wstring& serial)
{
    const std::string narrowSerial = narrow(serial);
    UsbLinkLock guard(*this);
    if (!api_.valid())
        return false;
    FT_HANDLE opened = api_.createFile(narrowSerial.c_str(), accessReadWrite, 0, nullptr, openExisting,
                                       openBySerialNumber, nullptr);
    handle = opened == ftInvalidHandle() ? nullptr : opened;
    if (configure(narrowSerial) && handle) {
        settleWatch.start();
        serialNumber = narrowSerial;
        counters.handleOpened();
    } else {
        if (handle)
            api_.closeHandle(handle);
        handle = nullptr;
        settleWatch.reset();
        settled = false;
    }
    return handle != nullptr;
}

bool UsbLink::configure(const std::string& serial)
{
    if (!api_.valid())
        return false;
    if (!handle) {
        if (serial.empty())
            return false;
        FT_HANDLE opened = api_.createFile(serial.c_str(), accessReadWrite, 0, nullptr, openExisting,
                                           openBySerialNumber, nullptr);
        if (opened == ftInvalidHandle() || opened == nullptr) {
            handle = nullptr;
            return false;
        }
        handle = opened;
    }
    DCB dcb;
    std::memset(&dcb, 0, sizeof(dcb));
    dcb.DCBlength = sizeof(dcb);
    if (!api_.getCommState(handle, &dcb))
        return false;
    dcb.BaudRate = baudRate;
    dcb.ByteSize = byteSize;
    dcb.StopBits = oneStopBit;
    // Only the flags the link depends on; the rest stays as the interface reported it.
    dcb.fParity = 0;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = 0;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fNull = 0;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    dcb.fAbortOnError = 1;
    if (!api_.setCommState(handle, &dcb))
        return false;
    if (!api_.purgeComm(handle, ftPurgeTx | ftPurgeRx))
        return false;
    return true;
}

void UsbLink::forgetHandle()
{
    handle = nullptr;
    settleWatch.reset();
    settled = false;
    serialNumber.clear();
    responding = false;
}

void UsbLink::close()
{
    UsbLinkLock guard(*this);
    if (handle && api_.valid())
        api_.closeHandle(handle);
    forgetHandle();
}

bool UsbLink::isSettled()
{
    if (settled || !handle)
        return true;
    if (settleWatch.read() > settleSeconds) {
        settleWatch.stop();
        settled = true;
    }
    return settled;
}

UsbLink::LineCheck UsbLink::checkLine(DWORD& waiting)
{
    DWORD errors = 0;
    COMSTAT status;
    std::memset(&status, 0, sizeof(status));
    if (api_.clearCommError(handle, &errors, &status) && errors == 0) {
        waiting = status.cbInQue;
        return LineCheck::Good;
    }
    if (api_.getLastError(handle) != ftErrorUnplugged)
        return LineCheck::Failed;
    counters.countUnplug();
    return LineCheck::Unplugged;
}

bool UsbLink::writeFrame(const Frame& frame)
{
    if (!handle)
        return false;
    Frame outgoing = frame;
    transferWatch.reset();
    transferWatch.start();
    DWORD written = 0;
    int idle = 0;
    bool unplugged = false;
    while (transferWatch.read() < transferLimitSeconds) {
        DWORD waiting = 0;
        const LineCheck line = checkLine(waiting);
        if (line == LineCheck::Unplugged) {
            unplugged = true;
            logLine(L"Błąd: FT_W32_ClearCommError: Odłączony USB\n");
            break;
        }
        if (line == LineCheck::Failed) {
            logLine(L"Błąd: FT_W32_ClearCommError\n");
        } else {
            const DWORD remaining = static_cast<DWORD>(frameSize) - written;
            DWORD count = 0;
            if (api_.writeFile(handle, outgoing.data() + written, remaining, &count, nullptr) && count > 0) {
                written += std::min(count, remaining);
                idle = 0;
            } else if (api_.getLastError(handle) == ftErrorUnplugged) {
                counters.countUnplug();
                unplugged = true;
                logLine(L"Błąd: FT_W32_WriteFile: Odłączony USB\n");
                break;
            } else {
                logLine(L"Błąd: FT_W32_WriteFile\n");
                clock_->sleep(1);
            }
        }
        ++idle;
        if (idle > writeIdleLimit || written == frameSize)
            break;
    }
    transferWatch.stop();
    if (written == frameSize)
        ++counters.exchanges;
    else if (!unplugged)
        ++counters.timeouts;
    return written == frameSize;
}

bool UsbLink::readFrame(Frame& buffer)
{
    if (!handle)
        return false;
    transferWatch.reset();
    transferWatch.start();
    bool ok = false;
    bool gaveUp = false;  // ended for another reason than the time limit
    while (transferWatch.read() < transferLimitSeconds) {
        DWORD waiting = 0;
        const LineCheck line = checkLine(waiting);
        if (line == LineCheck::Unplugged) {
            gaveUp = true;
            break;
        }
        if (line == LineCheck::Failed) {
            clock_->sleep(1);
            continue;
        }
        if (waiting == frameSize) {
            DWORD count = 0;
            if (api_.readFile(handle, buffer.data(), static_cast<DWORD>(frameSize), &count, nullptr) &&
                count == frameSize) {
                ok = true;
                break;
            }
            if (api_.getLastError(handle) == ftErrorUnplugged) {
                counters.countUnplug();
                gaveUp = true;
                break;
            }
            clock_->sleep(1);
        } else if (waiting > frameSize) {
            api_.purgeComm(handle, ftPurgeRx);
            gaveUp = true;
            break;
        } else {
            clock_->sleep(1);
        }
    }
    transferWatch.stop();
    if (!ok && !gaveUp)
        ++counters.timeouts;
    return ok;
}

bool UsbLink::sendFrame(const Frame& frame)
{
    Frame reply{};  // only its check word matters
    return exchange(frame, reply, ExchangeKind::Send, nullptr);
}

bool UsbLink::queryFrame(const Frame& frame, Frame& reply, ReplyTest answers)
{
    return exchange(frame, reply, ExchangeKind::Query, answers);
}

bool UsbLink::exchange(const Frame& frame, Frame& reply, ExchangeKind kind, ReplyTest answers)
{
    UsbLinkLock guard(*this);
    lastExchange_ = ExchangeReport();
    if (!handle || !isSettled())
        return false;
    for (int attempt = 0; attempt < exchangeAttempts; ++attempt) {
        if (attempt > 0)
            ++counters.retries;
        ++lastExchange_.attempts;
        Frame outgoing = frame;
        setCheckWord(outgoing);
        api_.purgeComm(handle, ftPurgeRx);
        if (!writeFrame(outgoing))
            continue;
        if (kind == ExchangeKind::Send)
            clock_->sleep(writeReadPauseMs);
        if (!readFrame(reply))
            continue;
        const bool good = checkReply(reply);
        // A garbled answer ends a query at once: the job that asked decides whether to ask again.
        if (!good && kind == ExchangeKind::Query)
            return false;
        // A checked reply to some other request fails only this try.
        if (good && (!answers || answers(frame, reply)))
            return true;
    }
    return false;
}

bool UsbLink::purgeWhenQuiet()
{
    UsbLinkLock guard(*this);
    if (!handle)
        return false;
    Stopwatch total(*clock_);
    Stopwatch quiet(*clock_);
    total.start();
    quiet.start();
    DWORD arrived = 0;
    bool wentQuiet = false;
    while (total.read() < transferLimitSeconds) {
        DWORD waiting = 0;
        const LineCheck line = checkLine(waiting);
        if (line == LineCheck::Unplugged)
            return false;
        if (line == LineCheck::Good && waiting != arrived) {
            arrived = waiting;
            quiet.reset();
            quiet.start();
        }
        if (quiet.read() >= quietSeconds) {
            wentQuiet = true;
            break;
        }
        clock_->sleep(1);
    }
    api_.purgeComm(handle, ftPurgeRx);
    return wentQuiet;
}

bool UsbLink::recover()
{
    {
        debuglog_stream log;
        log << L"Instrukcja odzyskaj " << recoveryWatch.totalSeconds() << L"\n";
    }
    if (!handle)
        return false;
    if (!isSettled())
        return true;
    if (recoveryWatch.stopped) {
        recoveryWatch.reset();
        recoveryWatch.start();
        return true;
    }
    if (recoveryWatch.read() > recoverySeconds) {
        close();
        recoveryWatch.reset();
        logLine(L"Błąd: odzyskaj, przekroczenie czasu 10 sek\n");
        return false;
    }
    DCB probe;
    std::memset(&probe, 0, sizeof(probe));
    probe.DCBlength = sizeof(probe);
    if (api_.getCommState(handle, &probe)) {
        logLine(L"Powodzenie FT_W32_GetCommState\n");
        return true;
    }
    const DWORD code = api_.getLastError(handle);
    const bool unplugged = code == ftErrorUnplugged;
    if (unplugged)
        counters.countUnplug();
    if (!unplugged) {
        logLine(L"Błąd: FT_INSUFFICIENT_RESOURCES\n");
        logLine(L"Zamykanie uchwytu\n");
        api_.closeHandle(handle);
    }
    {
        debuglog_stream log;
        log << L"Błąd: nr " << code << L"\n";
    }
    FT_HANDLE old = handle;
    handle = nullptr;
    if (configure(serialNumber)) {
        counters.handleOpened();
        logLine(L"Błąd: odzyskaj, został otwarty uchwyt\n");
        // The unplugged handle is dead but still owns the library's resources.
        if (unplugged)
            api_.closeHandle(old);
        return true;
    }
    // A handle that configure opened but could not set up is of no use to anyone.
    if (handle)
        api_.closeHandle(handle);
    if (unplugged) {
        handle = old;
    } else {
        // The old handle is closed: hold none, so the connect step looks for the interface again.
        forgetHandle();
        recoveryWatch.reset();
    }
    logLine(L"Błąd: odzyskaj, nie został otwarty uchwyt\n");
    return true;
}

void UsbLink::endRecovery()
{
    if (!recoveryWatch.stopped)
        ++counters.recoveries;
    recoveryWatch.reset();
}

bool UsbLink::checkReply(const Frame& reply)
{
    const bool good = hasGoodCheckWord(reply);
    if (!good)
        ++counters.badCheckWords;
    return good;
}

} // namespace kes
