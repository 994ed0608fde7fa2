#pragma once
// Line noise between the link and the simulator, in both directions: single changed bytes
// (the check word sees them) and pairs of flips of one bit in two bytes of the same parity
// (the check word cannot see them). Wraps the simulator's write and read entry points.
#include "link/D2xx.h"

#include <array>
#include <cstdint>
#include <vector>
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

// One exchange as the line saw it: the request's command and index as the program wrote them,
// and as they reached the module.
struct ExchangeKey {
    std::uint8_t command = 0;
    std::uint8_t index = 0;
    std::uint8_t arrivedCommand = 0;
    std::uint8_t arrivedIndex = 0;
};

enum class Evidence { Undetectable, LateReply };

// Something on the line that can make an exchange succeed with wrong data: an unseen
// corruption of its request or reply, or a reply taken that answered another request.
struct ExchangeEvidence {
    ExchangeKey exchange;
    Evidence what;
};

// A reply handed to the program with a check word that fits, after the line's noise.
struct DeliveredReply {
    ExchangeKey exchange;
    std::array<std::uint8_t, 30> bytes;
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

    // Returns whether it made an unseen corruption.
    bool disturb(std::uint8_t* frame);

    // What happened per exchange since the last clearLog().
    const std::vector<ExchangeEvidence>& evidence() const { return evidence_; }
    const std::vector<DeliveredReply>& delivered() const { return delivered_; }
    void clearLog();

    void written(const std::uint8_t* asSent, std::uint8_t* onTheWire);
    void read(std::uint8_t* reply);

private:
    ExchangeKey current_;
    std::vector<ExchangeEvidence> evidence_;
    std::vector<DeliveredReply> delivered_;
    kes::D2xxApi api_;
    std::mt19937 random_;
    NoiseSettings settings_;
    NoiseCounts counts_;
};

// Flips bit `bit` in bytes i and j: with i, j of the same parity the check word still fits.
void flipPair(std::uint8_t* frame, std::size_t i, std::size_t j, int bit);

} // namespace protocol_tests
