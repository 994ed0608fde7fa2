#pragma once
// A UsbLink talking to a simulated QLV-3 interface and module, on virtual time.
//
//   SimHarness h;                    // one interface "Quorvaltenique USB", serial "QLV30001"
//   ASSERT_TRUE(h.connect());        // findInterfaces + open + 7 s settle, all on virtual time
//   h.link.sendFrame(frame);         // the link's sleeps advance the simulation's time
//   h.sim.block(3)                   // inspect the module; h.sim.faults() to break it
//   kes::UsbLink& g = h.attachGlobalLink();   // or drive the program's own kes::usbLink
//
// Time only moves when the link sleeps or the test calls advanceMs(), so runs are exact and
// fast. One harness at a time: it makes its simulator the one the D2XX entry points answer for.
// Link with the CMake target quellmo_test_harness.
#include "Simulator.h"
#include "link/Clock.h"
#include "link/D2xx.h"
#include "link/UsbLink.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace harness {

// kes::Clock on the simulation's virtual time: a 10 MHz counter, sleep advances the time.
class VirtualClock final : public kes::Clock {
public:
    static constexpr std::int64_t countsPerSecond = 10000000;
    explicit VirtualClock(qlvsim::VirtualTime& time) : time_(time) {}

    bool counter(std::int64_t& now) override
    {
        now = time_.nowNs() / (qlvsim::nsPerSecond / countsPerSecond);
        return true;
    }
    bool frequency(std::int64_t& perSecond) override
    {
        perSecond = countsPerSecond;
        return true;
    }
    void sleep(unsigned long milliseconds) override
    {
        ++sleeps;
        ++sleepCounts[milliseconds];
        sleptMs += milliseconds;
        time_.advanceNs(static_cast<std::int64_t>(milliseconds) * qlvsim::nsPerMs);
    }

    std::uint64_t sleeps = 0;    // calls, sleep(0) included
    std::uint64_t sleptMs = 0;
    std::map<unsigned long, std::uint64_t> sleepCounts;  // calls by length

private:
    qlvsim::VirtualTime& time_;
};

// The simulator's D2XX entry points as the link's function table, with the version text a
// library loaded from the simulator would have taken.
inline kes::D2xxApi simulatorApi(const qlvsim::Simulator& sim)
{
    kes::D2xxApi api;
    api.createDeviceInfoList = qlvsim_FT_CreateDeviceInfoList;
    api.getDeviceInfoDetail = qlvsim_FT_GetDeviceInfoDetail;
    api.createFile = qlvsim_FT_W32_CreateFile;
    api.closeHandle = qlvsim_FT_W32_CloseHandle;
    api.getCommState = qlvsim_FT_W32_GetCommState;
    api.setCommState = qlvsim_FT_W32_SetCommState;
    api.purgeComm = qlvsim_FT_W32_PurgeComm;
    api.clearCommError = qlvsim_FT_W32_ClearCommError;
    api.writeFile = qlvsim_FT_W32_WriteFile;
    api.readFile = qlvsim_FT_W32_ReadFile;
    api.getLastError = qlvsim_FT_W32_GetLastError;
    api.libraryVersion = kes::libraryVersionText(sim.libraryVersion());
    return api;
}

struct SimOptions {
    bool addInterface = true;                 // one default interface (see qlvsim::InterfaceInfo)
    double turnaroundMs = 5.0;
    double latencyMs = 16.0;
};

class SimHarness {
public:
    explicit SimHarness(const SimOptions& options = SimOptions())
        : previous_(qlvsim::setActiveSimulator(&sim))
    {
        sim.setTurnaroundMs(options.turnaroundMs);
        sim.setLatencyMs(options.latencyMs);
        if (options.addInterface)
            sim.addInterface();
    }

    ~SimHarness()
    {
        link.close();
        if (global_)
            global_->rebind(kes::D2xxApi(), kes::systemClock());
        qlvsim::setActiveSimulator(previous_);
    }

    SimHarness(const SimHarness&) = delete;
    SimHarness& operator=(const SimHarness&) = delete;

    void advanceMs(double ms) { time.advanceMs(ms); }
    double nowMs() { return static_cast<double>(time.nowNs()) / static_cast<double>(qlvsim::nsPerMs); }

    // Opens the first interface found and waits out the settle time; true when exchanges are allowed.
    bool connect() { return connect(link); }
    bool connect(kes::UsbLink& target)
    {
        const std::vector<std::wstring> found = target.findInterfaces();
        if (found.empty() || !target.open(found.front()))
            return false;
        advanceMs(7001.0);
        return target.isSettled() && target.settled;
    }

    // Points the program's kes::usbLink at this simulator until the harness goes away
    // (it is then left with an empty table: closed, finding nothing).
    kes::UsbLink& attachGlobalLink()
    {
        kes::usbLink.rebind(api, clock);
        global_ = &kes::usbLink;
        return kes::usbLink;
    }

    qlvsim::VirtualTime time;
    qlvsim::Simulator sim{time};
    VirtualClock clock{time};
    kes::D2xxApi api = simulatorApi(sim);
    kes::UsbLink link{api, clock};

private:
    qlvsim::Simulator* previous_;
    kes::UsbLink* global_ = nullptr;
};

} // namespace harness
