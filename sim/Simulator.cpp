#include "Simulator.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace qlvsim {

namespace {

constexpr std::int64_t interByteGapNs = 20 * nsPerMs;  // a pause this long ends a partial frame
constexpr ULONG ftOk = 0;
constexpr ULONG ftDeviceNotFound = 2;
constexpr DWORD ftInvalidHandle = 1;
constexpr DWORD ftOpenBySerial = 0x1;
constexpr DWORD ftOpenByDescription = 0x2;
constexpr DWORD purgeTx = 4;
constexpr DWORD purgeRx = 8;
constexpr DWORD deviceType232R = 5;
constexpr DWORD deviceId = 0x04036001;
constexpr DWORD flagOpened = 0x1;

enum Command : std::uint8_t { Status = 1, WriteBlock = 2, ReadBlock = 3, SmsChunk = 4, FetchChunk = 5 };

std::int64_t bitsPerByte(const DCB& dcb)
{
    return 1 + dcb.ByteSize + (dcb.Parity != NOPARITY ? 1 : 0) + (dcb.StopBits == ONESTOPBIT ? 1 : 2);
}

std::int64_t byteTimeNs(DWORD baud, std::int64_t bits)
{
    return baud == 0 ? nsPerSecond : bits * nsPerSecond / static_cast<std::int64_t>(baud);
}

std::string textOf(const std::uint8_t* bytes, std::size_t size)
{
    std::string text;
    for (std::size_t i = 0; i < size && bytes[i]; ++i)
        text.push_back(static_cast<char>(bytes[i]));
    return text;
}

DCB defaultDcb()
{
    // What a freshly opened FTDI port reports: 9600 8N1 with hardware handshaking switched on,
    // so a program that does not set the port up properly is noticed.
    DCB dcb;
    std::memset(&dcb, 0, sizeof(dcb));
    dcb.DCBlength = sizeof(dcb);
    dcb.BaudRate = 9600;
    dcb.fBinary = 1;
    dcb.fOutxCtsFlow = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

// A fault that strikes every time, or while its count lasts.
bool strikes(bool always, int& count)
{
    if (always)
        return true;
    if (count <= 0)
        return false;
    --count;
    return true;
}

bool storesWrongly(Faults& f, std::uint8_t block)
{
    if (f.wrongStoreBlock >= 0 && f.wrongStoreBlock != block)
        return false;
    return strikes(f.wrongStoresAlways, f.wrongStores);
}

} // namespace

void flipStored(Block& block)
{
    block[0] ^= 0x01;
    block[2] ^= 0x01;
}

void sealFrame(std::uint8_t* frame)
{
    std::uint8_t even = 0, odd = 0;
    for (std::size_t i = 0; i < 28; i += 2) {
        even = static_cast<std::uint8_t>(even ^ frame[i]);
        odd = static_cast<std::uint8_t>(odd ^ frame[i + 1]);
    }
    frame[28] = even;
    frame[29] = odd;
}

bool frameSealed(const std::uint8_t* frame)
{
    std::uint8_t copy[frameBytes];
    std::memcpy(copy, frame, frameBytes);
    sealFrame(copy);
    return copy[28] == frame[28] && copy[29] == frame[29];
}

int voltsForReading(std::uint16_t reading)
{
    return static_cast<int>((static_cast<std::uint32_t>(reading) * 3330u / 11253u) / 10u);
}

std::uint16_t readingForVolts(int volts)
{
    std::uint32_t first = 0;
    while (first < 0xFFFF && voltsForReading(static_cast<std::uint16_t>(first)) < volts)
        ++first;
    std::uint32_t last = first;
    while (last < 0xFFFF && voltsForReading(static_cast<std::uint16_t>(last + 1)) == volts)
        ++last;
    return static_cast<std::uint16_t>((first + last) / 2);
}

RealTime::RealTime()
{
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    frequency_ = value.QuadPart > 0 ? value.QuadPart : 1;
    QueryPerformanceCounter(&value);
    start_ = value.QuadPart;
}

std::int64_t RealTime::nowNs()
{
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    const std::int64_t counts = value.QuadPart - start_;
    return counts / frequency_ * nsPerSecond + counts % frequency_ * nsPerSecond / frequency_;
}

struct Simulator::Device {
    struct Timed {
        std::int64_t arrives;  // at the module (to it) or at the chip (from it)
        std::int64_t visible;  // to the host, after the chip's latency (replies only)
        std::uint8_t byte;
    };

