#pragma once
// Status poll (command 1), SMS text (command 4) and received-text fetch (command 5):
// the byte layouts only, without the link or the module state object.
#include "protocol/Message.h"

#include <cstdint>
#include <string>

namespace kes {

struct StatusRequest {
    bool out1Toggle = false;
    bool out2Toggle = false;
    bool clip = false;
    bool sms = false;
    std::string number;  // bytes, cut to 26
};

struct StatusReply {
    std::int32_t temperature = 0;
    std::string moduleText;
    bool in1State = false;
    bool in2State = false;
    bool out1State = false;
    bool out2State = false;
    bool replyWaiting = false;
    std::int32_t supplyVolts = 0;
    std::int32_t signalLevel = 0;
    std::string operatorName;
};

Frame encodeStatusRequest(const StatusRequest& request);
// A reply is usable when its check word is good and byte 0 is 1.
bool isGoodStatusReply(const Frame& reply);
StatusReply decodeStatusReply(const Frame& reply);
// Whole volts from the module's supply reading.
std::int32_t supplyVoltsFromReading(std::uint16_t reading);

constexpr int smsChunkCount = 7;
constexpr std::size_t smsTextBytes = 160;
// Chunk 0..6 of the SMS text, taken as 160 bytes (the text, then zero bytes).
Frame encodeSmsChunk(const std::string& text, int chunk);

constexpr int replyChunkCount = 7;
Frame encodeFetchRequest(int chunk);
// The text of one fetched chunk (chunks 0-5: bytes 2-27, chunk 6: bytes 2-5), to its first zero.
std::string replyChunkText(const Frame& reply, int chunk);

// What the status column shows.
std::wstring temperatureText(std::int32_t temperature);
std::wstring signalText(std::int32_t signalLevel);
std::wstring voltageText(std::int32_t supplyVolts);

} // namespace kes
