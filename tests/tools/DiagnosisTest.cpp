// The connection diagnostics' reasons, the poll's counters and history, and the record of the
// last programming job, on the simulator.
#include "CaseName.h"
#include "protocol/ProtocolFixture.h"
#include "protocol/SampleConfiguration.h"

#include "model/Catalogue.h"
#include "model/SettingsView.h"
#include "tools/LinkDiagnosis.h"
#include "tools/ModuleTrust.h"
#include "tools/ProgrammingRecord.h"
#include "protocol/StatusHistory.h"
#include "support/DebugLogRing.h"

#include <functional>
#include <string>
#include <vector>

using namespace kes;
using namespace protocol_tests;

namespace {

struct ReasonCase {
    const char* name;
    std::function<void(harness::SimHarness&)> arrange;  // before the program's ticks
    int ticks;                                         // ticks after arranging
    LinkCondition condition;
    const wchar_t* text;
};

class DiagnosisReason : public ProtocolTest, public ::testing::WithParamInterface<ReasonCase> {};

TEST_P(DiagnosisReason, NamesWhatStandsInTheWay)
{
    const ReasonCase& c = GetParam();
    c.arrange(h);
    for (int i = 0; i < c.ticks; ++i)
        tickOnce();
    const LinkDiagnosis d = diagnoseLink(usbLink);
    EXPECT_EQ(d.condition, c.condition);
    EXPECT_EQ(conditionText(d.condition), c.text);
    EXPECT_NE(summaryText(d).find(std::wstring(L"Stan połączenia: ") + c.text + L"\r\n"), std::wstring::npos)
        << summaryText(d);
}

INSTANTIATE_TEST_SUITE_P(
    Simulator, DiagnosisReason,
    ::testing::Values(
        ReasonCase{"NoInterface", [](harness::SimHarness& h) { h.sim.unplug(); }, 2, LinkCondition::NoInterface,
                   L"Nie znaleziono interfejsu QLV-3 USB – podłącz go do portu USB komputera"},
        ReasonCase{"HeldElsewhere", [](harness::SimHarness& h) { h.sim.interfaceInfo(0).openElsewhere = true; }, 2,
                   LinkCondition::HeldElsewhere,
                   L"Interfejs QLV-3 USB jest zajęty przez inny program – zamknij ten program"},
        ReasonCase{"Settling", [](harness::SimHarness&) {}, 2, LinkCondition::Settling,
                   L"Interfejs QLV-3 USB otwarty – trwa przygotowanie połączenia (7 s)"},
        ReasonCase{"SilentModule", [](harness::SimHarness& h) { h.sim.faults().silentPolls = 1000; }, 20,
                   LinkCondition::ModuleSilent,
                   L"Interfejs QLV-3 USB otwarty, ale moduł nie odpowiada – sprawdź przewód i zasilanie modułu"},
        ReasonCase{"Answering", [](harness::SimHarness&) {}, 20, LinkCondition::Answering, L"Moduł odpowiada"},
        ReasonCase{"RecoveringAfterBadReplies",
                   [](harness::SimHarness& h) { h.sim.atFrame(25, [&h] { h.sim.faults().badCheckWords = 1000; }); },
                   28, LinkCondition::Recovering, L"Połączenie z modułem zawodzi – trwa odzyskiwanie (do 10 s)"}),
    [](const ::testing::TestParamInfo<ReasonCase>& info) { return std::string(info.param.name); });

TEST_F(ProtocolTest, DiagnosisWithoutTheLibrary)
{
    UsbLink bare{D2xxApi(), h.clock};
    const LinkDiagnosis d = diagnoseLink(bare);
    EXPECT_FALSE(d.libraryFound);
    EXPECT_EQ(d.condition, LinkCondition::NoLibrary);
    EXPECT_EQ(summaryText(d).substr(0, 39), L"Biblioteka FTD2XX.dll: nie znaleziona\r\n");
    EXPECT_NE(summaryText(d).find(L"Stan połączenia: Brak biblioteki FTD2XX.dll – zainstaluj sterownik QLV-3 USB\r\n"),
              std::wstring::npos);
}

TEST_F(ProtocolTest, DiagnosisListsEveryInterfaceAndTheOneInUse)
{
    qlvsim::InterfaceInfo other;
    other.description = "USB Serial Converter";
    other.serial = "FT0001";
    h.sim.addInterface(other);
    qlvsim::InterfaceInfo busy;
    busy.serial = "QLV30002";
    busy.openElsewhere = true;
    h.sim.addInterface(busy);
    ASSERT_TRUE(connect());
    const std::wstring text = summaryText(diagnoseLink(usbLink));
    EXPECT_NE(text.find(L"Podłączone interfejsy:\r\n"
                        L"  Quorvaltenique USB, nr seryjny QLV30001 – używany przez program\r\n"
                        L"  USB Serial Converter, nr seryjny FT0001 – inne urządzenie\r\n"
                        L"  Quorvaltenique USB, nr seryjny QLV30002 – zajęty przez inny program\r\n"),
              std::wstring::npos)
        << text;
    EXPECT_NE(text.find(L"  Wersja: 2.12.28\r\n"), std::wstring::npos);
}

TEST_F(ProtocolTest, PollFaultsShowInTheCountersAndTheLog)
{
    ASSERT_TRUE(connect());
    debugLogRing().clear();
    h.sim.faults().badCheckWords = 1;
    EXPECT_EQ(pollStatus(), PollResult::BadReply);
    h.sim.faults().silentPolls = 1;
    EXPECT_EQ(pollStatus(), PollResult::NoReply);
    EXPECT_EQ(pollStatus(), PollResult::Good);
    h.sim.unplug();
    EXPECT_EQ(pollStatus(), PollResult::NoInterface);
    EXPECT_TRUE(usbLink.recover());
    h.advanceMs(500);
    EXPECT_TRUE(usbLink.recover());

    const LinkDiagnosis d = diagnoseLink(usbLink);
    EXPECT_EQ(d.counters.exchanges, 3u);
    EXPECT_EQ(d.counters.badCheckWords, 1u);
    EXPECT_EQ(d.counters.timeouts, 1u);
    EXPECT_EQ(d.counters.unplugs, 1u);
    const std::wstring text = diagnosisText(d);
    EXPECT_NE(text.find(L"  wymiany ramek: 3\r\n  powtórzone próby: 0\r\n  błędne sumy kontrolne: 1\r\n"
                        L"  przekroczenia czasu: 1\r\n  odłączenia interfejsu: 1\r\n  odzyskania połączenia: 0\r\n"
                        L"Dziennik łącza (ostatnie wiersze):\r\nInstrukcja odzyskaj 0 (\u00D72)\r\n"),
              std::wstring::npos)
        << text;
    EXPECT_NE(text.find(L"Błąd: nr 5\r\n"), std::wstring::npos);
}

struct CollapseCase {
    const char* name;
    std::vector<std::wstring> lines;
    std::vector<std::wstring> shown;
};

class LogCollapse : public ::testing::TestWithParam<CollapseCase> {};

TEST_P(LogCollapse, ShowsARunOfOneLineOnceWithItsCount)
{
    EXPECT_EQ(collapseRepeatedLines(GetParam().lines), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LogCollapse,
    ::testing::Values(
        CollapseCase{"nothing", {}, {}},
        CollapseCase{"no repeats", {L"Błąd: nr 5", L"Błąd: nr 4"}, {L"Błąd: nr 5", L"Błąd: nr 4"}},
        CollapseCase{"a run between other lines",
                     {L"Błąd: nr 5", L"Instrukcja odzyskaj 0", L"Instrukcja odzyskaj 0", L"Instrukcja odzyskaj 0",
                      L"Powodzenie FT_W32_GetCommState"},
                     {L"Błąd: nr 5", L"Instrukcja odzyskaj 0 (\u00D73)", L"Powodzenie FT_W32_GetCommState"}},
        CollapseCase{"a run at the end counted past nine",
                     std::vector<std::wstring>(14, L"Instrukcja odzyskaj 0"),
                     {L"Instrukcja odzyskaj 0 (\u00D714)"}},
        CollapseCase{"the same line again after another is a new run",
                     {L"Zamykanie uchwytu", L"Zamykanie uchwytu", L"Błąd: nr 4", L"Zamykanie uchwytu"},
                     {L"Zamykanie uchwytu (\u00D72)", L"Błąd: nr 4", L"Zamykanie uchwytu"}}),
    casename::ByName());

TEST_F(ProtocolTest, GoodPollsFeedTheHistoryOnTheLinkClock)
{
    statusHistory.clear();
    ASSERT_TRUE(connect());
    EXPECT_EQ(pollStatus(), PollResult::Good);
    const double firstAt = h.nowMs() / 1000.0;
    h.advanceMs(500);
    h.sim.faults().silentPolls = 1;
    EXPECT_EQ(pollStatus(), PollResult::NoReply);
    h.sim.status().signal = 31;
    h.advanceMs(500);
    EXPECT_EQ(pollStatus(), PollResult::Good);
    const double secondAt = h.nowMs() / 1000.0;
    const std::vector<StatusSample> samples = statusHistory.samples();
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0].signalLevel, 20);
    EXPECT_EQ(samples[0].supplyVolts, 13);
    EXPECT_EQ(samples[0].temperature, 22);
    EXPECT_EQ(samples[1].signalLevel, 31);
    EXPECT_NEAR(samples[0].seconds, firstAt, 0.001);
    EXPECT_NEAR(samples[1].seconds, secondAt, 0.001);
}

