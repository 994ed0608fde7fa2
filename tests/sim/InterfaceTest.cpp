#include "SimFixture.h"

namespace {

using simtest::SimTest;
using simtest::sealed;
using qlvsim::Bytes;

TEST_F(SimTest, UnplugKillsTheHandleForEveryCall)
{
    sim.unplug();
    DCB dcb = sim.portState();
    DWORD count = 0, errors = 0;
    COMSTAT status;
    Bytes buffer(30, 0);
    EXPECT_FALSE(sim.clearCommError(handle, &errors, &status));
    EXPECT_FALSE(sim.writeFile(handle, buffer.data(), 30, &count));
    EXPECT_FALSE(sim.readFile(handle, buffer.data(), 30, &count));
    EXPECT_FALSE(sim.getCommState(handle, &dcb));
    EXPECT_FALSE(sim.setCommState(handle, &dcb));
    EXPECT_FALSE(sim.purgeComm(handle, 8));
    EXPECT_EQ(sim.getLastError(handle), qlvsim::errorUnplugged);
    sim.createDeviceInfoList(&count);
    EXPECT_EQ(count, 0u);
    // Back again: the old handle stays dead, a new one works.
    sim.replug();
    EXPECT_EQ(sim.getLastError(handle), qlvsim::errorUnplugged);
    void* fresh = sim.createFile("QLV30001", 0xC0000000, 0, OPEN_EXISTING, 0x81);
    ASSERT_NE(fresh, INVALID_HANDLE_VALUE);
    EXPECT_NE(fresh, handle);
    EXPECT_EQ(sim.openHandles(), 2);  // the dead one was never closed
    EXPECT_TRUE(sim.closeHandle(handle));
    EXPECT_EQ(sim.openHandles(), 1);
}

TEST_F(SimTest, ClosedHandlesAreCountedWhenUsedAgain)
{
    ASSERT_TRUE(sim.closeHandle(handle));
    EXPECT_FALSE(sim.isOpen());
    DCB dcb;
    EXPECT_FALSE(sim.getCommState(handle, &dcb));
    EXPECT_FALSE(sim.closeHandle(handle));
    EXPECT_EQ(sim.callsOnClosedHandles(), 2);
}

TEST_F(SimTest, WriteFailuresReportTheirCode)
{
    sim.faults().writeFailures = 2;
    sim.faults().writeFailureCode = qlvsim::errorIo;
    EXPECT_FALSE(write(sealed({1, 0})));
    EXPECT_EQ(sim.getLastError(handle), qlvsim::errorIo);
    sim.faults().writeFailureCode = qlvsim::errorUnplugged;
    EXPECT_FALSE(write(sealed({1, 0})));
    EXPECT_EQ(sim.getLastError(handle), qlvsim::errorUnplugged);
    EXPECT_TRUE(write(sealed({1, 0})));
    EXPECT_EQ(sim.getLastError(handle), 0u);
}

TEST(SimListing, ReportsFlagsSerialsAndDescriptions)
{
    qlvsim::VirtualTime time;
    qlvsim::Simulator sim(time);
    qlvsim::InterfaceInfo busy;
    busy.serial = "BUSY1";
    busy.openElsewhere = true;
    qlvsim::InterfaceInfo other;
    other.serial = "FT9ZK";
    other.description = "FT232R USB UART";
    sim.addInterface(busy);
    sim.addInterface(other);
    sim.addInterface();
    DWORD count = 0;
    ASSERT_EQ(sim.createDeviceInfoList(&count), 0u);
    ASSERT_EQ(count, 3u);
    struct Expected {
        DWORD flags;
        const char* serial;
        const char* description;
    } expected[] = {{1, "BUSY1", "Quorvaltenique USB"}, {0, "FT9ZK", "FT232R USB UART"}, {0, "QLV30001", "Quorvaltenique USB"}};
    for (DWORD i = 0; i < count; ++i) {
        DWORD flags = 99, type = 0, id = 0, loc = 0;
        char serial[64], description[64];
        void* h = reinterpret_cast<void*>(1);
        ASSERT_EQ(sim.getDeviceInfoDetail(i, &flags, &type, &id, &loc, serial, description, &h), 0u);
        EXPECT_EQ(flags, expected[i].flags);
        EXPECT_STREQ(serial, expected[i].serial);
        EXPECT_STREQ(description, expected[i].description);
        EXPECT_EQ(h, nullptr);
    }
    EXPECT_NE(sim.getDeviceInfoDetail(3, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0u);
    EXPECT_EQ(sim.createFile("BUSY1", 0xC0000000, 0, OPEN_EXISTING, 0x81), INVALID_HANDLE_VALUE);
    EXPECT_EQ(sim.createFile("NOSUCH", 0xC0000000, 0, OPEN_EXISTING, 0x81), INVALID_HANDLE_VALUE);
    void* h = sim.createFile("QLV30001", 0xC0000000, 0, OPEN_EXISTING, 0x81);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(sim.createFile("QLV30001", 0xC0000000, 0, OPEN_EXISTING, 0x81), INVALID_HANDLE_VALUE);
    sim.createDeviceInfoList(&count);
    DWORD flags = 0;
    void* listed = nullptr;
    sim.getDeviceInfoDetail(2, &flags, nullptr, nullptr, nullptr, nullptr, nullptr, &listed);
    EXPECT_EQ(flags, 1u);
    EXPECT_EQ(listed, h);
}

TEST_F(SimTest, JournalRecordsBothDirectionsByteExact)
{
    sim.clearJournal();
    const Bytes request = sealed({3, 2});
    ASSERT_TRUE(write(request));
    time.advanceMs(200);
    std::vector<qlvsim::JournalEntry> frames;
    for (const auto& e : sim.journal())
        if (e.direction != qlvsim::Direction::Event)
            frames.push_back(e);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].direction, qlvsim::Direction::HostToModule);
    EXPECT_EQ(frames[0].bytes, request);
    EXPECT_EQ(frames[0].timeNs, 30 * 1041666);
    EXPECT_EQ(frames[1].direction, qlvsim::Direction::ModuleToHost);
    EXPECT_EQ(frames[1].bytes, request);  // an empty block 2 reads back as the request itself
}

} // namespace
