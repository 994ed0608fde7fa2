#include "SimFixture.h"

#include <string>

namespace {

using simtest::SimTest;
using simtest::sealed;
using qlvsim::Bytes;

Bytes withNumber(Bytes payload, const std::string& number)
{
    payload.resize(28, 0);
    for (std::size_t i = 0; i < number.size() && i < 26; ++i)
        payload[2 + i] = static_cast<std::uint8_t>(number[i]);
    return payload;
}

TEST_F(SimTest, StatusReplyCarriesEveryValueAtItsPlace)
{
    auto& s = sim.status();
    s.temperature = -59;
    s.text = "Dom Ala";
    s.in1 = true;
    s.out2 = true;
    s.supplyReading = 0x0443;
    s.signal = 31;
    s.operatorName = "T-Mobile";
    const Bytes expected = sealed({1, 0xC5, 'D', 'o', 'm', ' ', 'A', 'l', 'a', 0, 0, 0, 0, 0, 0,
                                   0x09, 0x43, 0x04, 31, 'T', '-', 'M', 'o', 'b', 'i', 'l', 'e', 0});
    EXPECT_EQ(exchange({1, 0}), expected);
    EXPECT_EQ(sim.statusPolls(), 1u);
}

TEST_F(SimTest, LongTextsAreCutToTheirBytes)
{
    sim.status().text = "ABCDEFGHIJKLMNOP";
    sim.status().operatorName = "OperatorXYZ";
    const Bytes reply = exchange({1, 0});
    ASSERT_EQ(reply.size(), 30u);
    EXPECT_EQ(reply[13], 'L');
    EXPECT_EQ(reply[14], 0);
    // The operator fills 19..27 and stops before the check word.
    EXPECT_EQ(std::string(reply.begin() + 19, reply.begin() + 28), "OperatorX");
    EXPECT_TRUE(qlvsim::frameSealed(reply.data()));
}

TEST_F(SimTest, RequestBitsToggleOutputsAndRecordClipAndSms)
{
    EXPECT_EQ(exchange({1, 0x01}).at(15), 0x04);   // output 1 on, shown in the same reply
    EXPECT_EQ(exchange({1, 0x03}).at(15), 0x08);   // output 1 off, output 2 on
    EXPECT_EQ(exchange(withNumber({1, 0x04}, "*100#")).size(), 30u);
    EXPECT_EQ(exchange(withNumber({1, 0x00}, "*100#")).size(), 30u);  // number without the bit: nothing
    ASSERT_EQ(sim.clipNumbers(), std::vector<std::string>{"*100#"});

    std::string text(160, ' ');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('a' + i % 26);
    for (std::uint8_t chunk = 0; chunk < 7; ++chunk) {
        Bytes payload{4, chunk};
        payload.resize(28, 0);
        const std::size_t size = chunk < 6 ? 26 : 4;
        for (std::size_t i = 0; i < size; ++i)
            payload[2 + i] = static_cast<std::uint8_t>(text[26 * chunk + i]);
        EXPECT_EQ(exchange(payload), sealed(payload)) << "chunk echo " << int(chunk);
    }
    EXPECT_EQ(sim.smsBuffer(), text);
    exchange(withNumber({1, 0x08}, "+48600100200"));
    ASSERT_EQ(sim.smsSent().size(), 1u);
    EXPECT_EQ(sim.smsSent()[0].number, "+48600100200");
    EXPECT_EQ(sim.smsSent()[0].text, text);
    EXPECT_EQ(sim.smsBuffer(), "");
}

TEST_F(SimTest, HeldTextIsFetchedInSevenChunksAndThenForgotten)
{
    std::string text = "Alarm: wejscie 1 aktywne od 12:30, prosze sprawdzic drzwi garazowe. Koniec.";
    text += std::string(160 - text.size(), 'x');
    sim.holdText(text);
    EXPECT_EQ(exchange({1, 0}).at(15) & 0x10, 0x10);
    std::string fetched;
    for (std::uint8_t chunk = 0; chunk < 7; ++chunk) {
        const Bytes reply = exchange({5, chunk});
        ASSERT_EQ(reply.size(), 30u);
        EXPECT_EQ(reply[0], 5);
        EXPECT_EQ(reply[1], chunk);
        fetched.append(reply.begin() + 2, reply.begin() + (chunk < 6 ? 28 : 6));
        if (chunk == 6) {
            EXPECT_EQ(Bytes(reply.begin() + 6, reply.begin() + 28), Bytes(22, 0));
        }
    }
    EXPECT_EQ(fetched, text);
    EXPECT_FALSE(sim.holdingText());
    EXPECT_EQ(exchange({1, 0}).at(15) & 0x10, 0);
}

TEST_F(SimTest, BlocksAreWrittenAndReadBack)
{
    Bytes write{2, 11, 0x83, 0x01};
    write.resize(28, 0);
    for (std::size_t i = 4; i < 20; ++i)
        write[i] = static_cast<std::uint8_t>('0' + i % 10);
    EXPECT_EQ(exchange(write), sealed(write));
    Bytes expected = write;
    expected[0] = 3;
    EXPECT_EQ(exchange({3, 11}), sealed(expected));
    EXPECT_EQ(sim.block(11)[0], 0x83);
}

struct SilentCase {
    const char* name;
    Bytes frame;
    bool breakCheckWord;
};

class NoReply : public SimTest, public ::testing::WithParamInterface<SilentCase> {};

TEST_P(NoReply, ModuleStaysSilent)
{
    Bytes frame = sealed(GetParam().frame);
    if (GetParam().breakCheckWord)
        frame[29] ^= 1;
    ASSERT_TRUE(write(frame));
    time.advanceMs(500);
    EXPECT_EQ(queued(), 0u);
    EXPECT_EQ(sim.framesReceived(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Module, NoReply,
                         ::testing::Values(SilentCase{"BadCheckWord", {1, 0}, true},
                                           SilentCase{"UnknownCommand", {9, 0}, false},
                                           SilentCase{"BlockSixteen", {3, 16}, false},
                                           SilentCase{"WriteBlockSixteen", {2, 16, 1}, false},
                                           SilentCase{"ChunkSeven", {5, 7}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimTest, ReplyFaultsChangeWhatArrives)
{
    sim.faults().wrongByte0 = 1;
    Bytes reply = exchange({1, 0});
    EXPECT_EQ(reply.at(0), 2);
    EXPECT_TRUE(qlvsim::frameSealed(reply.data()));

    sim.faults().badCheckWords = 1;
    reply = exchange({1, 0});
    EXPECT_EQ(reply.at(0), 1);
    EXPECT_FALSE(qlvsim::frameSealed(reply.data()));

    sim.faults().corruptReplies = 1;
    reply = exchange({3, 0});
    ASSERT_EQ(reply.size(), 30u);
    EXPECT_FALSE(qlvsim::frameSealed(reply.data()));

    sim.faults().extraBytes = 1;
    sim.faults().extraByteCount = 3;
    EXPECT_EQ(exchange({3, 0}).size(), 33u);

    sim.faults().missingBytes = 1;
    EXPECT_EQ(exchange({3, 0}).size(), 29u);

    EXPECT_EQ(exchange({3, 0}), sealed({3, 0}));  // every fault used up
}

TEST_F(SimTest, SilentPollsSkipOnlyStatusPolls)
{
    sim.faults().silentPolls = 2;
    EXPECT_TRUE(exchange({1, 0}).empty());
    EXPECT_EQ(exchange({3, 0}).size(), 30u);
    EXPECT_TRUE(exchange({1, 0}).empty());
    EXPECT_EQ(exchange({1, 0}).size(), 30u);
}

TEST(SimSeed, SameSeedSameCorruptionOtherSeedOther)
{
    auto run = [](std::uint32_t seed) {
        qlvsim::VirtualTime time;
        qlvsim::Simulator sim(time);
        sim.setLatencyMs(0);
        sim.setSeed(seed);
        sim.addInterface();
        sim.faults().randomCorruptRate = 0.5;
        void* handle = sim.createFile("QLV30001", 0xC0000000, 0, OPEN_EXISTING, 0x81);
        Bytes all;
        for (int i = 0; i < 40; ++i) {
            const Bytes frame = sealed({3, static_cast<std::uint8_t>(i % 16)});
            DWORD count = 0;
            sim.writeFile(handle, frame.data(), 30, &count);
            time.advanceMs(100);
            Bytes reply(30);
            sim.readFile(handle, reply.data(), 30, &count);
            all.insert(all.end(), reply.begin(), reply.end());
        }
        return all;
    };
    const Bytes a = run(7);
    EXPECT_EQ(a, run(7));
    EXPECT_NE(a, run(8));
}

} // namespace

// A module whose faults come from a scenario's [faults] section, on virtual time without latency.
class ScenarioModule {
public:
    explicit ScenarioModule(const std::string& faults)
    {
        std::string error;
        loaded = qlvsim::loadScenarioText(sim, "[line]\nlatencyMs = 0\n[interface]\n[faults]\n" + faults, &error);
        EXPECT_TRUE(loaded) << error;
        handle = sim.createFile("QLV30001", 0xC0000000, 0, OPEN_EXISTING, 0x81);
        EXPECT_NE(handle, INVALID_HANDLE_VALUE);
    }

    Bytes exchange(Bytes payload)
    {
        payload = sealed(payload);
        DWORD done = 0;
        EXPECT_TRUE(sim.writeFile(handle, payload.data(), 30, &done));
        time.advanceMs(500);
        Bytes reply(64, 0);
        EXPECT_TRUE(sim.readFile(handle, reply.data(), 64, &done));
        reply.resize(done);
        return reply;
    }

    qlvsim::VirtualTime time;
    qlvsim::Simulator sim{time};
    void* handle = nullptr;
    bool loaded = false;
};

struct WrongStoreCase {
    const char* name;
    const char* faults;   // the scenario's [faults] section
    bool firstWrong;      // first write of block 4
    bool secondWrong;     // second write of block 4
    bool block5Wrong;     // a write of block 5 after them
};
class WrongStores : public ::testing::TestWithParam<WrongStoreCase> {};

TEST_P(WrongStores, FlipBitZeroOfDataBytesZeroAndTwoAsConfigured)
{
    ScenarioModule module(GetParam().faults);
    ASSERT_TRUE(module.loaded);
    auto exchange = [&](const Bytes& payload) { return module.exchange(payload); };
    // "Drzwi"; stored wrongly it is "Er{wi": 'D' ^ 1 and 'z' ^ 1.
    const Bytes right = sealed({2, 4, 'D', 'r', 'z', 'w', 'i'});
    const Bytes wrong = sealed({2, 4, 'E', 'r', '{', 'w', 'i'});
    EXPECT_EQ(exchange({2, 4, 'D', 'r', 'z', 'w', 'i'}), GetParam().firstWrong ? wrong : right);
    EXPECT_EQ(exchange({2, 4, 'D', 'r', 'z', 'w', 'i'}), GetParam().secondWrong ? wrong : right);
    EXPECT_EQ(exchange({3, 4}), GetParam().secondWrong ? sealed({3, 4, 'E', 'r', '{', 'w', 'i'})
                                                       : sealed({3, 4, 'D', 'r', 'z', 'w', 'i'}));
    // 'A' ^ 1 is '@'; the byte after it was 0.
    EXPECT_EQ(exchange({2, 5, 'A'}), GetParam().block5Wrong ? sealed({2, 5, '@', 0, 1}) : sealed({2, 5, 'A'}));
}

INSTANTIATE_TEST_SUITE_P(
    Module, WrongStores,
    ::testing::Values(WrongStoreCase{"Once", "wrongStores = 1\n", true, false, false},
                      WrongStoreCase{"Always", "wrongStoresAlways = yes\n", true, true, true},
                      WrongStoreCase{"OnceInBlockFive", "wrongStores = 1\nwrongStoreBlock = 5\n", false, false, true},
                      WrongStoreCase{"AlwaysInBlockFour", "wrongStoresAlways = 1\nwrongStoreBlock = 4\n", true, true,
                                     false}),
    [](const auto& info) { return std::string(info.param.name); });

struct EchoCase {
    const char* name;
    const char* faults;  // the scenario's [faults] section
    bool laterEchoed;    // the second read of block 4
};
class EchoedReads : public ::testing::TestWithParam<EchoCase> {};

TEST_P(EchoedReads, AnswerAReadWithTheBlocksLastWriteAsSent)
{
    ScenarioModule module(GetParam().faults);
    ASSERT_TRUE(module.loaded);
    // Echoed as sent, even where the module stored "Er{wi".
    const Bytes echo = sealed({2, 4, 'D', 'r', 'z', 'w', 'i'});
    const Bytes stored = sealed({3, 4, 'D', 'r', 'z', 'w', 'i'});
    module.exchange({2, 4, 'D', 'r', 'z', 'w', 'i'});
    EXPECT_EQ(module.exchange({3, 5}), sealed({3, 5})) << "a block never written is read as it is";
    EXPECT_EQ(module.exchange({3, 4}), echo);
    EXPECT_EQ(module.exchange({3, 4}), GetParam().laterEchoed ? echo : stored);
}

INSTANTIATE_TEST_SUITE_P(
    Module, EchoedReads,
    ::testing::Values(EchoCase{"Once", "echoedReads = 1\n", false},
                      EchoCase{"Always", "echoedReadsAlways = yes\n", true},
                      EchoCase{"AlwaysOverWrongStores", "echoedReadsAlways = 1\nwrongStoresAlways = 1\n", true}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

// Modules taken off and attached behind the one interface, which stays open throughout.
TEST_F(SimTest, ModulesAreSwappedBehindTheOpenInterface)
{
    sim.block(0)[0] = 'A';
    sim.takeModuleOff();
    EXPECT_FALSE(sim.moduleAttached());
    EXPECT_EQ(exchange({1, 0}), Bytes{}) << "no module, no reply";
    EXPECT_EQ(exchange({3, 0}), Bytes{});

    sim.putModuleBack();
    EXPECT_EQ(exchange({3, 0}), sealed({3, 0, 'A'})) << "the same module, as it was";

    qlvsim::Module other;
    other.status.text = "Brama";
    other.memory[0][0] = 'B';
    other.storesWrongly = true;
    sim.takeModuleOff();
    sim.attachModule(other);
    EXPECT_EQ(exchange({1, 0}).at(2), 'B');
    EXPECT_EQ(exchange({3, 0}), sealed({3, 0, 'B'}));
    // It stores the flip of data bytes 0 and 2 (frame bytes 2 and 4), whatever the interface's faults.
    EXPECT_EQ(exchange({2, 0, 'C', 0, 'D'}), sealed({2, 0, 'B', 0, 'E'}));
    EXPECT_TRUE(sim.isOpen());
}

} // namespace