    InterfaceInfo info;
    bool moduleOn = true;
    bool moduleStoresWrongly = false;
    ModuleStatus status;
    std::array<Block, blockCount> memory{};
    std::array<Bytes, blockCount> lastWrites;  // each block's last write frame as received; empty: none
    std::vector<std::string> clips;
    std::vector<SmsRecord> sms;
    std::array<std::uint8_t, smsBytes> smsBuffer{};
    std::array<std::uint8_t, smsBytes> held{};
    bool holding = false;
    Faults faults;
    std::uint64_t frames = 0;
    std::uint64_t polls = 0;

    DCB dcb = defaultDcb();
    std::uintptr_t openHandle = 0;
    std::deque<Timed> toModule;
    std::int64_t txFreeAt = 0;
    Bytes partial;
    std::int64_t lastByteAt = 0;
    std::deque<Timed> toHost;
    std::deque<std::uint8_t> rxQueue;
    std::int64_t rxFreeAt = 0;

    void clearLine()
    {
        toModule.clear();
        partial.clear();
        toHost.clear();
        rxQueue.clear();
        txFreeAt = rxFreeAt = 0;
    }
};

struct Simulator::Handle {
    std::size_t device = 0;
    bool dead = false;
    bool closed = false;
    DWORD lastError = 0;
};

Simulator::Simulator(TimeSource& time) : time_(time) {}
Simulator::~Simulator() = default;

std::size_t Simulator::addInterface(const InterfaceInfo& info)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    devices_.push_back(std::make_unique<Device>());
    devices_.back()->info = info;
    if (!stateFile_.empty())
        loadState(stateFile_);
    return devices_.size() - 1;
}

std::size_t Simulator::interfaceCount() const
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    return devices_.size();
}

Simulator::Device& Simulator::device(std::size_t index)
{
    if (index >= devices_.size())
        throw std::out_of_range("qlvsim: no such interface");
    return *devices_[index];
}

InterfaceInfo& Simulator::interfaceInfo(std::size_t index) { return device(index).info; }
ModuleStatus& Simulator::status(std::size_t index) { return device(index).status; }
Faults& Simulator::faults(std::size_t index) { return device(index).faults; }
std::vector<std::string>& Simulator::clipNumbers(std::size_t index) { return device(index).clips; }
std::vector<SmsRecord>& Simulator::smsSent(std::size_t index) { return device(index).sms; }

Block& Simulator::block(std::size_t number, std::size_t index)
{
    if (number >= blockCount)
        throw std::out_of_range("qlvsim: no such block");
    return device(index).memory[number];
}

std::string Simulator::smsBuffer(std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    update();
    const auto& buffer = device(index).smsBuffer;
    return textOf(buffer.data(), buffer.size());
}

void Simulator::holdText(const std::string& text, std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Device& d = device(index);
    d.held.fill(0);
    std::memcpy(d.held.data(), text.data(), std::min(text.size(), smsBytes));
    d.holding = true;
}

bool Simulator::holdingText(std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    update();
    return device(index).holding;
}

std::uint64_t Simulator::framesReceived(std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    update();
    return device(index).frames;
}

std::uint64_t Simulator::statusPolls(std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    update();
    return device(index).polls;
}

void Simulator::unplug(std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Device& d = device(index);
    if (!d.info.plugged)
        return;
    d.info.plugged = false;
    for (auto& [value, handle] : handles_)
        if (handle->device == index && !handle->closed)
            handle->dead = true;
    d.openHandle = 0;
    d.clearLine();
    record(Direction::Event, {}, "unplug " + d.info.serial, time_.nowNs());
}

