#include "tools/ConfigurationReport.h"

#include "link/UsbLink.h"
#include "protocol/ModuleText.h"
#include "tools/ModuleArchive.h"
#include "tools/ProgrammingRecord.h"
#include "tools/SettingLabels.h"
#include "protocol/StatusMessages.h"
#include "protocol/Supervision.h"

#include <cwchar>
#include <optional>
#include <vector>

namespace kes {
namespace {

constexpr wchar_t style[] =
    L"@page{size:A4;margin:14mm}"
    L"body{font-family:Arial,Helvetica,sans-serif;font-size:9pt;color:#000;margin:0}"
    L"h1{font-size:14pt;margin:0 0 4pt}h2{font-size:11pt;margin:10pt 0 3pt;page-break-after:avoid}"
    L"table{border-collapse:collapse;width:100%;page-break-inside:auto}"
    L"td,th{border:1px solid #999;padding:1.5pt 4pt;text-align:left;vertical-align:top}"
    L"th{background:#e8e8e8}tr{page-break-inside:avoid}"
    L".facts td:first-child,.settings td:first-child{width:45%}"
    L".group th{background:#d0dcea}.users td,.users th{text-align:center}"
    L".users td:first-child,.users td:nth-child(3){text-align:left}"
    L".note{margin:4pt 0}";

std::wstring dateText(const SYSTEMTIME& t)
{
    wchar_t text[16] = {};
    swprintf(text, 16, L"%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
    return text;
}

std::wstring dateTimeText(const SYSTEMTIME& t)
{
    wchar_t text[8] = {};
    swprintf(text, 8, L"%02u:%02u", t.wHour, t.wMinute);
    return dateText(t) + L" " + text;
}

std::wstring dateTimeSecondsText(const SYSTEMTIME& t)
{
    wchar_t text[4] = {};
    swprintf(text, 4, L":%02u", t.wSecond);
    return dateTimeText(t) + text;
}

void row(std::wstring& html, const std::wstring& label, const std::wstring& value)
{
    html += L"<tr><td>" + escapeHtml(label) + L"</td><td>" + escapeHtml(value) + L"</td></tr>\n";
}

std::wstring onOff(bool on) { return on ? L"załączone" : L"wyłączone"; }

void statusSection(std::wstring& html)
{
    html += L"<h2>Stan modułu</h2>\n";
    const UsbLink& link = usbLink;
    // A missed poll empties the link's module text and temperature: the last good reply is shown.
    const std::optional<ReceivedStatus>& last = supervision.lastGoodStatus;
    if (!link.isOpen() || !link.responding || !last) {
        html += L"<p class=\"note\">Żaden moduł nie odpowiadał – raport zawiera tylko ustawienia z okna programu.</p>\n";
        return;
    }
    const StatusReply& status = last->values;
    html += L"<table class=\"facts\">\n";
    row(html, L"Odebrano z modułu", dateTimeSecondsText(last->at));
    row(html, L"Moduł", widenText(status.moduleText));
    row(html, L"Operator", widenText(status.operatorName));
    row(html, L"Poziom sygnału", signalText(status.signalLevel));
    row(html, L"Zasilanie", voltageText(status.supplyVolts));
    row(html, L"Temperatura [C]", temperatureText(status.temperature));
    row(html, L"IN-1", onOff(status.in1State));
    row(html, L"IN-2", onOff(status.in2State));
    row(html, L"OUT-1", onOff(status.out1State));
    row(html, L"OUT-2", onOff(status.out2State));
    html += L"</table>\n";
}

void programmingSection(std::wstring& html, const std::string& openSerial, const Settings& shown)
{
    html += L"<h2>Zgodność z modułem</h2>\n<p class=\"note\">";
    const ProgrammingRecord& last = lastProgramming;
    const std::wstring when = dateTimeText(last.when);
    const std::wstring through = escapeHtml(widenText(last.interfaceSerial));
    const ProgrammedState state = programmedState(openSerial, shown);
    switch (state) {
    case ProgrammedState::Never:
        html += L"Od uruchomienia programu nie zaprogramowano żadnego modułu – raport nie potwierdza, "
                L"że te ustawienia są zapisane w module.";
        break;
    case ProgrammedState::OtherModule:
        html += L"Ostatnie udane programowanie (" + when + L", interfejs " + through +
                L") zapisało inny moduł niż ostatnio odczytany – raport nie potwierdza, że te ustawienia są "
                L"zapisane w module.";
        break;
    case ProgrammedState::OtherInterface:
        html += L"Ostatnie udane programowanie (" + when + L") odbyło się przez inny interfejs (" + through +
                L") – tego modułu od uruchomienia programu nie programowano.";
        break;
    case ProgrammedState::EditedSince:
        html += L"Ostatnie udane programowanie: " + when + L" (interfejs " + through +
                L"). Od tego czasu ustawienia w oknie zmieniono – raport <strong>nie</strong> odpowiada "
                L"zawartości modułu.";
        break;
    case ProgrammedState::AsProgrammed:
        html += L"Ustawienia z raportu zostały zapisane w module i sprawdzone jego odczytem przez programowanie "
                L"zakończone powodzeniem " +
                when + L" (interfejs " + through + L"); od tego czasu nie zmieniono ich w oknie.";
        break;
    }
    html += L"</p>\n";
    const std::wstring entry = moduleArchive().programmingEntry();
    if (state != ProgrammedState::Never && !entry.empty())
        html += L"<p class=\"note\">Wpis w archiwum modułów: " + escapeHtml(entry) + L"</p>\n";
}

void settingsSection(std::wstring& html, const Settings& shown)
{
    html += L"<h2>Ustawienia</h2>\n<table class=\"settings\">\n";
    std::wstring group;
    for (const SettingLabel& setting : generalSettingLabels(shown)) {
        if (setting.group != group) {
            group = setting.group;
            html += L"<tr class=\"group\"><th colspan=\"2\">" + escapeHtml(group) + L"</th></tr>\n";
        }
        row(html, setting.label, setting.value);
    }
    html += L"</table>\n";

    html += L"<h2>Użytkownicy</h2>\n<table class=\"users\">\n<tr>";
    for (const std::wstring& heading : userColumnHeadings())
        html += L"<th>" + escapeHtml(heading) + L"</th>";
    html += L"</tr>\n";
    for (const auto& cells : userRows(shown)) {
        html += L"<tr>";
        for (const std::wstring& cell : cells)
            html += L"<td>" + escapeHtml(cell) + L"</td>";
        html += L"</tr>\n";
    }
    html += L"</table>\n";
}

} // namespace

std::wstring escapeHtml(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'&': out += L"&amp;"; break;
        case L'<': out += L"&lt;"; break;
        case L'>': out += L"&gt;"; break;
        case L'"': out += L"&quot;"; break;
        case L'\'': out += L"&#39;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::wstring configurationReport(const ReportFacts& facts, const Settings& shown)
{
    const std::string openSerial = usbLink.isOpen() ? usbLink.serialNumber : std::string();
    std::wstring html = L"<!DOCTYPE html>\n<html lang=\"pl\">\n<head>\n<meta charset=\"utf-8\">\n"
                        L"<title>Raport konfiguracji modułu Quellmo</title>\n<style>";
    html += style;
    html += L"</style>\n</head>\n<body>\n<h1>Raport konfiguracji modułu Quellmo</h1>\n<table class=\"facts\">\n";
    row(html, L"Data i godzina", dateTimeText(facts.now));
    row(html, L"Program", L"Quellmo PC " + facts.programVersion);
    row(html, L"Numer seryjny interfejsu QLV-3 USB",
        openSerial.empty() ? std::wstring(L"brak – interfejs nie był podłączony") : widenText(openSerial));
    html += L"</table>\n";
    statusSection(html);
    programmingSection(html, openSerial, shown);
    settingsSection(html, shown);
    html += L"</body>\n</html>\n";
    return html;
}

std::wstring defaultReportName(const std::string& interfaceSerial, const SYSTEMTIME& date)
{
    std::wstring serial;
    for (wchar_t c : widenText(interfaceSerial))
        if (c > 0x20 && !std::wcschr(L"\\/:*?\"<>|", c))
            serial += c;
    return L"raport-" + (serial.empty() ? std::wstring() : serial + L"-") + dateText(date) + L".html";
}

} // namespace kes
