// The module behind an interface: it takes the bytes off the line into frames and answers
// them, with the faults a test or a scenario asked for.
#include "Device.h"

#include <algorithm>
#include <cstring>

namespace qlvsim {

namespace {

constexpr std::int64_t interByteGapNs = 20 * nsPerMs;  // a pause this long ends a partial frame

// A fault that strikes every time, or while its count lasts.
bool strikes(bool always, int& count)
{
    if (always)
        return true;
    if (count <= 0)
        return false;
    --count;
    return true;
}

bool storesWrongly(Faults& f, std::uint8_t block)
{
    if (f.wrongStoreBlock >= 0 && f.wrongStoreBlock != block)
        return false;
    return strikes(f.wrongStoresAlways, f.wrongStores);
}

} // namespace

void flipStored(Block& block)
{
    block[0] ^= 0x01;
    block[2] ^= 0x01;
}

void sealFrame(std::uint8_t* frame)
{
    std::uint8_t even = 0, odd = 0;
    for (std::size_t i = 0; i < 28; i += 2) {
        even = static_cast<std::uint8_t>(even ^ frame[i]);
        odd = static_cast<std::uint8_t>(odd ^ frame[i + 1]);
    }
    frame[28] = even;
    frame[29] = odd;
}

bool frameSealed(const std::uint8_t* frame)
{
    std::uint8_t copy[frameBytes];
    std::memcpy(copy, frame, frameBytes);
    sealFrame(copy);
    return copy[28] == frame[28] && copy[29] == frame[29];
}

void Simulator::moduleReceives(Device& d, std::uint8_t byte, std::int64_t at)
{
    if (!d.partial.empty() && at - d.lastByteAt > interByteGapNs) {
        record(Direction::HostToModule, d.partial, "partial frame dropped", d.lastByteAt);
        d.partial.clear();
    }
    d.partial.push_back(byte);
    d.lastByteAt = at;
    if (d.partial.size() < frameBytes)
        return;
    const Bytes frame = d.partial;
    d.partial.clear();
    ++d.frames;
    record(Direction::HostToModule, frame, "", at);
    const std::size_t index = static_cast<std::size_t>(
        std::find_if(devices_.begin(), devices_.end(), [&](const auto& p) { return p.get() == &d; }) -
        devices_.begin());
    for (std::size_t i = 0; i < timeline_.size(); ++i) {
        TimelineAction& action = timeline_[i];
        if (action.done || !action.byFrame || action.interfaceIndex != index || action.atFrame > d.frames)
            continue;
        action.done = true;
        auto run = action.run;
        if (run)
            run();
    }
    if (!d.info.plugged)
        return;
    answer(d, frame.data(), at);
}

void Simulator::answer(Device& d, const std::uint8_t* frame, std::int64_t at)
{
    if (d.dcb.BaudRate != baud_ || d.dcb.ByteSize != 8 || d.dcb.Parity != NOPARITY ||
        d.dcb.StopBits != ONESTOPBIT) {
        record(Direction::Event, {}, "no reply: port not set to the module's 8N1 rate", at);
        return;
    }
    if (!d.moduleOn) {
        record(Direction::Event, {}, "no reply: no module", at);
        return;
    }
    if (d.faults.silentFrames > 0) {
        --d.faults.silentFrames;
        record(Direction::Event, {}, "no reply: silent", at);
        return;
    }
    if (!frameSealed(frame)) {
        record(Direction::Event, {}, "no reply: bad check word", at);
        return;
    }
    Bytes reply(frameBytes, 0);
    const std::uint8_t command = frame[0];
    const std::uint8_t index = frame[1];
    switch (command) {
    case Status: {
        ++d.polls;
        if (d.faults.silentPolls > 0) {
            --d.faults.silentPolls;
            record(Direction::Event, {}, "no reply: silent poll", at);
            return;
        }
        const std::uint8_t requests = frame[1];
        if (requests & 0x1)
            d.status.out1 = !d.status.out1;
        if (requests & 0x2)
            d.status.out2 = !d.status.out2;
        const std::string number = textOf(frame + 2, 26);
        if (requests & 0x4)
            d.clips.push_back(number);
        if (requests & 0x8) {
            d.sms.push_back({number, textOf(d.smsBuffer.data(), smsBytes)});
            d.smsBuffer.fill(0);
        }
        reply[0] = Status;
        reply[1] = static_cast<std::uint8_t>(d.status.temperature);
        std::memcpy(&reply[2], d.status.text.data(), std::min<std::size_t>(d.status.text.size(), 12));
        reply[15] = static_cast<std::uint8_t>((d.status.in1 ? 0x1 : 0) | (d.status.in2 ? 0x2 : 0) |
                                              (d.status.out1 ? 0x4 : 0) | (d.status.out2 ? 0x8 : 0) |
                                              (d.holding ? 0x10 : 0));
        reply[16] = static_cast<std::uint8_t>(d.status.supplyReading & 0xFF);
        reply[17] = static_cast<std::uint8_t>(d.status.supplyReading >> 8);
        reply[18] = static_cast<std::uint8_t>(d.status.signal);
        // Bytes 19..27: 28 and 29 carry the check word. A 9-character name has no zero byte.
        std::memcpy(&reply[19], d.status.operatorName.data(),
                    std::min<std::size_t>(d.status.operatorName.size(), 9));
        sendReply(d, std::move(reply), at, true);
        return;
    }
    case WriteBlock:
        if (index >= blockCount)
            break;
        std::memcpy(d.memory[index].data(), frame + 2, blockBytes);
        d.lastWrites[index].assign(frame, frame + frameBytes);
        if (d.moduleStoresWrongly || storesWrongly(d.faults, index)) {
            flipStored(d.memory[index]);
            record(Direction::Event, {}, "block stored wrongly", at);
        }
        persist();
        std::memcpy(reply.data(), frame, 2);
        std::memcpy(reply.data() + 2, d.memory[index].data(), blockBytes);
        sendReply(d, std::move(reply), at, false);
        return;
    case ReadBlock:
        if (index >= blockCount)
            break;
        if (!d.lastWrites[index].empty() && strikes(d.faults.echoedReadsAlways, d.faults.echoedReads)) {
            reply = d.lastWrites[index];
            record(Direction::Event, {}, "read answered with the write's echo", at);
            sendReply(d, std::move(reply), at, false);
            return;
        }
        reply[0] = ReadBlock;
        reply[1] = index;
        std::memcpy(&reply[2], d.memory[index].data(), blockBytes);
        sendReply(d, std::move(reply), at, false);
        return;
    case SmsChunk:
        if (index > 6)
            break;
        std::memcpy(&d.smsBuffer[26u * index], frame + 2, index < 6 ? 26 : 4);
        std::memcpy(reply.data(), frame, 28);
        sendReply(d, std::move(reply), at, false);
        return;
    case FetchChunk:
        if (index > 6)
            break;
        reply[0] = FetchChunk;
        reply[1] = index;
        std::memcpy(&reply[2], &d.held[26u * index], index < 6 ? 26 : 4);
        if (index == 6) {
            // The whole text has been fetched.
            d.holding = false;
            d.held.fill(0);
        }
        sendReply(d, std::move(reply), at, false);
        return;
    default:
        break;
    }
    record(Direction::Event, {}, "no reply: unknown command or index", at);
}

void Simulator::sendReply(Device& d, Bytes reply, std::int64_t at, bool statusReply)
{
    Faults& f = d.faults;
    if (statusReply && f.wrongByte0 > 0) {
        --f.wrongByte0;
        reply[0] = 2;
    }
    sealFrame(reply.data());
    std::uniform_int_distribution<int> position(0, 27);
    std::uniform_int_distribution<int> flip(1, 255);
    bool corrupt = false;
    if (f.corruptReplies > 0) {
        --f.corruptReplies;
        corrupt = true;
    } else if (f.randomCorruptRate > 0.0) {
        corrupt = std::uniform_real_distribution<double>(0.0, 1.0)(random_) < f.randomCorruptRate;
    }
    if (corrupt) {
        const int where = position(random_);
        reply[static_cast<std::size_t>(where)] ^= static_cast<std::uint8_t>(flip(random_));
    }
    if (f.badCheckWords > 0) {
        --f.badCheckWords;
        reply[28] ^= static_cast<std::uint8_t>(flip(random_));
    }
    if (f.extraBytes > 0) {
        --f.extraBytes;
        for (int i = 0; i < f.extraByteCount; ++i)
            reply.push_back(static_cast<std::uint8_t>(flip(random_)));
    }
    if (f.missingBytes > 0) {
        --f.missingBytes;
        reply.resize(reply.size() - std::min<std::size_t>(reply.size(), static_cast<std::size_t>(f.missingByteCount)));
    }
    double delayMs = turnaroundMs_;
    if (f.slowReplies > 0) {
        --f.slowReplies;
        delayMs += f.slowDelayMs;
    }
    record(Direction::ModuleToHost, reply, "", at);

    const std::int64_t byteNs = byteTimeNs(baud_, 10);
    const std::int64_t latencyNs = static_cast<std::int64_t>(latencyMs_ * static_cast<double>(nsPerMs));
    const std::int64_t start =
        std::max(at + static_cast<std::int64_t>(delayMs * static_cast<double>(nsPerMs)), d.rxFreeAt);
    for (std::size_t k = 0; k < reply.size(); ++k) {
        const std::int64_t arrives = start + static_cast<std::int64_t>(k + 1) * byteNs;
        // The chip hands what it has received to the host at the end of each latency period.
        const std::int64_t visible = latencyNs > 0 ? (arrives + latencyNs - 1) / latencyNs * latencyNs : arrives;
        d.toHost.push_back({arrives, visible, reply[k]});
    }
    d.rxFreeAt = start + static_cast<std::int64_t>(reply.size()) * byteNs;
}

} // namespace qlvsim
