#include "NoisyLine.h"

#include "Simulator.h"

#include <array>
#include <cstring>
#include <stdexcept>

namespace protocol_tests {
namespace {

NoisyLine* current = nullptr;
kes::D2xxApi innerApi;

BOOL WINAPI noisyWrite(kes::FT_HANDLE handle, void* buffer, DWORD size, DWORD* written, OVERLAPPED* overlapped)
{
    if (current && size == 30) {
        std::array<std::uint8_t, 30> copy;
        std::memcpy(copy.data(), buffer, 30);
        current->written(static_cast<const std::uint8_t*>(buffer), copy.data());
        return innerApi.writeFile(handle, copy.data(), size, written, overlapped);
    }
    return innerApi.writeFile(handle, buffer, size, written, overlapped);
}

BOOL WINAPI noisyRead(kes::FT_HANDLE handle, void* buffer, DWORD size, DWORD* read, OVERLAPPED* overlapped)
{
    const BOOL ok = innerApi.readFile(handle, buffer, size, read, overlapped);
    if (ok && current && read && *read == 30)
        current->read(static_cast<std::uint8_t*>(buffer));
    return ok;
}

} // namespace

void flipPair(std::uint8_t* frame, std::size_t i, std::size_t j, int bit)
{
    const auto mask = static_cast<std::uint8_t>(1u << bit);
    frame[i] ^= mask;
    frame[j] ^= mask;
}

NoisyLine::NoisyLine(const kes::D2xxApi& inner, std::uint32_t seed, NoiseSettings settings)
    : api_(inner), random_(seed), settings_(settings)
{
    if (current)
        throw std::logic_error("one noisy line at a time");
    current = this;
    innerApi = inner;
    api_.writeFile = noisyWrite;
    api_.readFile = noisyRead;
}

NoisyLine::~NoisyLine()
{
    current = nullptr;
}

void NoisyLine::clearLog()
{
    evidence_.clear();
    delivered_.clear();
}

void NoisyLine::written(const std::uint8_t* asSent, std::uint8_t* onTheWire)
{
    const bool unseen = disturb(onTheWire);
    current_ = {asSent[0], asSent[1], onTheWire[0], onTheWire[1]};
    if (unseen)
        evidence_.push_back({current_, Evidence::Undetectable});
}

void NoisyLine::read(std::uint8_t* reply)
{
    // The module answers a request with its command in byte 0 and, but for a status poll,
    // the request's index in byte 1; anything else is a late reply to an earlier request.
    const bool otherRequest = reply[0] != current_.arrivedCommand ||
                              (current_.arrivedCommand != 0x01 && reply[1] != current_.arrivedIndex);
    if (otherRequest && qlvsim::frameSealed(reply))
        evidence_.push_back({current_, Evidence::LateReply});
    if (disturb(reply))
        evidence_.push_back({current_, Evidence::Undetectable});
    if (qlvsim::frameSealed(reply)) {
        DeliveredReply d{current_, {}};
        std::memcpy(d.bytes.data(), reply, d.bytes.size());
        delivered_.push_back(d);
    }
}

bool NoisyLine::disturb(std::uint8_t* frame)
{
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    if (chance(random_) < settings_.detectableRate) {
        const auto at = std::uniform_int_distribution<int>(0, 29)(random_);
        frame[at] ^= static_cast<std::uint8_t>(std::uniform_int_distribution<int>(1, 255)(random_));
        ++counts_.detectable;
        return false;
    }
    if (chance(random_) < settings_.undetectableRate) {
        const auto parity = std::uniform_int_distribution<int>(0, 1)(random_);
        const auto a = std::uniform_int_distribution<int>(0, 13)(random_);
        auto b = std::uniform_int_distribution<int>(0, 12)(random_);
        if (b >= a)
            ++b;
        const int bit = std::uniform_int_distribution<int>(0, 7)(random_);
        flipPair(frame, static_cast<std::size_t>(2 * a + parity), static_cast<std::size_t>(2 * b + parity), bit);
        ++counts_.undetectable;
        return true;
    }
    return false;
}

} // namespace protocol_tests