void Simulator::replug(std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Device& d = device(index);
    if (d.info.plugged)
        return;
    d.info.plugged = true;
    d.dcb = defaultDcb();
    record(Direction::Event, {}, "replug " + d.info.serial, time_.nowNs());
}

void Simulator::takeModuleOff(std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    update();  // frames already through are answered by the module that was there
    Device& d = device(index);
    d.moduleOn = false;
    record(Direction::Event, {}, "module off " + d.info.serial, time_.nowNs());
}

void Simulator::putModuleBack(std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    update();
    Device& d = device(index);
    d.moduleOn = true;
    record(Direction::Event, {}, "module back " + d.info.serial, time_.nowNs());
}

void Simulator::attachModule(const Module& module, std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    update();
    Device& d = device(index);
    d.status = module.status;
    d.memory = module.memory;
    d.moduleStoresWrongly = module.storesWrongly;
    for (Bytes& write : d.lastWrites)
        write.clear();  // a fresh module has had no writes to echo
    d.held.fill(0);
    d.holding = false;
    d.smsBuffer.fill(0);
    d.moduleOn = true;
    record(Direction::Event, {}, "module attached " + d.info.serial + ": " + module.status.text, time_.nowNs());
    persist();
}

bool Simulator::moduleAttached(std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    return device(index).moduleOn;
}

bool Simulator::isOpen(std::size_t index) const
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    return index < devices_.size() && devices_[index]->openHandle != 0;
}

int Simulator::openHandles() const
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    return static_cast<int>(std::count_if(handles_.begin(), handles_.end(),
                                          [](const auto& entry) { return !entry.second->closed; }));
}

int Simulator::callsOnClosedHandles() const
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    return callsOnClosed_;
}

std::uint64_t Simulator::deviceListings() const
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    return deviceListings_;
}

void Simulator::setTurnaroundMs(double ms) { turnaroundMs_ = ms; }
void Simulator::setLatencyMs(double ms) { latencyMs_ = ms; }
void Simulator::setBaud(DWORD baud) { baud_ = baud; }
void Simulator::setSeed(std::uint32_t seed) { random_.seed(seed); }

std::size_t Simulator::receiveQueue(std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    update();
    return device(index).rxQueue.size();
}

DCB Simulator::portState(std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    return device(index).dcb;
}

void Simulator::at(double seconds, std::function<void()> action, std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    TimelineAction entry;
    entry.atNs = static_cast<std::int64_t>(seconds * static_cast<double>(nsPerSecond));
    entry.interfaceIndex = index;
    entry.run = std::move(action);
    timeline_.push_back(std::move(entry));
}

void Simulator::atFrame(std::uint64_t frame, std::function<void()> action, std::size_t index)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    TimelineAction entry;
    entry.byFrame = true;
    entry.atFrame = frame;
    entry.interfaceIndex = index;
    entry.run = std::move(action);
    timeline_.push_back(std::move(entry));
}

void Simulator::runTimeline(std::int64_t now)
{
    // By index: an action may add more.
    for (std::size_t i = 0; i < timeline_.size(); ++i) {
        if (timeline_[i].done || timeline_[i].byFrame || timeline_[i].atNs > now)
            continue;
        timeline_[i].done = true;
        auto run = timeline_[i].run;
        if (run)
            run();
    }
}

void Simulator::update()
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    const std::int64_t now = time_.nowNs();
    runTimeline(now);
    for (auto& d : devices_)
        if (d->info.plugged)
            advance(*d, now);
}

void Simulator::advance(Device& d, std::int64_t now)
{
    while (!d.toModule.empty() && d.toModule.front().arrives <= now) {
        const Device::Timed next = d.toModule.front();
        d.toModule.pop_front();
        moduleReceives(d, next.byte, next.arrives);
        if (!d.info.plugged)
            return;
    }
    while (!d.toHost.empty() && d.toHost.front().visible <= now) {
        d.rxQueue.push_back(d.toHost.front().byte);
        d.toHost.pop_front();
    }
}

