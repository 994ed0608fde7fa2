#pragma once
// Interval timer on a Clock's counter (the performance counter in the program).
#include "link/Clock.h"

#include <cstdint>

namespace kes {

class Stopwatch {
public:
    explicit Stopwatch(Clock& clock = systemClock()) : clock_(&clock) {}

    void reset();      // lap 0, readings 0, total 0, stopped
    void start();      // runs from now
    void stop();       // lap 0, stopped
    double read();     // seconds since start (0.0 when stopped); also measures the lap
    // Seconds accumulated up to the last reading, without taking a new one.
    double totalSeconds() const;

    void setClock(Clock& clock) { clock_ = &clock; }
    Clock& clock() const { return *clock_; }

    double lapSeconds = 0.0;
    std::uint32_t readings = 0;
    std::uint64_t lastCount = 0;
    std::int64_t totalCount = 0;
    bool stopped = true;

private:
    Clock* clock_;
};

} // namespace kes
