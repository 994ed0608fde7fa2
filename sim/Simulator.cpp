// The simulator as tests and scenarios see it: its interfaces, the modules behind them, the
// timeline, and bringing the line up to the time source's now.
#include "Device.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace qlvsim {

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
    // 9600 8N1 with hardware handshaking switched on, so a program that does not set the port up
    // properly is noticed.
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

} // namespace qlvsim