void Simulator::moduleReceives(Device& d, std::uint8_t byte, std::int64_t at)
{
    if (!d.partial.empty() && at - d.lastByteAt > interByteGapNs) {
        record(Direction::HostToModule, d.partial, "partial frame dropped", d.lastByteAt);
        d.partial.clear();
    }
    d.partial.push_back(byte);
    d.lastByteAt = at;
    if (d.partial.size() < frameBytes)
        return;
    const Bytes frame = d.partial;
    d.partial.clear();
    ++d.frames;
    record(Direction::HostToModule, frame, "", at);
    const std::size_t index = static_cast<std::size_t>(
        std::find_if(devices_.begin(), devices_.end(), [&](const auto& p) { return p.get() == &d; }) -
        devices_.begin());
    for (std::size_t i = 0; i < timeline_.size(); ++i) {
        TimelineAction& action = timeline_[i];
        if (action.done || !action.byFrame || action.interfaceIndex != index || action.atFrame > d.frames)
            continue;
        action.done = true;
        auto run = action.run;
        if (run)
            run();
    }
    if (!d.info.plugged)
        return;
    answer(d, frame.data(), at);
}

void Simulator::answer(Device& d, const std::uint8_t* frame, std::int64_t at)
{
    if (d.dcb.BaudRate != baud_ || d.dcb.ByteSize != 8 || d.dcb.Parity != NOPARITY ||
        d.dcb.StopBits != ONESTOPBIT) {
        record(Direction::Event, {}, "no reply: port not set to the module's 8N1 rate", at);
        return;
    }
    if (!d.moduleOn) {
        record(Direction::Event, {}, "no reply: no module", at);
        return;
    }
    if (d.faults.silentFrames > 0) {
        --d.faults.silentFrames;
        record(Direction::Event, {}, "no reply: silent", at);
        return;
    }
    if (!frameSealed(frame)) {
        record(Direction::Event, {}, "no reply: bad check word", at);
        return;
    }
    Bytes reply(frameBytes, 0);
    const std::uint8_t command = frame[0];
    const std::uint8_t index = frame[1];
    switch (command) {
    case Status: {
        ++d.polls;
        if (d.faults.silentPolls > 0) {
            --d.faults.silentPolls;
            record(Direction::Event, {}, "no reply: silent poll", at);
            return;
        }
        const std::uint8_t requests = frame[1];
        if (requests & 0x1)
            d.status.out1 = !d.status.out1;
        if (requests & 0x2)
            d.status.out2 = !d.status.out2;
        const std::string number = textOf(frame + 2, 26);
        if (requests & 0x4)
            d.clips.push_back(number);
        if (requests & 0x8) {
            d.sms.push_back({number, textOf(d.smsBuffer.data(), smsBytes)});
            d.smsBuffer.fill(0);
        }
        reply[0] = Status;
        reply[1] = static_cast<std::uint8_t>(d.status.temperature);
        std::memcpy(&reply[2], d.status.text.data(), std::min<std::size_t>(d.status.text.size(), 12));
        reply[15] = static_cast<std::uint8_t>((d.status.in1 ? 0x1 : 0) | (d.status.in2 ? 0x2 : 0) |
                                              (d.status.out1 ? 0x4 : 0) | (d.status.out2 ? 0x8 : 0) |
                                              (d.holding ? 0x10 : 0));
        reply[16] = static_cast<std::uint8_t>(d.status.supplyReading & 0xFF);
        reply[17] = static_cast<std::uint8_t>(d.status.supplyReading >> 8);
        reply[18] = static_cast<std::uint8_t>(d.status.signal);
        // Bytes 19..27: 28 and 29 carry the check word. A 9-character name has no zero byte.
        std::memcpy(&reply[19], d.status.operatorName.data(),
                    std::min<std::size_t>(d.status.operatorName.size(), 9));
        sendReply(d, std::move(reply), at, true);
        return;
    }
    case WriteBlock:
        if (index >= blockCount)
            break;
        std::memcpy(d.memory[index].data(), frame + 2, blockBytes);
        d.lastWrites[index].assign(frame, frame + frameBytes);
        if (d.moduleStoresWrongly || storesWrongly(d.faults, index)) {
            flipStored(d.memory[index]);
            record(Direction::Event, {}, "block stored wrongly", at);
        }
        persist();
        std::memcpy(reply.data(), frame, 2);
        std::memcpy(reply.data() + 2, d.memory[index].data(), blockBytes);
        sendReply(d, std::move(reply), at, false);
        return;
    case ReadBlock:
        if (index >= blockCount)
            break;
        if (!d.lastWrites[index].empty() && strikes(d.faults.echoedReadsAlways, d.faults.echoedReads)) {
            reply = d.lastWrites[index];
            record(Direction::Event, {}, "read answered with the write's echo", at);
            sendReply(d, std::move(reply), at, false);
            return;
        }
        reply[0] = ReadBlock;
        reply[1] = index;
        std::memcpy(&reply[2], d.memory[index].data(), blockBytes);
        sendReply(d, std::move(reply), at, false);
        return;
    case SmsChunk:
        if (index > 6)
            break;
        std::memcpy(&d.smsBuffer[26u * index], frame + 2, index < 6 ? 26 : 4);
        std::memcpy(reply.data(), frame, 28);
        sendReply(d, std::move(reply), at, false);
        return;
    case FetchChunk:
        if (index > 6)
            break;
        reply[0] = FetchChunk;
        reply[1] = index;
        std::memcpy(&reply[2], &d.held[26u * index], index < 6 ? 26 : 4);
        if (index == 6) {
            // The whole text has been fetched.
            d.holding = false;
            d.held.fill(0);
        }
        sendReply(d, std::move(reply), at, false);
        return;
    default:
        break;
    }
    record(Direction::Event, {}, "no reply: unknown command or index", at);
}

