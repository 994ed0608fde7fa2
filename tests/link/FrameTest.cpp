#include "link/Frame.h"

#include <gtest/gtest.h>

namespace {

struct CheckWordCase {
    const char* name;
    std::vector<std::pair<std::size_t, std::uint8_t>> bytes;
    std::uint8_t even;
    std::uint8_t odd;
};

class CheckWord : public ::testing::TestWithParam<CheckWordCase> {};

TEST_P(CheckWord, IsXorOfEvenAndOddPayloadBytes)
{
    kes::Frame frame{};
    frame.fill(0);
    for (auto [index, value] : GetParam().bytes)
        frame[index] = value;
    frame[28] = 0xAA;  // overwritten
    frame[29] = 0x55;
    kes::setCheckWord(frame);
    EXPECT_EQ(frame[28], GetParam().even);
    EXPECT_EQ(frame[29], GetParam().odd);
    EXPECT_TRUE(kes::hasGoodCheckWord(frame));
}

INSTANTIATE_TEST_SUITE_P(
    Frames, CheckWord,
    ::testing::Values(CheckWordCase{"AllZero", {}, 0x00, 0x00},
                      CheckWordCase{"FirstByteOne", {{0, 1}}, 0x01, 0x00},
                      CheckWordCase{"LastPayloadByte", {{27, 0x80}}, 0x00, 0x80},
                      CheckWordCase{"EvenBytesCancel", {{0, 0x5A}, {26, 0x5A}}, 0x00, 0x00},
                      CheckWordCase{"Mixed", {{0, 0x01}, {1, 0x02}, {2, 0x04}, {3, 0x08}, {25, 0xF0}}, 0x05, 0xFA},
                      CheckWordCase{"StatusPoll", {{0, 1}, {1, 0x04}, {2, '1'}}, 0x30, 0x04}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CheckWordRejects, AnySingleChangedByte)
{
    kes::Frame frame{};
    for (std::size_t i = 0; i < 28; ++i)
        frame[i] = static_cast<std::uint8_t>(i * 7 + 3);
    kes::setCheckWord(frame);
    for (std::size_t i = 0; i < kes::frameSize; ++i) {
        kes::Frame changed = frame;
        changed[i] ^= 0x10;
        EXPECT_FALSE(kes::hasGoodCheckWord(changed)) << "byte " << i;
    }
}

} // namespace
