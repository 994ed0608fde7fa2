// Wall-clock timing of the link against the simulated interface and module at 9600 baud:
// one exchange (sendFrame, queryFrame), a reading job and a programming job, each beside the
// limit the wire itself sets. Runs on the real clock; prints one "key value" line per figure.
//   link-bench [repeats]
#include "SimHarness.h"
#include "Simulator.h"
#include "link/UsbLink.h"
#include "Jobs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// 30 bytes of 10 bits (8N1) at 9600 baud.
constexpr double frameWireMs = 30.0 * 10.0 / 9600.0 * 1000.0;
constexpr double exchangeLimitMs = 2.0 * frameWireMs;

double nowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

struct RealSim {
    explicit RealSim(double latencyMs) : previous(qlvsim::setActiveSimulator(&sim))
    {
        sim.setTurnaroundMs(0.0);
        sim.setLatencyMs(latencyMs);
        sim.addInterface();
    }
    ~RealSim()
    {
        link.rebind(kes::D2xxApi(), kes::systemClock());
        qlvsim::setActiveSimulator(previous);
    }
    // The 7 s settle is the link's own wait, not part of an exchange: skipped here.
    bool connect()
    {
        const auto found = link.findInterfaces();
        if (found.empty() || !link.open(found.front()))
            return false;
        link.settled = true;
        return true;
    }

    qlvsim::RealTime time;
    qlvsim::Simulator sim{time};
    kes::D2xxApi api = harness::simulatorApi(sim);
    // The program's own link object: the jobs use it.
    kes::UsbLink& link = attach();
    qlvsim::Simulator* previous;

private:
    kes::UsbLink& attach()
    {
        kes::usbLink.rebind(api, kes::systemClock());
        return kes::usbLink;
    }
};

void exchanges(double latencyMs, int repeats)
{
    RealSim s(latencyMs);
    if (!s.connect()) {
        std::printf("error no simulated interface\n");
        return;
    }
    kes::Frame request{};
    request[0] = 0x03;  // read configuration block 0
    kes::Frame reply{};
    std::vector<double> send, query;
    int failures = 0;
    for (int i = 0; i < repeats; ++i) {
        double t0 = nowMs();
        failures += s.link.queryFrame(request, reply) ? 0 : 1;
        double t1 = nowMs();
        failures += s.link.sendFrame(request) ? 0 : 1;
        double t2 = nowMs();
        query.push_back(t1 - t0);
        send.push_back(t2 - t1);
    }
    const int latency = static_cast<int>(latencyMs);
    std::printf("query_ms_latency%d %.2f\n", latency, median(query));
    std::printf("query_limit_ms %.2f\n", exchangeLimitMs);
    std::printf("send_ms_latency%d %.2f\n", latency, median(send));
    // The pause overlaps the request still on the wire, so the wire time is the limit here too.
    std::printf("send_limit_ms %.2f\n", exchangeLimitMs);
    std::printf("exchange_failures_latency%d %d\n", latency, failures);
}

void jobs(double latencyMs, int repeats)
{
    RealSim s(latencyMs);
    if (!s.connect()) {
        std::printf("error no simulated interface\n");
        return;
    }
    const int latency = static_cast<int>(latencyMs);
    std::vector<double> reading;
    bool readOk = true;
    for (int i = 0; i < repeats; ++i) {
        double t0 = nowMs();
        readOk = benchReadingJob() && readOk;
        reading.push_back(nowMs() - t0);
    }
    // Sixteen read exchanges at wire time and the job's one 200 ms pause.
    std::printf("reading_ms_latency%d %.1f\n", latency, median(reading));
    std::printf("reading_limit_ms %.1f\n", 16.0 * exchangeLimitMs + 200.0);
    std::printf("reading_ok_latency%d %d\n", latency, readOk ? 1 : 0);

    double t0 = nowMs();
    double longestStep = 0.0;
    const bool programOk = benchProgrammingJob(&longestStep);
    std::printf("programming_ms_latency%d %.1f\n", latency, nowMs() - t0);
    std::printf("programming_limit_ms %.1f\n", 17.0 * 500.0);  // seventeen ticks of the 500 ms timer
    // A step writes its block and reads it back: two exchanges on the wire.
    std::printf("programming_step_ms_latency%d %.1f\n", latency, longestStep);
    std::printf("programming_step_limit_ms %.1f\n", 2.0 * exchangeLimitMs);
    std::printf("programming_ok_latency%d %d\n", latency, programOk ? 1 : 0);
}

}  // namespace

int main(int argc, char** argv)
{
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    for (double latency : {0.0, 16.0}) {
        exchanges(latency, repeats);
        jobs(latency, std::max(1, repeats / 4));
    }
    std::fflush(stdout);
    return 0;
}