void Simulator::sendReply(Device& d, Bytes reply, std::int64_t at, bool statusReply)
{
    Faults& f = d.faults;
    if (statusReply && f.wrongByte0 > 0) {
        --f.wrongByte0;
        reply[0] = 2;
    }
    sealFrame(reply.data());
    std::uniform_int_distribution<int> position(0, 27);
    std::uniform_int_distribution<int> flip(1, 255);
    bool corrupt = false;
    if (f.corruptReplies > 0) {
        --f.corruptReplies;
        corrupt = true;
    } else if (f.randomCorruptRate > 0.0) {
        corrupt = std::uniform_real_distribution<double>(0.0, 1.0)(random_) < f.randomCorruptRate;
    }
    if (corrupt) {
        const int where = position(random_);
        reply[static_cast<std::size_t>(where)] ^= static_cast<std::uint8_t>(flip(random_));
    }
    if (f.badCheckWords > 0) {
        --f.badCheckWords;
        reply[28] ^= static_cast<std::uint8_t>(flip(random_));
    }
    if (f.extraBytes > 0) {
        --f.extraBytes;
        for (int i = 0; i < f.extraByteCount; ++i)
            reply.push_back(static_cast<std::uint8_t>(flip(random_)));
    }
    if (f.missingBytes > 0) {
        --f.missingBytes;
        reply.resize(reply.size() - std::min<std::size_t>(reply.size(), static_cast<std::size_t>(f.missingByteCount)));
    }
    double delayMs = turnaroundMs_;
    if (f.slowReplies > 0) {
        --f.slowReplies;
        delayMs += f.slowDelayMs;
    }
    record(Direction::ModuleToHost, reply, "", at);

    const std::int64_t byteNs = byteTimeNs(baud_, 10);
    const std::int64_t latencyNs = static_cast<std::int64_t>(latencyMs_ * static_cast<double>(nsPerMs));
    const std::int64_t start =
        std::max(at + static_cast<std::int64_t>(delayMs * static_cast<double>(nsPerMs)), d.rxFreeAt);
    for (std::size_t k = 0; k < reply.size(); ++k) {
        const std::int64_t arrives = start + static_cast<std::int64_t>(k + 1) * byteNs;
        // The chip hands what it has received to the host at the end of each latency period.
        const std::int64_t visible = latencyNs > 0 ? (arrives + latencyNs - 1) / latencyNs * latencyNs : arrives;
        d.toHost.push_back({arrives, visible, reply[k]});
    }
    d.rxFreeAt = start + static_cast<std::int64_t>(reply.size()) * byteNs;
}

