#pragma once
// The inside of the simulator, shared by the files it is built from: one interface with its line
// and the module behind it, and one handle the program holds on an interface.
#include "Simulator.h"

namespace qlvsim {

// Frame commands the module answers.
enum Command : std::uint8_t { Status = 1, WriteBlock = 2, ReadBlock = 3, SmsChunk = 4, FetchChunk = 5 };

// What a freshly opened FTDI port reports.
DCB defaultDcb();
// Bits on the wire for one byte with the port's settings: start, data, parity, stop.
std::int64_t bitsPerByte(const DCB& dcb);
std::int64_t byteTimeNs(DWORD baud, std::int64_t bits);
// The bytes up to the first zero, as text.
std::string textOf(const std::uint8_t* bytes, std::size_t size);

struct Simulator::Device {
    struct Timed {
        std::int64_t arrives;  // at the module (to it) or at the chip (from it)
        std::int64_t visible;  // to the host, after the chip's latency (replies only)
        std::uint8_t byte;
    };

    InterfaceInfo info;
    bool moduleOn = true;
    bool moduleStoresWrongly = false;
    ModuleStatus status;
    std::array<Block, blockCount> memory{};
    std::array<Bytes, blockCount> lastWrites;  // each block's last write frame as received; empty: none
    std::vector<std::string> clips;
    std::vector<SmsRecord> sms;
    std::array<std::uint8_t, smsBytes> smsBuffer{};
    std::array<std::uint8_t, smsBytes> held{};
    bool holding = false;
    Faults faults;
    std::uint64_t frames = 0;
    std::uint64_t polls = 0;

    DCB dcb = defaultDcb();
    std::uintptr_t openHandle = 0;
    std::deque<Timed> toModule;
    std::int64_t txFreeAt = 0;
    Bytes partial;
    std::int64_t lastByteAt = 0;
    std::deque<Timed> toHost;
    std::deque<std::uint8_t> rxQueue;
    std::int64_t rxFreeAt = 0;

    void clearLine()
    {
        toModule.clear();
        partial.clear();
        toHost.clear();
        rxQueue.clear();
        txFreeAt = rxFreeAt = 0;
    }
};

struct Simulator::Handle {
    std::size_t device = 0;
    bool dead = false;
    bool closed = false;
    DWORD lastError = 0;
};

} // namespace qlvsim
