#include "SimFixture.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

using simtest::sealed;
using qlvsim::Bytes;

std::wstring tempPath(const wchar_t* name)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    DeleteFileW(path.c_str());
    return path;
}

std::string readAll(const std::wstring& path)
{
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return std::string();
    std::string text;
    char chunk[1024];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0)
        text.append(chunk, got);
    std::fclose(file);
    return text;
}

void exchange(qlvsim::Simulator& sim, qlvsim::VirtualTime& time, void* handle, const Bytes& payload)
{
    const Bytes frame = sealed(payload);
    DWORD count = 0;
    sim.writeFile(handle, frame.data(), 30, &count);
    time.advanceMs(200);
    Bytes reply(64);
    sim.readFile(handle, reply.data(), 64, &count);
}

TEST(SimStateFile, ModuleMemorySurvivesARestart)
{
    const std::wstring state = tempPath(L"qlvsim-state-test.txt");
    {
        qlvsim::VirtualTime time;
        qlvsim::Simulator sim(time);
        sim.addInterface();
        sim.setStateFile(state);
        void* h = sim.createFile("QLV30001", 0xC0000000, 0, OPEN_EXISTING, 0x81);
        exchange(sim, time, h, {2, 5, 'W', 'y', 'j', 's', 'c', 'i', 'e'});
        exchange(sim, time, h, {2, 15, 0xFF, 0x01});
    }
    qlvsim::VirtualTime time;
    qlvsim::Simulator sim(time);
    sim.setStateFile(state);
    sim.addInterface();  // the state is matched to the interface by serial number
    EXPECT_EQ(sim.block(5)[0], 'W');
    EXPECT_EQ(sim.block(5)[6], 'e');
    EXPECT_EQ(sim.block(15)[0], 0xFF);
    EXPECT_EQ(sim.block(15)[1], 0x01);
    EXPECT_EQ(sim.block(0)[0], 0);
    DeleteFileW(state.c_str());
}

TEST(SimStateFile, DamagedLinesAreIgnored)
{
    const std::wstring state = tempPath(L"qlvsim-state-bad.txt");
    {
        FILE* file = _wfopen(state.c_str(), L"wb");
        std::fputs("QLV30001 3 41 42\nQLV30001 99 00\nQLV30001 4", file);
        for (int i = 0; i < 26; ++i)
            std::fputs(" 5A", file);
        std::fputs("\n", file);
        std::fclose(file);
    }
    qlvsim::VirtualTime time;
    qlvsim::Simulator sim(time);
    sim.addInterface();
    EXPECT_TRUE(sim.loadState(state));
    EXPECT_EQ(sim.block(3)[0], 0);  // too short: not taken
    EXPECT_EQ(sim.block(4)[25], 0x5A);
    DeleteFileW(state.c_str());
}

TEST(SimJournalFile, OneLinePerEntry)
{
    const std::wstring journal = tempPath(L"qlvsim-journal-test.txt");
    qlvsim::VirtualTime time;
    qlvsim::Simulator sim(time);
    sim.setLatencyMs(0);
    sim.addInterface();
    sim.setJournalFile(journal);
    void* h = sim.createFile("QLV30001", 0xC0000000, 0, OPEN_EXISTING, 0x81);
    exchange(sim, time, h, {3, 1});
    const std::string text = readAll(journal);
    std::istringstream lines(text);
    std::string open, request, reply;
    std::getline(lines, open);
    std::getline(lines, request);
    std::getline(lines, reply);
    EXPECT_NE(open.find("------ open QLV30001"), std::string::npos) << open;
    EXPECT_NE(request.find("31.250 ms PC>MOD 03 01 00"), std::string::npos) << request;
    EXPECT_NE(request.find("00 03 01"), std::string::npos) << request;  // the check word ends the line
    EXPECT_NE(reply.find("MOD>PC 03 01"), std::string::npos) << reply;
    DeleteFileW(journal.c_str());
}

