#include "protocol/StatusMessages.h"

#include "protocol/ModuleText.h"
#include "protocol/StatusScale.h"

namespace kes {
namespace {

constexpr std::size_t numberBytes = payloadSize - dataOffset;  // 26
constexpr std::size_t chunkBytes = payloadSize - dataOffset;   // 26
constexpr std::size_t lastChunkBytes = smsTextBytes - chunkBytes * (smsChunkCount - 1);  // 4

enum RequestBit : std::uint8_t {
    toggleOut1 = 1u << 0,
    toggleOut2 = 1u << 1,
    placeClip = 1u << 2,
    sendSms = 1u << 3,
};

// Reply layout.
constexpr std::size_t replyTemperature = 1;
constexpr std::size_t replyText = 2;
constexpr std::size_t replyTextBytes = 13;  // bytes 2-14; ends at 14 when no zero comes
constexpr std::size_t replyStates = 15;
constexpr std::size_t replySupply = 16;
constexpr std::size_t replySignal = 18;
constexpr std::size_t replyOperator = 19;
// Bytes 19-27: 28 and 29 are the check word, never part of the name.
constexpr std::size_t replyOperatorBytes = payloadSize - replyOperator;

enum StateBit : std::uint8_t {
    in1Bit = 1u << 0,
    in2Bit = 1u << 1,
    out1Bit = 1u << 2,
    out2Bit = 1u << 3,
    replyWaitingBit = 1u << 4,
};

constexpr wchar_t noValue[] = L"- - -";

std::size_t chunkLength(int chunk) { return chunk == smsChunkCount - 1 ? lastChunkBytes : chunkBytes; }

} // namespace

Frame encodeStatusRequest(const StatusRequest& request)
{
    Frame m{};
    m[commandOffset] = static_cast<std::uint8_t>(Command::StatusPoll);
    m[blockOffset] = static_cast<std::uint8_t>((request.out1Toggle ? toggleOut1 : 0) |
                                               (request.out2Toggle ? toggleOut2 : 0) |
                                               (request.clip ? placeClip : 0) | (request.sms ? sendSms : 0));
    for (std::size_t i = 0; i < request.number.size() && i < numberBytes; ++i)
        m[dataOffset + i] = static_cast<std::uint8_t>(request.number[i]);
    return m;
}

bool isGoodStatusReply(const Frame& reply)
{
    return hasGoodCheckWord(reply) && reply[commandOffset] == static_cast<std::uint8_t>(Command::StatusPoll);
}

std::int32_t supplyVoltsFromReading(std::uint16_t reading)
{
    return static_cast<std::int32_t>((std::uint32_t{reading} * 3330u / 11253u) / 10u);
}

StatusReply decodeStatusReply(const Frame& reply)
{
    StatusReply s;
    s.temperature = static_cast<std::int8_t>(reply[replyTemperature]);
    s.moduleText = bytesUntilZero(reply.data() + replyText, replyTextBytes);
    const std::uint8_t states = reply[replyStates];
    s.in1State = (states & in1Bit) != 0;
    s.in2State = (states & in2Bit) != 0;
    s.out1State = (states & out1Bit) != 0;
    s.out2State = (states & out2Bit) != 0;
    s.replyWaiting = (states & replyWaitingBit) != 0;
    s.supplyVolts = supplyVoltsFromReading(
        static_cast<std::uint16_t>(reply[replySupply] | (reply[replySupply + 1] << 8)));
    s.signalLevel = static_cast<std::int8_t>(reply[replySignal]);
    s.operatorName = bytesUntilZero(reply.data() + replyOperator, replyOperatorBytes);
    return s;
}

Frame encodeSmsChunk(const std::string& text, int chunk)
{
    Frame m = makeMessage(Command::SmsChunk, static_cast<std::uint8_t>(chunk));
    if (chunk < 0 || chunk >= smsChunkCount)
        return m;
    const std::size_t start = chunkBytes * static_cast<std::size_t>(chunk);
    for (std::size_t i = 0; i < chunkLength(chunk); ++i) {
        const std::size_t at = start + i;
        m[dataOffset + i] = at < text.size() ? static_cast<std::uint8_t>(text[at]) : 0;
    }
    return m;
}

Frame encodeFetchRequest(int chunk)
{
    return makeMessage(Command::FetchChunk, static_cast<std::uint8_t>(chunk));
}

std::string replyChunkText(const Frame& reply, int chunk)
{
    if (chunk < 0 || chunk >= replyChunkCount)
        return {};
    return bytesUntilZero(reply.data() + dataOffset, chunkLength(chunk));
}

std::wstring temperatureText(std::int32_t temperature)
{
    const std::optional<int> degrees = temperatureReading(temperature);
    return degrees ? std::to_wstring(*degrees) : noValue;
}

std::wstring signalText(std::int32_t signalLevel)
{
    const std::optional<int> percent = signalPercent(signalLevel);
    return percent ? std::to_wstring(*percent) + L" %" : noValue;
}

std::wstring voltageText(std::int32_t supplyVolts)
{
    if (supplyVolts < 0)
        return noValue;
    return std::to_wstring(supplyVolts) + L" V";
}

} // namespace kes
