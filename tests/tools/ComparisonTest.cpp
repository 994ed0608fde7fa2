// What the comparison lists, from a module on the simulator read into a test window: the
// window's side as "Programuj" would write it, the module's side as the module holds it.
#include "protocol/ProtocolFixture.h"

#include "CaseName.h"
#include "ProgrammedModule.h"
#include "model/Catalogue.h"
#include "protocol/Reading.h"
#include "tools/ModuleComparison.h"

#include <array>
#include <functional>
#include <ostream>

using namespace protocol_tests;

namespace {

// 48 hours, and 48 / 10 + 1.
constexpr std::array<std::uint8_t, 5> hours48{0x30, 0x00, 0x00, 0x05, 0x00};

struct Case {
    const char* name;
    std::function<void(qlvsim::Simulator&)> module;  // on top of a module programmed from a new window
    std::function<void()> window;                    // the user's edits after reading it
    const wchar_t* faults;
    const wchar_t* rows;  // setting, in the window, in the module
};

const Case cases[] = {
    {"OUT-2 unticked from input control switches off its timed control too",
     [](qlvsim::Simulator& s) { s.block(0)[15] = 0x34; },  // follows input 2, timed
     [] { ::out2ByInput.setChecked(false); },  // "czasowo [s]" keeps its tick, greyed
     L"",
     L"OUT-2 – sterowanie wejściem 2\tnie\ttak\r\n"
     L"OUT-2 – czasowo [s]\tnie\ttak\r\n"},
    {"user 1 limited in the module gets its rights back",
     [](qlvsim::Simulator& s) { harness::putUser(s.block(11), 0x00, hours48); },
     [] {},
     L"",
     L"Użytkownik 1 – UPRAWNIENIA CZAS. [h]\tnie\ttak\r\n"
     L"Użytkownik 1 – UPRAWNIENIA CZAS. [h] – liczba godzin\t24\t48\r\n"},
    {"user 1 bytes 23 and 24 alone differ",
     [](qlvsim::Simulator& s) { s.block(11)[21] = 0x03; s.block(11)[22] = 0x00; },
     [] {},
     L"",
     L"Użytkownik 1 – UPRAWNIENIA CZAS. [h] – bajty 20–24\tFF FF FF FF FF\tFF FF FF 03 00\r\n"},
    {"a switched-off input's name goes back to its default",
     [](qlvsim::Simulator& s) { harness::putText(s.block(2), "Brama"); },
     [] {},
     L"",
     L"IN-1 – nazwa\tINPUT-1\tBrama\r\n"},
    {"a right the settings do not allow is cleared",
     [](qlvsim::Simulator& s) { harness::putUser(s.block(12), 0x10, harness::noTimedRights); },  // PWR, with POWER off
     [] {},
     L"",
     L"Użytkownik 2 – PWR\tnie\ttak\r\n"},
    {"Polish letters folded are what the module holds",
     [](qlvsim::Simulator& s) {
         s.block(0)[8] = 0x0C;  // IN-1 on
         harness::putText(s.block(2), "Zolw");
     },
     [] { ::in1Name.setText(L"Żółw"); },
     L"",
     L""},
    {"with faults the window is compared as it stands",
     [](qlvsim::Simulator& s) {
         harness::putText(s.block(2), "Brama");
         harness::putUser(s.block(11), 0x00, hours48);
     },
     [] { ::accessCode.setText(L"ab12"); },
     L"Błędny kod dostępu.\r\n",
     // The hidden hours show what would be sent, not the window's copy of the module's.
     L"Kod dostępu\tab12\tWKTR\r\n"
     L"Użytkownik 1 – UPRAWNIENIA CZAS. [h]\tnie\ttak\r\n"
     L"Użytkownik 1 – UPRAWNIENIA CZAS. [h] – liczba godzin\t24\t48\r\n"},
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

std::wstring rowsText(const std::vector<kes::ComparisonRow>& rows)
{
    std::wstring text;
    for (const kes::ComparisonRow& r : rows)
        text += r.setting + L'\t' + r.inWindow + L'\t' + r.inModule + L"\r\n";
    return text;
}

class Comparison : public ProtocolTest, public ::testing::WithParamInterface<Case> {};

TEST_P(Comparison, ListsItAndLeavesTheWindowAsItWas)
{
    harness::programNewWindow(h.sim);
    GetParam().module(h.sim);
    ASSERT_TRUE(connect());
    ASSERT_TRUE(kes::readConfiguration(dialog()));
    GetParam().window();
    const std::wstring before = window->settingsSnapshot();

    kes::ModuleImage module;
    ASSERT_TRUE(kes::readModuleImage(module));
    const kes::Comparison c = kes::compareWindowWith(module);

    EXPECT_EQ(c.faults, GetParam().faults);
    EXPECT_EQ(rowsText(c.rows), GetParam().rows);
    EXPECT_EQ(window->settingsSnapshot(), before);
    EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(WhatProgrammingWouldChange, Comparison, ::testing::ValuesIn(cases), casename::ByName());

} // namespace
