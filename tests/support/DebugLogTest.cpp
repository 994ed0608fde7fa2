#include "support/DebugLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> captured;
void capture(const wchar_t* line) { captured.emplace_back(line); }

class DebugLogTest : public ::testing::Test {
protected:
    void SetUp() override { captured.clear(); previous_ = kes::setDebugLogSink(capture); }
    void TearDown() override { kes::setDebugLogSink(previous_); }
    kes::DebugLogSink previous_ = nullptr;
};

TEST_F(DebugLogTest, EachLineFeedSendsOneLine)
{
    {
        kes::debuglog_stream log;
        log << L"a\nb\n";
        EXPECT_EQ(captured, (std::vector<std::wstring>{L"a\n", L"b\n"}));
    }
    EXPECT_EQ(captured.size(), 2u);
}

TEST_F(DebugLogTest, UnfinishedLineIsSentWhenTheStreamDies)
{
    {
        kes::debuglog_stream log;
        log << L"abc";
        EXPECT_TRUE(captured.empty());
    }
    EXPECT_EQ(captured, (std::vector<std::wstring>{L"abc"}));
}

TEST_F(DebugLogTest, EmptyStreamSendsNothing)
{
    { kes::debuglog_stream log; }
    EXPECT_TRUE(captured.empty());
}

TEST_F(DebugLogTest, PolishTextAndNumbersArriveWhole)
{
    {
        kes::debuglog_stream log;
        log << L"Błąd: FT_W32_WriteFile " << 5 << L'\n' << std::flush;
    }
    EXPECT_EQ(captured, (std::vector<std::wstring>{L"Błąd: FT_W32_WriteFile 5\n"}));
}

TEST_F(DebugLogTest, FlushWithoutLineFeedSendsPartialLine)
{
    kes::debuglog_stream log;
    log << L"x" << std::flush;
    log << L"y\n";
    EXPECT_EQ(captured, (std::vector<std::wstring>{L"x", L"y\n"}));
}

} // namespace

#include "support/DebugLogRing.h"

namespace {

TEST_F(DebugLogTest, RingKeepsTheLastFiftyLinesWithoutTheirLineFeeds)
{
    kes::DebugLogRing& ring = kes::debugLogRing();
    ring.clear();
    for (int i = 1; i <= 60; ++i) {
        kes::debuglog_stream log;
        log << L"Błąd: nr " << i << L"\n";
    }
    const std::vector<std::wstring> lines = ring.lines();
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ(lines.front(), L"Błąd: nr 11");
    EXPECT_EQ(lines.back(), L"Błąd: nr 60");
    EXPECT_EQ(captured.size(), 60u) << "the debugger output still gets every line";
}

} // namespace