void Simulator::record(Direction direction, const Bytes& bytes, const std::string& note, std::int64_t at)
{
    JournalEntry entry;
    entry.timeNs = at;
    entry.direction = direction;
    entry.bytes = bytes;
    entry.note = note;
    journal_.push_back(entry);
    if (journalFile_.empty())
        return;
    FILE* file = _wfopen(journalFile_.c_str(), L"ab");
    if (!file)
        return;
    const char* arrow = direction == Direction::HostToModule ? "PC>MOD" :
                        direction == Direction::ModuleToHost ? "MOD>PC" : "------";
    std::fprintf(file, "%12.3f ms %s", static_cast<double>(at) / static_cast<double>(nsPerMs), arrow);
    for (std::uint8_t b : bytes)
        std::fprintf(file, " %02X", b);
    if (!note.empty())
        std::fprintf(file, " %s", note.c_str());
    std::fputs("\n", file);
    std::fclose(file);
}

void Simulator::setJournalFile(const std::wstring& path)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    journalFile_ = path;
}

void Simulator::setStateFile(const std::wstring& path)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    stateFile_ = path;
    if (!path.empty())
        loadState(path);
}

bool Simulator::saveState(const std::wstring& path) const
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    const std::wstring temporary = path + L".tmp";
    FILE* file = _wfopen(temporary.c_str(), L"wb");
    if (!file)
        return false;
    std::fputs("# qlv-sim module memory: serial, block, 26 bytes\n", file);
    for (const auto& d : devices_)
        for (std::size_t b = 0; b < blockCount; ++b) {
            std::fprintf(file, "%s %u", d->info.serial.c_str(), static_cast<unsigned>(b));
            for (std::uint8_t byte : d->memory[b])
                std::fprintf(file, " %02X", byte);
            std::fputs("\n", file);
        }
    const bool written = std::fflush(file) == 0;
    std::fclose(file);
    // Replace in one step so that a crash never leaves half a state file.
    return written && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool Simulator::loadState(const std::wstring& path)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return false;
    char line[512];
    while (std::fgets(line, sizeof(line), file)) {
        if (line[0] == '#')
            continue;
        char serial[80] = {};
        unsigned number = 0;
        int used = 0;
        if (std::sscanf(line, "%79s %u%n", serial, &number, &used) != 2 || number >= blockCount)
            continue;
        Block values{};
        const char* cursor = line + used;
        bool complete = true;
        for (auto& value : values) {
            unsigned byte = 0;
            int step = 0;
            if (std::sscanf(cursor, " %2x%n", &byte, &step) != 1) {
                complete = false;
                break;
            }
            value = static_cast<std::uint8_t>(byte);
            cursor += step;
        }
        if (!complete)
            continue;
        for (auto& d : devices_)
            if (d->info.serial == serial)
                d->memory[number] = values;
    }
    std::fclose(file);
    return true;
}

void Simulator::persist()
{
    if (!stateFile_.empty())
        saveState(stateFile_);
}

// ---- The D2XX calls ----------------------------------------------------------------------

Simulator::Handle* Simulator::findHandle(void* handle)
{
    auto found = handles_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == handles_.end()) {
        lastErrorNoHandle_ = ftInvalidHandle;
        return nullptr;
    }
    if (found->second->closed) {
        ++callsOnClosed_;
        return nullptr;
    }
    return found->second.get();
}

// A handle whose interface was unplugged fails every call with the unplugged code.
Simulator::Handle* Simulator::liveHandle(void* value)
{
    Handle* handle = findHandle(value);
    if (handle && handle->dead) {
        handle->lastError = errorUnplugged;
        return nullptr;
    }
    return handle;
}