TEST(StatusHistoryBound, KeepsFifteenMinutesAndNeverMoreThanItsCap)
{
    StatusHistory history;
    for (int i = 0; i < 2 * 60 * 20; ++i)  // 20 minutes at two samples a second
        history.add({i * 0.5, 20, 13, 22});
    const std::vector<StatusSample> samples = history.samples();
    EXPECT_EQ(samples.back().seconds, 1199.5);
    EXPECT_EQ(samples.front().seconds, 1199.5 - 900.0);
    for (int i = 0; i < 5000; ++i)  // a burst on one instant
        history.add({2000.0, 1, 1, 1});
    EXPECT_EQ(history.size(), StatusHistory::maxSamples);
}

class ProgrammingRecordTest : public ProtocolTest {
protected:
    void SetUp() override
    {
        ProtocolTest::SetUp();
        followModuleJobs();
    }
    void TearDown() override
    {
        stopFollowingModuleJobs();
        ProtocolTest::TearDown();
    }
};

TEST_F(ProgrammingRecordTest, SuccessIsRecordedWithTheInterfaceAndLaterEditsAreSeen)
{
    lastProgramming = ProgrammingRecord();
    ASSERT_TRUE(connect());
    applySampleConfiguration();
    EXPECT_EQ(programmedState("QLV30001", windowSettings()), ProgrammedState::Never);
    h.sim.faults().silentFrames = 3;  // the first block fails: no record
    startProgramming();
    tickOnce();
    ASSERT_FALSE(programmingPending());
    EXPECT_FALSE(lastProgramming.done);

    startProgramming();
    for (int t = 0; t < 17 && programmingPending(); ++t)
        tickOnce();
    ASSERT_TRUE(lastProgramming.done);
    EXPECT_EQ(lastProgramming.interfaceSerial, "QLV30001");
    EXPECT_EQ(programmedState("QLV30001", windowSettings()), ProgrammedState::AsProgrammed);
    EXPECT_EQ(programmedState("", windowSettings()), ProgrammedState::AsProgrammed);
    EXPECT_EQ(programmedState("QLV30002", windowSettings()), ProgrammedState::OtherInterface);
    ::accessCode.setText(L"ZZZZ");
    EXPECT_EQ(programmedState("QLV30001", windowSettings()), ProgrammedState::EditedSince);
    lastProgramming = ProgrammingRecord();
}

} // namespace
