// The commissioning report's content, from a window and a module on the simulator.
#include "protocol/ProtocolFixture.h"

#include "model/Catalogue.h"
#include "model/SettingsView.h"
#include "protocol/SettingsBlocks.h"
#include "tools/ConfigurationReport.h"
#include "tools/ProgrammingRecord.h"

using namespace kes;
using namespace protocol_tests;

namespace {

bool has(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

class Report : public ProtocolTest {
protected:
    std::wstring make()
    {
        ReportFacts facts;
        facts.programVersion = L"1.0.0";
        facts.now = SYSTEMTIME{2024, 5, 3, 17, 9, 4, 0, 0};
        return configurationReport(facts, windowSettings());
    }
};

TEST(ReportText, EscapesEveryMarkupCharacter)
{
    EXPECT_EQ(escapeHtml(L"<b>&\"x\"'ł'"), L"&lt;b&gt;&amp;&quot;x&quot;&#39;ł&#39;");
}

TEST(ReportText, DefaultNameFromSerialAndDate)
{
    const SYSTEMTIME date{2024, 5, 3, 17, 9, 4, 0, 0};
    EXPECT_EQ(defaultReportName("QLV30001", date), L"raport-QLV30001-2024-05-17.html");
    EXPECT_EQ(defaultReportName("A/B:C", date), L"raport-ABC-2024-05-17.html");
    EXPECT_EQ(defaultReportName("", date), L"raport-2024-05-17.html");
}

TEST_F(Report, WithoutAModuleSaysSoAndStillListsTheSettings)
{
    lastProgramming = ProgrammingRecord();
    ::in1Name.setText(L"A<B & \"C\"");
    ::in1Enabled.setChecked(true);
    ::in1Wiring.setSelection(2);
    const std::wstring html = make();
    EXPECT_EQ(html.rfind(L"<!DOCTYPE html>\n<html lang=\"pl\">\n<head>\n<meta charset=\"utf-8\">\n", 0), 0u);
    EXPECT_TRUE(has(html, L"<tr><td>Data i godzina</td><td>2024-05-17 09:04</td></tr>\n"
                          L"<tr><td>Program</td><td>Quellmo PC 1.0.0</td></tr>\n"
                          L"<tr><td>Numer seryjny interfejsu QLV-3 USB</td><td>brak – interfejs nie był podłączony</td></tr>\n"));
    EXPECT_TRUE(has(html, L"<p class=\"note\">Żaden moduł nie odpowiadał – raport zawiera tylko ustawienia z okna programu.</p>"));
    EXPECT_TRUE(has(html, L"<tr class=\"group\"><th colspan=\"2\">IN-1</th></tr>\n"
                          L"<tr><td>IN-1</td><td>tak</td></tr>\n"
                          L"<tr><td>IN-1 – nazwa</td><td>A&lt;B &amp; &quot;C&quot;</td></tr>\n"
                          L"<tr><td>IN-1 – rodzaj wejścia</td><td>NC PLUS</td></tr>\n"
                          L"<tr><td>IN-1 – Pobudzenie [s]</td><td>1</td></tr>\n"));
    EXPECT_TRUE(has(html, L"<tr><td>Kod dostępu</td><td>WKTR</td></tr>"));
    EXPECT_TRUE(has(html, L"<tr><td>Użytkownik 1</td><td>nie</td><td>+1234567890</td><td>- - -</td>"
                          L"<td>nie</td><td>nie</td><td>nie</td><td>nie</td><td>nie</td><td>nie</td><td>—</td></tr>"));
    EXPECT_TRUE(has(html, L"Od uruchomienia programu nie zaprogramowano żadnego modułu"));
    EXPECT_FALSE(has(html, L"A<B"));
}

TEST_F(Report, WithAnAnsweringModuleAfterProgramming)
{
    lastProgramming = ProgrammingRecord();
    h.sim.status().text = "Dom & <B>";
    ASSERT_TRUE(connect());
    ASSERT_EQ(pollStatus(), PollResult::Good);
    ::userActive[1].setChecked(true);
    ::userTimedRights[1].setChecked(true);
    ::userRightsHours[1].setText(L"48");
    noteProgrammingSucceeded(imageOf(windowSettings()));
    lastProgramming.when = SYSTEMTIME{2024, 5, 3, 17, 8, 30, 0, 0};

    std::wstring html = make();
    EXPECT_TRUE(has(html, L"<td>Numer seryjny interfejsu QLV-3 USB</td><td>QLV30001</td>"));
    EXPECT_TRUE(has(html, L"<tr><td>Moduł</td><td>Dom &amp; &lt;B&gt;</td></tr>\n"
                          L"<tr><td>Operator</td><td>Plus</td></tr>\n"
                          L"<tr><td>Poziom sygnału</td><td>64 %</td></tr>\n"
                          L"<tr><td>Zasilanie</td><td>13 V</td></tr>\n"
                          L"<tr><td>Temperatura [C]</td><td>22</td></tr>\n"
                          L"<tr><td>IN-1</td><td>wyłączone</td></tr>\n"));
    EXPECT_TRUE(has(html, L"<tr><td>Użytkownik 2</td><td>tak</td>"));
    EXPECT_TRUE(has(html, L"<td>48</td></tr>"));
    EXPECT_TRUE(has(html, L"zapisane w module i sprawdzone jego odczytem przez programowanie zakończone powodzeniem 2024-05-17 08:30 "
                          L"(interfejs QLV30001); od tego czasu nie zmieniono ich w oknie."));

    ::accessCode.setText(L"ABCD");
    html = make();
    EXPECT_TRUE(has(html, L"Ostatnie udane programowanie: 2024-05-17 08:30 (interfejs QLV30001). Od tego czasu "
                          L"ustawienia w oknie zmieniono"));
    lastProgramming = ProgrammingRecord();
}

TEST_F(Report, AfterAMissedPollShowsTheLastGoodStatusAndWhenItCame)
{
    h.sim.status().text = "Garaz";
    h.sim.status().temperature = -12;
    ASSERT_TRUE(connect());
    SYSTEMTIME before{}, after{};
    GetLocalTime(&before);
    ASSERT_EQ(pollStatus(), PollResult::Good);
    GetLocalTime(&after);
    h.sim.faults().silentPolls = 1;
    ASSERT_EQ(pollStatus(), PollResult::NoReply);
    ASSERT_TRUE(usbLink.responding) << "one missed reply: the module still counts as answering";

    const std::wstring html = make();
    auto receivedRow = [](const SYSTEMTIME& t) {
        wchar_t text[96] = {};
        swprintf(text, 96, L"<tr><td>Odebrano z modułu</td><td>%04u-%02u-%02u %02u:%02u:%02u</td></tr>\n", t.wYear,
                 t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
        return std::wstring(text);
    };
    const std::wstring values = L"<tr><td>Moduł</td><td>Garaz</td></tr>\n"
                                L"<tr><td>Operator</td><td>Plus</td></tr>\n"
                                L"<tr><td>Poziom sygnału</td><td>64 %</td></tr>\n"
                                L"<tr><td>Zasilanie</td><td>13 V</td></tr>\n"
                                L"<tr><td>Temperatura [C]</td><td>-12</td></tr>\n";
    EXPECT_TRUE(has(html, receivedRow(before) + values) || has(html, receivedRow(after) + values)) << html;
}

} // namespace
