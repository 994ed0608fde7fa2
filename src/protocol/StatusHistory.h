#pragma once
// Signal level, supply voltage and temperature from every good status poll over the last
// fifteen minutes, for the charts of the connection diagnostics. Times are the link clock's
// seconds (virtual in tests). Memory stays bounded whatever the poll rate.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace kes {

struct StatusSample {
    double seconds = 0.0;          // link clock
    std::int32_t signalLevel = -1;  // as the module reports it, 0..31 (99: unknown)
    std::int32_t supplyVolts = -1;
    std::int32_t temperature = -1000;
};

class StatusHistory {
public:
    static constexpr double spanSeconds = 15.0 * 60.0;
    static constexpr std::size_t maxSamples = 2400;  // more than 15 minutes of 500 ms polls

    // Drops what is older than the span before the newest sample.
    void add(const StatusSample& sample);
    std::vector<StatusSample> samples() const;  // oldest first
    std::size_t size() const { return samples_.size(); }
    void clear();
    std::uint64_t revision() const { return revision_; }

private:
    std::deque<StatusSample> samples_;
    std::uint64_t revision_ = 0;
};

// Filled by the status poll.
extern StatusHistory statusHistory;

} // namespace kes