ULONG Simulator::createDeviceInfoList(DWORD* count)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    update();
    ++deviceListings_;
    listed_.clear();
    for (std::size_t i = 0; i < devices_.size(); ++i)
        if (devices_[i]->info.plugged)
            listed_.push_back(i);
    if (count)
        *count = static_cast<DWORD>(listed_.size());
    return ftOk;
}

ULONG Simulator::getDeviceInfoDetail(DWORD index, DWORD* flags, DWORD* type, DWORD* id, DWORD* locId,
                                     void* serial, void* description, void** handle)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (index >= listed_.size())
        return ftDeviceNotFound;
    const Device& d = *devices_[listed_[index]];
    if (flags)
        *flags = (d.info.openElsewhere || d.openHandle) ? flagOpened : 0;
    if (type)
        *type = deviceType232R;
    if (id)
        *id = deviceId;
    if (locId)
        *locId = 0x1000 + static_cast<DWORD>(listed_[index]);
    if (serial) {
        char* out = static_cast<char*>(serial);
        std::memset(out, 0, 64);
        std::strncpy(out, d.info.serial.c_str(), 63);
    }
    if (description) {
        char* out = static_cast<char*>(description);
        std::memset(out, 0, 64);
        std::strncpy(out, d.info.description.c_str(), 63);
    }
    if (handle)
        *handle = reinterpret_cast<void*>(d.openHandle);
    return ftOk;
}

void* Simulator::createFile(const char* name, DWORD access, DWORD share, DWORD creation, DWORD flags)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    (void)access;
    (void)share;
    (void)creation;
    update();
    const std::int64_t now = time_.nowNs();
    if (!devices_.empty() && devices_[0]->faults.openFailures > 0) {
        --devices_[0]->faults.openFailures;
        lastErrorNoHandle_ = errorIo;
        record(Direction::Event, {}, "open failed (fault)", now);
        return INVALID_HANDLE_VALUE;
    }
    const std::string wanted = name ? name : "";
    for (std::size_t i = 0; i < devices_.size(); ++i) {
        Device& d = *devices_[i];
        const bool matches = (flags & ftOpenBySerial) ? d.info.serial == wanted
                             : (flags & ftOpenByDescription) ? d.info.description == wanted
                                                            : false;
        if (!matches || !d.info.plugged)
            continue;
        if (d.info.openElsewhere || d.openHandle) {
            lastErrorNoHandle_ = errorIo;
            record(Direction::Event, {}, "open refused, in use: " + d.info.serial, now);
            return INVALID_HANDLE_VALUE;
        }
        const std::uintptr_t value = nextHandle_;
        nextHandle_ += 0x10;
        auto handle = std::make_unique<Handle>();
        handle->device = i;
        handles_[value] = std::move(handle);
        d.openHandle = value;
        d.clearLine();
        record(Direction::Event, {}, "open " + d.info.serial, now);
        return reinterpret_cast<void*>(value);
    }
    lastErrorNoHandle_ = ftDeviceNotFound;
    record(Direction::Event, {}, "open failed, not found: " + wanted, now);
    return INVALID_HANDLE_VALUE;
}

BOOL Simulator::closeHandle(void* value)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = findHandle(value);
    if (!handle)
        return FALSE;
    handle->closed = true;
    Device& d = *devices_[handle->device];
    if (d.openHandle == reinterpret_cast<std::uintptr_t>(value)) {
        d.openHandle = 0;
        d.clearLine();
    }
    record(Direction::Event, {}, handle->dead ? "close (unplugged handle)" : "close", time_.nowNs());
    return TRUE;
}

BOOL Simulator::getCommState(void* value, DCB* dcb)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    Device& d = *devices_[handle->device];
    if (d.faults.commStateFailures > 0) {
        --d.faults.commStateFailures;
        handle->lastError = d.faults.commStateCode;
        return FALSE;
    }
    if (!dcb)
        return FALSE;
    *dcb = d.dcb;
    return TRUE;
}

BOOL Simulator::setCommState(void* value, DCB* dcb)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    if (!dcb)
        return FALSE;
    devices_[handle->device]->dcb = *dcb;
    return TRUE;
}

