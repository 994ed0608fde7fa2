#pragma once
// Time source of the link: a performance counter, its frequency, and sleeping.
// The real clock is SystemClock (QueryPerformanceCounter/Frequency, Sleep). Tests pass their own
// Clock to UsbLink and Stopwatch; a virtual clock whose sleep() advances its counter makes every
// time limit of the link run exactly and without waiting.
#include <cstdint>

namespace kes {

class Clock {
public:
    virtual ~Clock() = default;
    // Counter value now; false when the counter cannot be read.
    virtual bool counter(std::int64_t& now) = 0;
    // Counts per second; false (or 0) when unavailable.
    virtual bool frequency(std::int64_t& perSecond) = 0;
    virtual void sleep(unsigned long milliseconds) = 0;

    // 1 / frequency, fetched at first use (retried with a 1 ms sleep until it succeeds) and kept.
    double secondsPerCount();
    std::int64_t now();

private:
    double secondsPerCount_ = 0.0;
};

class SystemClock final : public Clock {
public:
    bool counter(std::int64_t& now) override;
    bool frequency(std::int64_t& perSecond) override;
    void sleep(unsigned long milliseconds) override;
};

// The one real clock of the process.
Clock& systemClock();

} // namespace kes
