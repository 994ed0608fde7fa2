#pragma once
// Line noise between the link and the simulator, in both directions: single changed bytes
// (the check word sees them) and pairs of flips of one bit in two bytes of the same parity
// (the check word cannot see them). Wraps the simulator's write and read entry points.
#include "link/D2xx.h"

#include <cstdint>
#include <random>

namespace protocol_tests {

struct NoiseSettings {
    double detectableRate = 0.0;    // per 30-byte transfer
    double undetectableRate = 0.0;  // per 30-byte transfer
};

struct NoiseCounts {
    int detectable = 0;
    int undetectable = 0;
};

// One line at a time (the D2XX table holds plain function pointers).
class NoisyLine {
public:
    NoisyLine(const kes::D2xxApi& inner, std::uint32_t seed, NoiseSettings settings);
    ~NoisyLine();
    NoisyLine(const NoisyLine&) = delete;
    NoisyLine& operator=(const NoisyLine&) = delete;

    const kes::D2xxApi& api() const { return api_; }
    const NoiseCounts& counts() const { return counts_; }
    void setSettings(NoiseSettings settings) { settings_ = settings; }

    void disturb(std::uint8_t* frame);

private:
    kes::D2xxApi api_;
    std::mt19937 random_;
    NoiseSettings settings_;
    NoiseCounts counts_;
};

// Flips bit `bit` in bytes i and j: with i, j of the same parity the check word still fits.
void flipPair(std::uint8_t* frame, std::size_t i, std::size_t j, int bit);

} // namespace protocol_tests
