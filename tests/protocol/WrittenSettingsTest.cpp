// Which bits of a written block a read-back must give back unchanged.
#include "protocol/ConfigRecords.h"

#include "FrameText.h"

#include <gtest/gtest.h>

using namespace kes;
using testing_frames::frameFromHex;
using testing_frames::hexOf;

namespace {

// A block 0 message: code WKTR, PIN 4821, both channels set, times 99999 s, 5 s, 1 s, 12 s.
constexpr char inputsBlock[] = "02 00 57 4B 54 52 34 38 32 31 6F 36 42 0F 32 00 00 B6 0A 00 00 78 00 00";
constexpr char alarmsBlock[] = "02 01 1F 78 CE 1F 32 00 00 01 7D 64";
constexpr char textBlock[] = "02 02 41 42";                 // "AB"
constexpr char userBlock[] = "02 0C 83 01 36 30 30 00 00 00 00 00 00 00 00 00 00 00 00 00 18 00 00 03 00";

struct MaskCase {
    const char* name;
    const char* written;
    const char* mask;
};
class MeaningfulBits : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MeaningfulBits, FieldsOnlyNotMarkersPaddingOrUnusedBytes)
{
    EXPECT_EQ(hexOf(meaningfulBits(frameFromHex(GetParam().written))), hexOf(frameFromHex(GetParam().mask)));
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, MeaningfulBits,
    ::testing::Values(
        MaskCase{"Inputs", inputsBlock,
                 "00 00 FF FF FF FF FF FF FF FF FB FF FF FF FF FF FF FB FF FF FF FF FF FF 00 00 00 00"},
        // Short code, empty PIN: each text ends at its zero byte.
        MaskCase{"InputsShortCodeEmptyPin", "02 00 41 42 00 00 00 00 00 00 04 00 00 00 00 00 00 04",
                 "00 00 FF FF FF 00 FF 00 00 00 FB FF FF FF FF FF FF FB FF FF FF FF FF FF 00 00 00 00"},
        MaskCase{"Alarms", alarmsBlock, "00 00 1B FF FF 1D FF FF FF 01 FF FF"},
        MaskCase{"Text", textBlock, "00 00 FF FF FF"},
        MaskCase{"EmptyText", "02 0A", "00 00 FF"},
        MaskCase{"User", userBlock,
                 "00 00 FF 01 FF FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00 FF FF FF FF FF 00 00 00"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReplyCase {
    const char* name;
    const char* written;
    std::size_t offset;
    std::uint8_t flip;
    bool holds;
};
class ReadBack : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReadBack, DiffersOnlyWhereTheLayoutHasAField)
{
    const ReplyCase c = GetParam();
    const Frame written = frameFromHex(c.written);
    Frame reply = written;
    reply[0] = 0x03;  // the answer to a read of the block
    reply[c.offset] ^= c.flip;
    EXPECT_EQ(holdsWrittenSettings(written, reply), c.holds);
}

INSTANTIATE_TEST_SUITE_P(
    Flips, ReadBack,
    ::testing::Values(ReplyCase{"SameData", inputsBlock, 0, 0x00, true},
                      ReplyCase{"AnswerForAnotherBlock", inputsBlock, 1, 0x08, false},
                      ReplyCase{"EchoOfTheWrite", inputsBlock, 0, 0x01, false},
                      ReplyCase{"ChannelMarker", inputsBlock, 17, 0x04, true},
                      ReplyCase{"ChannelEnabled", inputsBlock, 17, 0x08, false},
                      ReplyCase{"OutputTimeHighByte", inputsBlock, 23, 0x80, false},
                      ReplyCase{"UnusedByte", inputsBlock, 24, 0xFF, true},
                      ReplyCase{"TempMarker", alarmsBlock, 2, 0x04, true},
                      ReplyCase{"TempMin", alarmsBlock, 4, 0x01, false},
                      ReplyCase{"PowerOtherBits", alarmsBlock, 9, 0xFE, true},
                      ReplyCase{"TextCharacter", textBlock, 3, 0x01, false},
                      ReplyCase{"TextZeroByte", textBlock, 4, 0x20, false},
                      ReplyCase{"AfterTextZeroByte", textBlock, 5, 0x20, true},
                      ReplyCase{"UserMode", userBlock, 2, 0x01, false},
                      ReplyCase{"UserSpareBits", userBlock, 3, 0xFE, true},
                      ReplyCase{"AfterPhoneZeroByte", userBlock, 8, 0x31, true},
                      ReplyCase{"HoursTenths", userBlock, 24, 0x01, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
