#include "storage/Utf8Codecvt.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>
#include <windows.h>

namespace {

using Codecvt = std::codecvt<wchar_t, char, std::mbstate_t>;
using Result = std::codecvt_base::result;

const Codecvt& facetOf(const std::locale& loc) { return std::use_facet<Codecvt>(loc); }

// A reference encoder of our own, so the facet is not checked against the platform call it uses.
std::string referenceUtf8(const std::wstring& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned long c = static_cast<unsigned short>(text[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<unsigned short>(text[++i]) - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Where two long sequences part, instead of printing them whole.
template <class Text>
std::string firstDifference(const Text& expected, const Text& actual)
{
    std::size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i])
        ++i;
    if (i == expected.size() && i == actual.size())
        return "equal";
    return "sizes " + std::to_string(expected.size()) + "/" + std::to_string(actual.size()) + ", first difference at " +
           std::to_string(i);
}

const char* name(Result r)
{
    switch (r) {
    case std::codecvt_base::ok: return "ok";
    case std::codecvt_base::partial: return "partial";
    case std::codecvt_base::error: return "error";
    case std::codecvt_base::noconv: return "noconv";
    }
    return "?";
}

struct InCase {
    const char* label;
    std::string bytes;
    std::size_t room;
    Result result;
    std::size_t consumed;
    std::wstring produced;
};

void convertsAndReportsLikeTheTable(const InCase& param)
{
    const InCase& c = param;
    const std::locale loc = kes::utf8Locale();
    std::mbstate_t state{};
    std::vector<wchar_t> out(c.room + 1, L'#');
    const char* fromNext = nullptr;
    wchar_t* toNext = nullptr;
    const Result r = facetOf(loc).in(state, c.bytes.data(), c.bytes.data() + c.bytes.size(), fromNext, out.data(),
                                     out.data() + c.room, toNext);
    EXPECT_STREQ(name(c.result), name(r));
    EXPECT_EQ(c.consumed, static_cast<std::size_t>(fromNext - c.bytes.data()));
    EXPECT_EQ(c.produced, std::wstring(out.data(), toNext));
    EXPECT_EQ(L'#', out[c.room]) << "wrote past the room given";
}

const InCase kCodecvtInTableCases[] = {
        InCase{"empty", "", 4, std::codecvt_base::ok, 0, L""},
    InCase{"ascii", "INPUT-1", 16, std::codecvt_base::ok, 7, L"INPUT-1"},
    InCase{"polish_l", "\xC5\x82", 4, std::codecvt_base::ok, 2, L"ł"},
    InCase{"mixed_polish", "\xC5\xBC\xC3\xB3\xC5\x82w", 8, std::codecvt_base::ok, 7, L"żółw"},
    InCase{"three_byte_euro", "\xE2\x82\xAC", 2, std::codecvt_base::ok, 3, L"€"},
    InCase{"four_byte_is_a_pair", "\xF0\x9F\x98\x80", 2, std::codecvt_base::ok, 4, L"\xD83D\xDE00"},
    InCase{"continuation_first", "\x80" "A", 4, std::codecvt_base::error, 0, L""},
    InCase{"f8_first", "\xF8" "A", 4, std::codecvt_base::error, 0, L""},
    InCase{"ff_first", "\xFF", 4, std::codecvt_base::error, 0, L""},
    InCase{"lead_alone", "\xC5", 4, std::codecvt_base::partial, 0, L""},
    InCase{"three_byte_cut", "\xE2\x82", 4, std::codecvt_base::partial, 0, L""},
    InCase{"cut_after_text", "AB\xC5", 4, std::codecvt_base::partial, 2, L"AB"},
    InCase{"bad_inside", "AB\xC3(CD", 8, std::codecvt_base::partial, 2, L"AB"},
    InCase{"bad_first_sequence", "\xC3(", 4, std::codecvt_base::partial, 0, L""},
    InCase{"room_too_small", "ABC", 2, std::codecvt_base::partial, 2, L"AB"},
    InCase{"room_too_small_for_pair", "\xF0\x9F\x98\x80", 1, std::codecvt_base::partial, 0, L""},
    InCase{"no_room", "A", 0, std::codecvt_base::partial, 0, L""},
    InCase{"stream_end_character_first", "\xEF\xBF\xBF" "A", 4, std::codecvt_base::error, 0, L""},
    InCase{"stream_end_character_later", "AB\xEF\xBF\xBF" "C", 8, std::codecvt_base::partial, 2, L"AB"},
    InCase{"stream_end_character_after_cut", "AB\xEF\xBF\xBF" "C\xC5", 8, std::codecvt_base::partial, 2, L"AB"},
    InCase{"markers", "\x03\x02" "0\x02\x03", 8, std::codecvt_base::ok, 5, L"\x0003\x0002" L"0\x0002\x0003"}};

TEST(CodecvtIn, ConvertsAndReportsLikeTheTable)
{
    for (const InCase& param : kCodecvtInTableCases) {
        SCOPED_TRACE(param.label);
        convertsAndReportsLikeTheTable(param);
    }
}

struct OutCase {
    const char* label;
    std::wstring text;
    std::size_t room;
    Result result;
    std::size_t consumed;
    std::string produced;
};

void convertsAndReportsLikeTheTable(const OutCase& param)
{
    const OutCase& c = param;
    const std::locale loc = kes::utf8Locale();
    std::mbstate_t state{};
    std::string out(c.room + 1, '#');
    const wchar_t* fromNext = nullptr;
    char* toNext = nullptr;
    const Result r = facetOf(loc).out(state, c.text.data(), c.text.data() + c.text.size(), fromNext, &out[0],
                                      &out[0] + c.room, toNext);
    EXPECT_STREQ(name(c.result), name(r));
    EXPECT_EQ(c.consumed, static_cast<std::size_t>(fromNext - c.text.data()));
    EXPECT_EQ(c.produced, std::string(&out[0], toNext));
    EXPECT_EQ('#', out[c.room]) << "wrote past the room given";
}

const OutCase kCodecvtOutTableCases[] = {
        OutCase{"empty", L"", 4, std::codecvt_base::ok, 0, ""},
    OutCase{"ascii", L"OUT-1", 8, std::codecvt_base::ok, 5, "OUT-1"},
    OutCase{"polish_l", L"ł", 2, std::codecvt_base::ok, 1, "\xC5\x82"},
    OutCase{"single_byte_room_ascii", L"A", 1, std::codecvt_base::ok, 1, "A"},
    OutCase{"single_byte_room_more", L"AB", 1, std::codecvt_base::partial, 1, "A"},
    OutCase{"single_byte_room_polish", L"ł", 1, std::codecvt_base::partial, 0, ""},
    OutCase{"room_cuts_before_sequence", L"Ał", 2, std::codecvt_base::partial, 1, "A"},
    OutCase{"euro", L"€", 3, std::codecvt_base::ok, 1, "\xE2\x82\xAC"},
    OutCase{"pair", L"\xD83D\xDE00", 4, std::codecvt_base::ok, 2, "\xF0\x9F\x98\x80"},
    OutCase{"pair_room_three", L"\xD83D\xDE00", 3, std::codecvt_base::partial, 0, ""},
    OutCase{"high_surrogate_kept_in_state", L"A\xD83D", 8, std::codecvt_base::ok, 2, "A"},
    OutCase{"high_surrogate_alone", L"\xD83D", 8, std::codecvt_base::ok, 1, ""},
    OutCase{"no_room", L"A", 0, std::codecvt_base::partial, 0, ""},
    OutCase{"markers", L"\x0003\x0002" L"1\x0002", 8, std::codecvt_base::ok, 4, "\x03\x02" "1\x02"}};

TEST(CodecvtOut, ConvertsAndReportsLikeTheTable)
{
    for (const OutCase& param : kCodecvtOutTableCases) {
        SCOPED_TRACE(param.label);
        convertsAndReportsLikeTheTable(param);
    }
}

TEST(CodecvtOutState, APairSplitBetweenTwoCallsIsWrittenWhole)
{
    const std::locale loc = kes::utf8Locale();
    const Codecvt& f = facetOf(loc);
    std::mbstate_t state{};
    const std::wstring first = L"a\xD83D";
    const std::wstring second = L"\xDE00" L"b";
    char out[16] = {};
    const wchar_t* fromNext = nullptr;
    char* toNext = nullptr;
    ASSERT_EQ(std::codecvt_base::ok, f.out(state, first.data(), first.data() + 2, fromNext, out, out + 16, toNext));
    char* mid = toNext;
    ASSERT_EQ(std::codecvt_base::ok, f.out(state, second.data(), second.data() + 2, fromNext, mid, out + 16, toNext));
    EXPECT_EQ(std::string("a\xF0\x9F\x98\x80" "b"), std::string(out, toNext));
    char* end = nullptr;
    EXPECT_EQ(std::codecvt_base::ok, f.unshift(state, toNext, out + 16, end));
    EXPECT_EQ(toNext, end) << "nothing is pending after a complete pair";
}

TEST(CodecvtOutState, AFirstHalfThatNeverMeetsItsSecondBecomesTheReplacementCharacter)
{
    const std::locale loc = kes::utf8Locale();
    const Codecvt& f = facetOf(loc);
    for (const bool unshiftFirst : {true, false}) {
        std::mbstate_t state{};
        const std::wstring high = L"\xD83D";
        const std::wstring next = L"x";
        char out[16] = {};
        const wchar_t* fromNext = nullptr;
        char* toNext = nullptr;
        ASSERT_EQ(std::codecvt_base::ok, f.out(state, high.data(), high.data() + 1, fromNext, out, out + 16, toNext));
        char* end = toNext;
        if (unshiftFirst) {
            ASSERT_EQ(std::codecvt_base::ok, f.unshift(state, toNext, out + 16, end));
            EXPECT_EQ(std::string("\xEF\xBF\xBD"), std::string(out, end));
        } else {
            ASSERT_EQ(std::codecvt_base::ok, f.out(state, next.data(), next.data() + 1, fromNext, toNext, out + 16, end));
            EXPECT_EQ(std::string("\xEF\xBF\xBD" "x"), std::string(out, end));
        }
    }
}

struct LengthCase {
    const char* label;
    std::string bytes;
    std::size_t max;
    int length;
};

void countsWholeSequencesWithinLimits(const LengthCase& param)
{
    const LengthCase& c = param;
    const std::locale loc = kes::utf8Locale();
    std::mbstate_t state{};
    EXPECT_EQ(c.length, facetOf(loc).length(state, c.bytes.data(), c.bytes.data() + c.bytes.size(), c.max));
}

const LengthCase kCodecvtLengthTableCases[] = {
    LengthCase{"limited_by_max", "abc", 2, 2},
    LengthCase{"limited_by_end", "abc", 10, 3},
    LengthCase{"two_byte", "\xC5\x82", 1, 2},
    LengthCase{"two_byte_after_ascii", "a\xC5\x82", 1, 1},
    LengthCase{"pair_needs_two", "\xF0\x9F\x98\x80", 1, 0},
    LengthCase{"pair_fits", "\xF0\x9F\x98\x80", 2, 4},
    LengthCase{"cut_sequence", "a\xC5", 5, 1},
    LengthCase{"not_a_lead", "a\x80" "b", 5, 1},
    LengthCase{"zero_max", "abc", 0, 0}};

TEST(CodecvtLength, CountsWholeSequencesWithinLimits)
{
    for (const LengthCase& param : kCodecvtLengthTableCases) {
        SCOPED_TRACE(param.label);
        countsWholeSequencesWithinLimits(param);
    }
}

TEST(Codecvt, DescribesItselfAsVariableLengthConversion)
{
    const std::locale loc = kes::utf8Locale();
    const Codecvt& f = facetOf(loc);
    EXPECT_NE(nullptr, dynamic_cast<const kes::codecvt_utf8<wchar_t>*>(&f));
    EXPECT_FALSE(f.always_noconv());
    EXPECT_EQ(4, f.max_length());
    EXPECT_EQ(0, f.encoding());
    std::mbstate_t state{};
    char buf[4] = {'#', '#', '#', '#'};
    char* next = nullptr;
    EXPECT_EQ(std::codecvt_base::ok, f.unshift(state, buf, buf + 4, next));
    EXPECT_EQ(buf, next);
    EXPECT_EQ('#', buf[0]);
}

TEST(Codecvt, LeadByteTableCoversEveryByte)
{
    for (int b = 0; b < 256; ++b) {
        const int expected = b <= 0x7F ? 1 : b <= 0xBF ? 0 : b <= 0xDF ? 2 : b <= 0xEF ? 3 : b <= 0xF7 ? 4 : 0;
        EXPECT_EQ(expected, kes::codecvt_utf8<wchar_t>::sequenceLength(static_cast<unsigned char>(b))) << b;
    }
}

struct EncodeCase {
    const char* label;
    std::wstring text;
    std::string bytes;
};

void givesTheStandardBytes(const EncodeCase& param)
{
    std::string bytes = "left over";
    ASSERT_TRUE(kes::encodeUtf8(param.text, bytes));
    EXPECT_EQ(param.bytes, bytes);
}

const EncodeCase kEncodeUtf8TableCases[] = {
    EncodeCase{"empty", L"", ""},
    EncodeCase{"signature", L"\xFEFF", "\xEF\xBB\xBF"},
    EncodeCase{"polish", L"Łódź", "\xC5\x81\xC3\xB3" "d\xC5\xBA"},
    EncodeCase{"pair", L"a\xD83D\xDE00z", "a\xF0\x9F\x98\x80z"},
    EncodeCase{"trailing_lone_high_surrogate", L"ab\xD83D", "ab\xEF\xBF\xBD"}};

TEST(EncodeUtf8, GivesTheStandardBytes)
{
    for (const EncodeCase& param : kEncodeUtf8TableCases) {
        SCOPED_TRACE(param.label);
        givesTheStandardBytes(param);
    }
}

// Text long enough to cross the file buffers many times, with sequences of every length
// (and pairs) landing on every buffer boundary.
std::wstring mixedText(std::size_t units, unsigned seed)
{
    const std::wstring pieces[] = {L"a", L"Z", L"0", L"ł", L"Ż", L"€", L"\xD83D\xDE00", L"\x0002", L"\x0003", L" "};
    std::mt19937 rng(seed);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::wstring text;
    while (text.size() < units)
        text += pieces[pick(rng)];
    return text;
}

std::wstring tempPath(const wchar_t* name)
{
    wchar_t dir[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

std::string readBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CodecvtStreams, WideFileStreamsWriteStandardBytesAndReadThemBack)
{
    const std::wstring path = tempPath(L"quellmo-codecvt-roundtrip.txt");
    for (unsigned seed = 1; seed <= 5; ++seed) {
        const std::wstring text = mixedText(20000, seed);
        {
            std::wofstream out;
            out.imbue(kes::utf8Locale());
            out.open(path.c_str(), std::ios::out | std::ios::binary | std::ios::trunc);
            ASSERT_TRUE(out.is_open());
            out << text;
            out.close();
            ASSERT_FALSE(out.fail());
        }
        EXPECT_EQ("equal", firstDifference(referenceUtf8(text), readBytes(path))) << "seed " << seed;

        std::wifstream in;
        in.imbue(kes::utf8Locale());
        in.open(path.c_str(), std::ios::in | std::ios::binary);
        std::wstring back((std::istreambuf_iterator<wchar_t>(in)), std::istreambuf_iterator<wchar_t>());
        EXPECT_EQ("equal", firstDifference(text, back)) << "seed " << seed;
    }
    DeleteFileW(path.c_str());
}

TEST(CodecvtStreams, ReadingStopsAtAMalformedSequenceAfterDeliveringWhatPrecedesIt)
{
    const std::wstring path = tempPath(L"quellmo-codecvt-bad.txt");
    const std::wstring good = mixedText(3000, 7);
    for (const std::string& bad : {std::string("\xC3("), std::string("\x80"), std::string("\xFF\xFE"), std::string("\xE2\x82")}) {
        {
            std::ofstream raw(path.c_str(), std::ios::binary | std::ios::trunc);
            raw << referenceUtf8(good) << bad << "tail";
        }
        std::wifstream in;
        in.imbue(kes::utf8Locale());
        in.open(path.c_str(), std::ios::in | std::ios::binary);
        std::wstring back;
        for (auto c = in.get(); in; c = in.get())
            back += static_cast<wchar_t>(c);
        EXPECT_EQ("equal", firstDifference(good, back));
        EXPECT_TRUE(in.fail());
    }
    DeleteFileW(path.c_str());
}

} // namespace
