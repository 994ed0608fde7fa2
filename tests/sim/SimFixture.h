#pragma once
// Drives the simulator directly through its D2XX calls, on virtual time.
#include "Simulator.h"

#include <gtest/gtest.h>

#include <cstring>

namespace simtest {

using qlvsim::Bytes;

inline Bytes sealed(Bytes payload)
{
    payload.resize(qlvsim::frameBytes, 0);
    qlvsim::sealFrame(payload.data());
    return payload;
}

class SimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim.setLatencyMs(0);
        sim.setTurnaroundMs(5);
        sim.addInterface();
        handle = sim.createFile("QLV30001", 0xC0000000, 0, OPEN_EXISTING, 0x81);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    }

    bool write(const Bytes& bytes)
    {
        DWORD written = 0;
        return sim.writeFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written) &&
               written == bytes.size();
    }

    DWORD queued()
    {
        DWORD errors = 0;
        COMSTAT status;
        std::memset(&status, 0, sizeof(status));
        EXPECT_TRUE(sim.clearCommError(handle, &errors, &status));
        return status.cbInQue;
    }

    Bytes read()
    {
        Bytes buffer(64, 0);
        DWORD got = 0;
        EXPECT_TRUE(sim.readFile(handle, buffer.data(), static_cast<DWORD>(buffer.size()), &got));
        buffer.resize(got);
        return buffer;
    }

    // Writes a frame and collects the whole reply (nothing when none comes within 500 ms).
    Bytes exchange(const Bytes& payload)
    {
        EXPECT_TRUE(write(sealed(payload)));
        time.advanceMs(500);
        return read();
    }

    qlvsim::VirtualTime time;
    qlvsim::Simulator sim{time};
    void* handle = nullptr;
};

} // namespace simtest