TEST(SimScenario, ReadsInterfacesModuleMemoryFaultsAndTimeline)
{
    const std::string text =
        "\xEF\xBB\xBF; demo\n"
        "[line]\nturnaroundMs = 8\nlatencyMs = 0\nseed = 3\n"
        "[interface]\nserial = Q1\n"
        "[interface]\nserial = Q2\ndescription = Quorvaltenique USB\nopenElsewhere = yes\n"
        "[module]\ntemperature = -12\ntext = Garaz\noperator = Orange\nsignal = 17\nsupplyVolts = 12\nin2 = 1\n"
        "heldText = witaj\n"
        "[memory]\nblock2 = text:Brama\nblock11 = 83 01 36 30 30\n"
        "[faults]\nsilentPolls = 2\nslowDelayMs = 50\n"
        "[timeline]\n1.5s set temperature 30\n#3 unplug\n2s fault badCheckWords 1\n";
    qlvsim::VirtualTime time;
    qlvsim::Simulator sim(time);
    std::string error;
    ASSERT_TRUE(qlvsim::loadScenarioText(sim, text, &error)) << error;
    ASSERT_EQ(sim.interfaceCount(), 2u);
    EXPECT_EQ(sim.interfaceInfo(0).serial, "Q1");
    EXPECT_FALSE(sim.interfaceInfo(0).openElsewhere);
    EXPECT_TRUE(sim.interfaceInfo(1).openElsewhere);
    const auto& s = sim.status(1);
    EXPECT_EQ(s.temperature, -12);
    EXPECT_EQ(s.text, "Garaz");
    EXPECT_EQ(s.operatorName, "Orange");
    EXPECT_EQ(s.signal, 17);
    EXPECT_EQ(qlvsim::voltsForReading(s.supplyReading), 12);
    EXPECT_TRUE(s.in2);
    EXPECT_TRUE(sim.holdingText(1));
    EXPECT_EQ(sim.block(2, 1)[4], 'a');
    EXPECT_EQ(sim.block(2, 1)[5], 0);
    EXPECT_EQ(sim.block(11, 1)[1], 0x01);
    EXPECT_EQ(sim.faults(1).silentPolls, 2);
    EXPECT_EQ(sim.faults(1).slowDelayMs, 50.0);
    EXPECT_EQ(sim.status(0).temperature, 22);  // the first interface kept its defaults
    time.advanceMs(1600);
    sim.update();
    EXPECT_EQ(sim.status(1).temperature, 30);
    time.advanceMs(500);
    sim.update();
    EXPECT_EQ(sim.faults(1).badCheckWords, 1);
    EXPECT_TRUE(sim.interfaceInfo(1).plugged);  // waits for frame 3
}

// A series demonstration: modules defined by name, attached one after another by the timeline.
TEST(SimScenario, NamedModulesAreAttachedByTheTimeline)
{
    const std::string text = "[interface]\nserial = Q1\n"
                             "[module]\ntext = Brama 1\n"
                             "[module Brama 2]\ntext = Brama 2\nsignal = 9\nblock0 = 31 32 33 34\nblock2 = text:Furtka\n"
                             "storesWrongly = yes\n"
                             "[timeline]\n1s moduleoff\n2s attach brama 2\n";
    qlvsim::VirtualTime time;
    qlvsim::Simulator sim(time);
    std::string error;
    ASSERT_TRUE(qlvsim::loadScenarioText(sim, text, &error)) << error;
    EXPECT_EQ(sim.status().text, "Brama 1") << "a named module is not attached by its section";
    time.advanceMs(1500);
    sim.update();
    EXPECT_FALSE(sim.moduleAttached());
    time.advanceMs(1000);
    sim.update();
    ASSERT_TRUE(sim.moduleAttached());
    EXPECT_EQ(sim.status().text, "Brama 2");
    EXPECT_EQ(sim.status().signal, 9);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sim.block(0).data()), 5), std::string("1234\0", 5));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(sim.block(2).data()), 7), std::string("Furtka\0", 7));

    // It stores what it is written wrongly, as its section says.
    void* h = sim.createFile("Q1", 0xC0000000, 0, OPEN_EXISTING, 0x81);
    exchange(sim, time, h, {2, 0, '5', '6', '7', '8'});
    EXPECT_EQ(sim.block(0)[0], '4');
    EXPECT_EQ(sim.block(0)[2], '6');
}

struct BadScenario {
    const char* name;
    const char* text;
    const char* where;
};

class ScenarioErrors : public ::testing::TestWithParam<BadScenario> {};

TEST_P(ScenarioErrors, AreReportedWithTheirLine)
{
    qlvsim::VirtualTime time;
    qlvsim::Simulator sim(time);
    std::string error;
    EXPECT_FALSE(qlvsim::loadScenarioText(sim, GetParam().text, &error));
    EXPECT_EQ(error.rfind(GetParam().where, 0), 0u) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, ScenarioErrors,
    ::testing::Values(BadScenario{"UnknownSection", "[line]\n[modules]\n", "line 2:"},
                      BadScenario{"UnknownKey", "[module]\ntemprature = 3\n", "line 2:"},
                      BadScenario{"NotANumber", "[module]\n\ntemperature = warm\n", "line 3:"},
                      BadScenario{"TemperatureOutOfByte", "[module]\ntemperature = 200\n", "line 2:"},
                      BadScenario{"NoEquals", "[faults]\nsilentPolls 3\n", "line 2:"},
                      BadScenario{"BlockTooLong", "[memory]\nblock2 = text:ABCDEFGHIJKLMNOPQRSTUVWXYZ\n", "line 2:"},
                      BadScenario{"BlockSixteen", "[memory]\nblock16 = 00\n", "line 2:"},
                      BadScenario{"BadHex", "[memory]\nblock1 = 0G\n", "line 2:"},
                      BadScenario{"TimelineVerb", "[timeline]\n1s explode\n", "line 2:"},
                      BadScenario{"TimelineSetKey", "[timeline]\n1s set colour red\n", "line 2:"},
                      BadScenario{"TimelineTime", "[timeline]\nsoon unplug\n", "line 2:"},
                      BadScenario{"UnclosedSection", "[line\n", "line 1:"},
                      BadScenario{"NamedModuleKey", "[module Brama]\ncolour = red\n", "line 2:"},
                      BadScenario{"AttachUndefined", "[module Brama]\n[timeline]\n1s attach Furtka\n", "line 3:"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