BOOL Simulator::purgeComm(void* value, DWORD flags)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    update();
    Device& d = *devices_[handle->device];
    const std::int64_t now = time_.nowNs();
    if (flags & purgeRx) {
        // What the chip already holds goes; bytes still on the wire arrive later.
        const std::size_t before = d.rxQueue.size() + d.toHost.size();
        d.rxQueue.clear();
        d.toHost.erase(std::remove_if(d.toHost.begin(), d.toHost.end(),
                                      [now](const Device::Timed& t) { return t.arrives <= now; }),
                       d.toHost.end());
        std::string note = "purge: " + std::to_string(before - d.toHost.size()) + " bytes dropped";
        if (!d.toHost.empty())
            note += ", " + std::to_string(d.toHost.size()) + " still on the wire";
        record(Direction::Event, {}, note, now);
    }
    if (flags & purgeTx) {
        const std::int64_t byteNs = byteTimeNs(d.dcb.BaudRate, bitsPerByte(d.dcb));
        d.toModule.erase(std::remove_if(d.toModule.begin(), d.toModule.end(),
                                        [&](const Device::Timed& t) { return t.arrives - byteNs > now; }),
                         d.toModule.end());
        if (d.toModule.empty())
            d.txFreeAt = std::min(d.txFreeAt, now);
    }
    return TRUE;
}

BOOL Simulator::clearCommError(void* value, DWORD* errors, COMSTAT* status)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    Device& d = *devices_[handle->device];
    if (d.faults.commErrorFailures > 0) {
        --d.faults.commErrorFailures;
        handle->lastError = d.faults.commErrorCode;
        return FALSE;
    }
    update();
    if (errors)
        *errors = 0;
    if (status) {
        std::memset(status, 0, sizeof(*status));
        status->cbInQue = static_cast<DWORD>(d.rxQueue.size());
        status->cbOutQue = static_cast<DWORD>(d.toModule.size());
    }
    return TRUE;
}

BOOL Simulator::writeFile(void* value, const void* buffer, DWORD size, DWORD* written)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (written)
        *written = 0;
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    Device& d = *devices_[handle->device];
    if (d.faults.writeFailures > 0) {
        --d.faults.writeFailures;
        handle->lastError = d.faults.writeFailureCode;
        record(Direction::Event, {}, "write failed (fault)", time_.nowNs());
        return FALSE;
    }
    update();
    const std::int64_t now = time_.nowNs();
    const std::int64_t byteNs = byteTimeNs(d.dcb.BaudRate, bitsPerByte(d.dcb));
    const std::int64_t start = std::max(now, d.txFreeAt);
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    for (DWORD k = 0; k < size; ++k)
        d.toModule.push_back({start + static_cast<std::int64_t>(k + 1) * byteNs, 0, bytes[k]});
    d.txFreeAt = start + static_cast<std::int64_t>(size) * byteNs;
    handle->lastError = 0;
    if (written)
        *written = size;
    return TRUE;
}

BOOL Simulator::readFile(void* value, void* buffer, DWORD size, DWORD* read)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    if (read)
        *read = 0;
    Handle* handle = liveHandle(value);
    if (!handle)
        return FALSE;
    update();
    Device& d = *devices_[handle->device];
    auto* out = static_cast<std::uint8_t*>(buffer);
    DWORD count = 0;
    while (count < size && !d.rxQueue.empty()) {
        out[count++] = d.rxQueue.front();
        d.rxQueue.pop_front();
    }
    if (read)
        *read = count;
    handle->lastError = 0;
    return TRUE;
}

DWORD Simulator::getLastError(void* value)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    Handle* handle = findHandle(value);
    if (!handle)
        return lastErrorNoHandle_;
    return handle->dead ? errorUnplugged : handle->lastError;
}

ULONG Simulator::getLibraryVersion(DWORD* version)
{
    std::lock_guard<std::recursive_mutex> guard(mutex_);
    record(Direction::Event, {}, "library version", time_.nowNs());
    if (!version)
        return 6;  // FT_INVALID_PARAMETER
    *version = libraryVersion_;
    return 0;
}

} // namespace qlvsim
